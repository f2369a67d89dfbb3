// Point shapefiles: the three parts of the input are the .shp, .shx and .dbf.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(shapefile,
                     {"Shapeline:ImportarPuntosDeShapeline", {"SHP", "OUT"}})
