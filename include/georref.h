/* Georref: coordinate systems (PROJ) and map formats (GDAL/OGR); see README.md. Every export
 * takes zero-terminated 8-bit paths and returns a 32-bit result: 1 (or a count) when the
 * target was written, 0 when not, with the reason sent to the message hook. The systems are
 * EPSG codes ("EPSG:25830"), PROJ strings or WKT; coordinates are always easting, northing
 * (longitude, latitude) whatever axis order the system's definition gives. */
#ifndef GEORREF_H
#define GEORREF_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GEORREF_API __attribute__((visibility("default")))

/* Receives the messages the library must show in the middle of a conversion. */
typedef void (*GeorrefMessageHook)(const char* caption, const char* text);

/* Installs the message hook; NULL restores the default, which prints "caption: text" to
 * standard error. */
GEORREF_API void Georref_SetMessageHook(GeorrefMessageHook hook);

/* The systems of the conversions that follow in this process: origen, the system of the
 * sources (empty: the one the source names, else none), destino, the system of the targets
 * (empty: no transformation; a GeoJSON or KML target is always WGS84), and aproximada not 0
 * to accept a ballpark operation (no known datum change, or heights left unchanged for want
 * of the geoid grid). 1 when every system given is one PROJ knows; 0 otherwise. */
GEORREF_API int32_t Georref_Sistemas(const char* origen, const char* destino, int32_t aproximada);

/* Native point file salida from the native point file entrada, every point transformed from
 * the source system to the target system with the operation PROJ gives as the best one
 * available for the points' area, which is named with its accuracy through the message hook
 * (with the grid of a better operation when it is missing). Salida may be entrada. 1 on
 * success; 0 on failure (a system missing or unknown, a ballpark operation refused, a point
 * outside the operation's area). */
GEORREF_API int32_t Georref_Puntos_Transforma(const char* entrada, const char* salida);

/* The same for the native surface file (*.sup): its points transformed, its triangles kept. */
GEORREF_API int32_t Georref_Sup_Transforma(const char* entrada, const char* salida);

/* A map salida (GeoJSON *.geojson, KML *.kml, KMZ *.kmz or GeoPackage *.gpkg, by its
 * extension) of the native point file entrada: each point with its number and code (KML: the
 * number as the placemark's name, the code as its description; GeoPackage: PointZ with the
 * fields numero and codigo). */
GEORREF_API int32_t Georref_Puntos_Mapa(const char* entrada, const char* salida);

/* A map of the native surface file entrada: its outline and its triangles. */
GEORREF_API int32_t Georref_Sup_Mapa(const char* entrada, const char* salida);

/* A map of the native alignment file entrada: the alignment densified in its own plane (no
 * chord more than 1 cm from the curve) and then transformed, with its station marks every
 * 100 m (GeoPackage: LineStringZM with the station as M). Arcs and clothoids are never
 * transformed element by element: they do not stay arcs and clothoids in another projection. */
GEORREF_API int32_t Georref_Eje_Mapa(const char* entrada, const char* salida);

/* The map of Georref_Eje_Mapa with heights: every vertex of the line and every station mark
 * at the elevation of the native profile rasante (*.ras) at its station, on its vertical
 * curves (GeoJSON and KML: 3D lines and marks; GeoPackage: the line's Z, the marks PointZ).
 * The elevations are the profile's as they are (no change of vertical system). 1 on success;
 * 0 when the profile does not cover every station of the alignment (no height is made up beyond
 * its ends: the reason names both ranges), or its stations do not run forwards. */
GEORREF_API int32_t Georref_Eje_Rasante_Mapa(const char* entrada, const char* rasante, const char* salida);

/* A GeoPackage salida (*.gpkg) of the native profile entrada: the table "rasante" (pk, cota, kv,
 * tangente, externa), one row per vertex. */
GEORREF_API int32_t Georref_Rasante_Mapa(const char* entrada, const char* salida);

/* A GeoPackage salida (*.gpkg) of the native cross sections entrada: the table "transversales"
 * (pk, desplazamiento, cota), one row per point. */
GEORREF_API int32_t Georref_Transver_Mapa(const char* entrada, const char* salida);

/* The .prj beside the shapefile salida (*.shp): the target system of Georref_Sistemas as ESRI
 * WKT, so that GIS programs place the points the conversion moved. 1 when written; 0 when no
 * target system is set or it cannot be written. */
GEORREF_API int32_t Georref_Prj(const char* salida);

/* The target system of Georref_Sistemas named in the LandXML document salida (*.xml) a
 * conversion wrote with coordinates in that system: its CoordinateSystem element (epsgCode when
 * the system is an EPSG code or PROJ finds it equivalent to one, ogcWktCode with PROJ's WKT,
 * name), put in place of the one the document has, else after its Project and Units and before
 * its data; every other byte of the document is kept. The document is written anew beside
 * itself and renamed into place. 1 when written; 0 when no target system is set, salida is not
 * a well-formed LandXML document or cannot be written, salida then left as it was. */
GEORREF_API int32_t Georref_LandXml_Sistema(const char* salida);

/* The last operation used, "ED50 to ETRS89 (7), 1,5 m", into texto (at least 1024 bytes);
 * empty when none. 1 when there is one. */
GEORREF_API int32_t Georref_Operacion(char* texto);

#ifdef __cplusplus
}
#endif

#endif /* GEORREF_H */
