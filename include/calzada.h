/* Calzada: see README.md for what the library converts. Every export takes zero-terminated 8-bit
 * paths and returns a 32-bit result: 1 (or a count) when the target was written, 0 when not. */
#ifndef CALZADA_H
#define CALZADA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define CALZADA_API __attribute__((visibility("default")))

/* Receives the messages the library must show in the middle of a conversion. */
typedef void (*CalzadaMessageHook)(const char* caption, const char* text);

/* Installs the message hook; NULL restores the default, which prints
 * "caption: text" to standard error. */
CALZADA_API void Calzada_SetMessageHook(CalzadaMessageHook hook);

/* Alignments (every conversion takes the source path `entrada` and the target path `salida`;
 * 1 when the target was written, 0 when not). */

/* "Conversion de Ejes de CLIP PLT a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_ClipPlt(const char* entrada, const char* salida);
/* "Conversion de Ejes de Zemta a CLIP PLT" */
CALZADA_API int32_t Calzada_Eje_Exporta_ClipPlt(const char* entrada, const char* salida);
/* "Conversion de Ejes de Inroads a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_Inroads(const char* entrada, const char* salida);
/* "Conversion de Ejes de Ispol a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_Ispol(const char* entrada, const char* salida);
/* "Conversion de Ejes de PL-ROAD a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_Plroad(const char* entrada, const char* salida);
/* "Conversion de Ejes de MXROAD a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_Mxroad(const char* entrada, const char* salida);
/* "Conversion de Ejes de Dragados MDW a Zemta" */
CALZADA_API int32_t Calzada_Eje_Importa_Dragados(const char* entrada, const char* salida);
/* "Conversion de Ejes de Asotec" */
CALZADA_API int32_t Calzada_Eje_Importa_Asotec(const char* entrada, const char* salida);
/* "Conversion de Ejes de WTrazado" */
CALZADA_API int32_t Calzada_Eje_Importa_WTrazado(const char* entrada, const char* salida);

/* Profiles. The help texts of the two Ispol profile conversions have always stood crossed over
 * (the importer's names Zemta to Ispol, the exporter's Ispol to Zemta); they are kept so. */

