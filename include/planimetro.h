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

#ifdef __cplusplus
}
#endif

#endif /* PLANIMETRO_H */
