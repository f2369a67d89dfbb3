/* Planimetro: see README.md for what the library converts. Every export takes zero-terminated 8-bit
 * paths and returns a 32-bit result: 1 (or a count) when the target was written, 0 when not. */
#ifndef PLANIMETRO_H
#define PLANIMETRO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PLANIMETRO_API __attribute__((visibility("default")))

/* Receives the messages the library must show in the middle of a conversion. */
typedef void (*PlanimetroMessageHook)(const char* caption, const char* text);

/* Installs the message hook; NULL restores the default, which prints
 * "caption: text" to standard error. */
PLANIMETRO_API void Planimetro_SetMessageHook(PlanimetroMessageHook hook);

/* Lists the layers of the drawing ficheroDXF (ASCII DXF) into ficheroCapas, one name per line
 * in the order of the layer table, and keeps ficheroDXF as the current drawing for
 * Calzada_creaFicheroLineas. Returns the number of layers (0, with an empty list, when the
 * drawing cannot be read or has no layer table). */
PLANIMETRO_API int32_t Calzada_getCapasDxf(const char* ficheroCapas, const char* ficheroDXF);

/* "Importa Puntos desde un DXF". Every POINT of the drawing entrada becomes a point of the
 * native point file salida, numbered from 1, without code. 1 when at least one point was
 * written, else 0. */
PLANIMETRO_API int32_t Calzada_Puntos_Importa_Dxf(const char* entrada, const char* salida);

/* "Conversion de Puntos a DXF". Each point of the native point file entrada becomes a POINT
 * on layer "<code>-PUNTOS" (or "PUNTOS-P") with texts of its elevation, number and code on
 * "<code>-Z", "<code>-N" and "<code>-CODIGOS" (or "PUNTOS-Z", "PUNTOS-N"). 1; 0 when entrada
 * cannot be read or salida cannot be written. */
PLANIMETRO_API int32_t Calzada_Puntos_Exporta_Dxf(const char* entrada, const char* salida);

/* "Importa Superficie". Every 3DFACE of layer entrada2 (letter case ignored) of the drawing
 * entrada that forms a triangle (a triangle repeats its third corner as the fourth) becomes a
 * triangle of the native surface file salida; corners closer than 0.001 in plan are merged.
 * Returns the number of triangles; 0 when the drawing cannot be read or has no face on the
 * layer. */
PLANIMETRO_API int32_t Calzada_Sup_Importa_Dxf(const char* entrada, const char* entrada2, const char* salida);

/* "Selecciona Superficie". Writes the name of every Surface of the LandXML file entrada to the
 * list file salida, one per line in document order. Returns the number of names (0, with an
 * empty list and the reason through the message hook, when the file cannot be read, is not
 * LandXML or holds no surface). */
PLANIMETRO_API int32_t Calzada_SupSel_LandXML(const char* entrada, const char* salida);

/* "Importa Sup de LandXML". The points (P, own coordinates or a CgPoint named by pntRef) and
 * faces (F) of every Surface named entrada2 (letter case ignored) of the LandXML file entrada
 * become the native surface file salida; the triangle file "$$$.TRI" of the temporary
 * directory is written with the same points and triangles and stays. Faces marked invisible
 * (i="1") and faces naming a point that does not exist are left out, and the message hook says
 * how many. Returns 1 when the surface file was written; 0 when the document cannot be read,
 * is not LandXML, has no such surface or no triangle, or the surface file cannot be written. */
PLANIMETRO_API int32_t Calzada_Sup_Importa_LandXML(const char* entrada, const char* entrada2, const char* salida);

/* "Importa Puntos de LandXML". Every CgPoint of the LandXML file entrada (northing, easting
 * and elevation from its text, or from the CgPoint its pntRef names) becomes a line of the
 * native point file salida: its number from its name when that is a whole number, else the
 * next number after the highest so far; its code (else its desc) kept. 1 when written; 0 when
 * entrada cannot be read, is not a LandXML document or holds no point. */
PLANIMETRO_API int32_t Planimetro_Puntos_Importa_LandXML(const char* entrada, const char* salida);

/* "Exporta Puntos a LandXML". Every point of the native point file entrada becomes a CgPoint
 * (name = its number, code = its code, text "northing easting elevation") of a CgPoints
 * element named after salida, in a LandXML document. 1 when written; 0 when entrada cannot be
 * read or holds no point. */
PLANIMETRO_API int32_t Planimetro_Puntos_Exporta_LandXML(const char* entrada, const char* salida);

/* "Conversion de DXF a lineas (capas)". Every vertex of the LWPOLYLINEs and POLYLINEs on the
 * layers listed in ficheroCapas (one per line) of the drawing last listed by
 * Calzada_getCapasDxf (ficheroDXF is not used) is projected on the native alignment ficheroEje
 * and written to ficheroLineas as "station offset x y z layer", stations gathered into cross
 * sections within 0.2 and sorted by station and offset. Returns 1. */
PLANIMETRO_API int32_t Calzada_creaFicheroLineas(const char* ficheroLineas, const char* ficheroDXF,
                                                 const char* ficheroCapas, const char* ficheroEje);

#ifdef __cplusplus
}
#endif

#endif /* PLANIMETRO_H */