/* "Conversion de Rasantes de Inroads a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_Inroads(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Clip a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_Clip(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Clip (tan=Terrex) a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_ClipTanSimple(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Zemta a Clip" */
CALZADA_API int32_t Calzada_Rasante_Exporta_Clip(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Zemta a  Ispol" */
CALZADA_API int32_t Calzada_Rasante_Importa_Ispol(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Ispol a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Exporta_Ispol(const char* entrada, const char* salida);
/* "Conversion de Rasantes de MxRoad a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_Mxroad(const char* entrada, const char* salida);
/* "Conversion de Rasantes de Dragados MDW a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_DragadosMDW(const char* entrada, const char* salida);
/* "Conversion de Rasantes de WTRAZADO a Zemta" */
CALZADA_API int32_t Calzada_Rasante_Importa_Wtrazado(const char* entrada, const char* salida);

/* Cross sections. The native file (*.tra) holds one point per line: station, offset (negative
 * to the left), elevation and code. Most importers finish their target with the axis-point pass
 * of Calzada_TransverInterpolaCota. */

/* "Conversion de Transversales de CLIP TRV a Terrex"
 * Points of one section closer than 1 mm are set 1 mm apart. 0 when entrada cannot be read,
 * is shorter than two lines or holds no point. */
CALZADA_API int32_t Calzada_Transver_Importa_Cliptrv(const char* entrada, const char* salida);
/* "Conversion de Transversales de Terrex a CLIP TRV"
 * A section whose codes repeat gets the side codes SI01 and SD01. 0 when entrada holds no
 * point. */
CALZADA_API int32_t Calzada_Transver_Exporta_Cliptrv(const char* entrada, const char* salida);
/* "Conversion de Transversales de ISPOL a Zemta"
 * Writes two files, salida with "Sub" (subgrade) and with "Firme" (pavement) appended to its
 * name, and reports both through the message hook. */
CALZADA_API int32_t Calzada_Transver_Importa_Ispol(const char* entrada, const char* salida);
/* "Conversion de Transversales de MxRoad a Zemta"
 * 0 when neither layout of the listing gives a point. */
CALZADA_API int32_t Calzada_Transver_Importa_Mxroad(const char* entrada, const char* salida);
/* "Conversion de Transversales de Inroads a Zemta" */
CALZADA_API int32_t Calzada_Transver_Importa_InRoadsTXT(const char* entrada, const char* salida);
/* "Conversion de Transversales de dragados MDW a Zemta"
 * 0 when entrada holds no point. */
CALZADA_API int32_t Calzada_Transver_Importa_DRAGADOSMDW(const char* entrada, const char* salida);
/* "Conversion de Transversales de Clip de Seccion (Plataforma) a Zemta" */
CALZADA_API int32_t Calzada_Transver_ClipSeccionPlat(const char* entrada, const char* salida);
/* "Conversion de Transversales de Clip de Seccion (Subrasante) a Zemta" */
CALZADA_API int32_t Calzada_Transver_ClipSeccionSubras(const char* entrada, const char* salida);
/* "Conversion de Transversales de inroads a gts"
 * Reads the InRoads section report and writes a native cross-section file. */
CALZADA_API int32_t Calzada_inroads2gts(const char* entrada, const char* salida);
/* "Interpola cota de eje Zemta"
 * Inserts in each section the axis point (offset 0, elevation interpolated, code "0") between
 * a point left of the axis and the next point right of it. entrada is read whole before
 * salida is written, so both may name one file. 0 when entrada holds no point. */
CALZADA_API int32_t Calzada_TransverInterpolaCota(const char* entrada, const char* salida);

/* Field book, TopSurv, scanner and DXF points. */

/* "Conversion de toma de puntos de transversales de libreta a ClipTER"
 * puntra: native point file whose codes carry the section station after "_" ("T_120"); eje:
 * native alignment on which each point's offset is measured; salida: Clip TER file. 0 when
 * either input gives no record or no point lies on the alignment. */
CALZADA_API int32_t Calzada_Transver_Libreta2ClipTer(const char* puntra, const char* eje, const char* salida);
/* "Conversion de Puntos de Topsurv"
 * entrada: TopSurv job database (Access/Jet); salida: native point file of the points of the
 * LOCAL datasets. Returns the number of points written; a database that cannot be read is
 * reported through the message hook with caption "Calzada::ADO". */
CALZADA_API int32_t Calzada_Puntos_Importa_Topsurv(const char* entrada, const char* salida);
/* "Conversion de Transversales de Zemta A TOPSURV"
 * Each point as its horizontal and vertical step from the previous point on its side of the
 * axis ("-I" left, "-D" right). 0 when entrada holds no point. */
CALZADA_API int32_t Calzada_Trazemta2Topsurv(const char* entrada, const char* salida);
/* "Conversion de Puntos de Sacyr Scanner"
 * Numbers the points of a scanner listing (x y z and three integers) into a comma-separated
 * listing; read and written in a stream, whatever the size. 0 when entrada cannot be read or
 * salida cannot be written. */
CALZADA_API int32_t Calzada_SacyrScanner(const char* entrada, const char* salida);
/* Native point file to DXF: each point as a POINT on layer "PUNTOS" with its elevation (layer
 * "Z") and number (layer "N") as texts beside it. The desktop program's export of the same name
 * is Planimetro's. 0 when entrada cannot be read or salida cannot be written. */
CALZADA_API int32_t Calzada_Puntos_Exporta_Dxf(const char* entrada, const char* salida);

#ifdef __cplusplus
}
#endif

#endif /* CALZADA_H */
