/* Shapeline: see README.md for what the library converts. Every export takes zero-terminated 8-bit
 * paths and returns a 32-bit result: 1 (or a count) when the target was written, 0 when not. */
#ifndef SHAPELINE_H
#define SHAPELINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SHAPELINE_API __attribute__((visibility("default")))

/* Receives the messages the library must show in the middle of a conversion. */
typedef void (*ShapelineMessageHook)(const char* caption, const char* text);

/* Installs the message hook; NULL restores the default, which is silent. */
SHAPELINE_API void Shapeline_SetMessageHook(ShapelineMessageHook hook);

/* Native point file salida from the shapefile entrada (*.shp) and its attribute table (the
 * path with extension DBF): one full point line per vertex of every shape, number from the
 * field "NUMERO", code from "CODIGO", elevation from the vertex for shapes with elevations
 * (PointZ and the other Z types), else from the field "Z". 1 on success; 0 on failure, with
 * the reason sent to the message hook. */
SHAPELINE_API int32_t ImportarPuntosDeShapeline(const char* entrada, const char* salida);

/* Point shapefile salida (*.shp, with its index and attribute table) from the native point
 * file entrada: one Point shape per point line and one record with "NUMERO", "Z" and
 * "CODIGO" (the rest of the line after z, cut to 25 characters). 1 on success; 0 on failure,
 * with the reason sent to the message hook. */
SHAPELINE_API int32_t ExportarPuntosToShapeline(const char* entrada, const char* salida);

#ifdef __cplusplus
}
#endif

#endif /* SHAPELINE_H */
