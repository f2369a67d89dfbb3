/* Viaducto: road-geometry conversions (alignments, profiles, cross sections, LandXML, survey
 * records). Every export takes zero-terminated 8-bit paths and returns a 32-bit result:
 * 1 (or a count) when the target was written, 0 when not, unless its comment says otherwise.
 * Numbers are always read and written with "." as the decimal point. */
#ifndef VIADUCTO_H
#define VIADUCTO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VIADUCTO_API __attribute__((visibility("default")))

/* Receives the messages the library must show in the middle of a conversion. */
typedef void (*ViaductoMessageHook)(const char* caption, const char* text);

/* Installs the message hook; NULL restores the default, which prints "caption: text" to
 * standard error. */
VIADUCTO_API void Viaducto_SetMessageHook(ViaductoMessageHook hook);

/* "Returns the reverse of a given string." Copies a fixed five-letter marker word into
 * sMyString (at least six bytes) and writes the same word to <tempdir>/prueba.$$$. */
VIADUCTO_API void MyDll_ReverseString(char* sMyString);

/* "Conversion de Ejes de zemta a gts". Native alignment to GTS road file: the element form
 * when the limit in <pathAp>/jalonex.ini is at least the line count of entrada, else the
 * intersection-point form. Always 1. */
VIADUCTO_API int32_t MyDll_azemta2gts(const char* entrada, const char* salida, const char* pathAp);

/* "Conversion de Ejes de zemta a gts, para las conversiones de WCE". Native alignment to the
 * intersection-point form of the GTS road file. Always 1. */
VIADUCTO_API int32_t MyDll_azemta2gtsWCE(const char* entrada, const char* salida);

/* "Conversion de Rasantes de Terrex a gts". Native profile (*.ras) to the GTS road file's
 * comma layout; a file that begins with "#" is read as an Ispol listing. 1 when written; 0
 * when the input cannot be read or holds no vertex. */
VIADUCTO_API int32_t MyDll_rterrex2gts(const char* entrada, const char* salida);

/* "Conversion de Rasantes de Istram a gts". Istram profile listing to the GTS comma layout.
 * 1 when written; 0 when the input cannot be read or holds no vertex. */
VIADUCTO_API int32_t MyDll_ristram2gts(const char* entrada, const char* salida);

/* "Conversion de Rasantes de Ispol a gts". Ispol profile listing to the GTS comma layout.
 * 1 when written; 0 when the input cannot be read or holds no vertex. */
VIADUCTO_API int32_t MyDll_rispol2gts(const char* entrada, const char* salida);

/* "Conversion de Rasantes de Zemta a Standard Survey". GTS comma layout to the native profile
 * (tab layout). 1 when written; 0 when the input cannot be read or the target written. */
VIADUCTO_API int32_t MyDll_raszemta2gts(const char* entrada, const char* salida);

/* Cartomap profile text with INICIO, VERTICE and FINAL lines to the native profile
 * (fixed-width layout). 1 when written; 0 when the input cannot be read. */
VIADUCTO_API int32_t MyDll_rascartomap2zemta(const char* entrada, const char* salida);

/* "Conversion Puntos Terrex a Shapeline". Kept for callers; touches no file, returns 0. */
VIADUCTO_API int32_t MyDll_terrex2shapeline(const char* entrada, const char* salida);

/* "Conversion Puntos Shapeline a Terrex". Kept for callers; touches no file, returns 0. */
VIADUCTO_API int32_t MyDll_shapeline2terrex(const char* entrada, const char* salida);

/* "Conversion de Peraltes de Ispol a Zemta". Ispol superelevation table (a header line, then
 * index, station and falls) to the native superelevation file (*.per). 1 when written; 0 when
 * the table cannot be read or the target cannot be created. */
VIADUCTO_API int32_t MyDll_peralteispol2gts(const char* entrada, const char* salida);

/* "Conversion de Peraltes de Clip a Zemta". Clip superelevation table (station and one or two
 * falls) to the native superelevation file (*.per). 1 when written; 0 when the table cannot be
 * read or the target cannot be created. */
VIADUCTO_API int32_t MyDll_peralteClip2gts(const char* entrada, const char* salida);

/* "Procesamiento de Robotizada GTS-800". GTS-800 readings (lecturas) and the known coordinates
 * of the control points (puntos) to the monitoring report: known coordinates, the coordinates
 * of each complete series, means and spreads. The report is blank-separated when salida
 * contains "temp", else in columns. trabajo to hora are printed in its header ("-" when
 * empty); they are read only: the date and time of the readings are not handed back (see
 * MyDll_procesaCabecera). 1 when written; 0 when a file cannot be read or the report cannot
 * be created. */
VIADUCTO_API int32_t MyDll_procesaRobotizada(const char* lecturas, const char* puntos, const char* salida,
                                             const char* trabajo, const char* operario,
                                             const char* descripcion, const char* temperatura,
                                             const char* fecha, const char* hora);

/* "Procesamiento cabecera  de Robotizada GTS-800". Writes the job, date and time of the
 * readings to salida, one per line. 1 when written; 0 when the readings cannot be read or the
 * target cannot be created. */
VIADUCTO_API int32_t MyDll_procesaCabecera(const char* lecturas, const char* salida);

/* "Conversion de Levantamiento LEA (Terrex) a Topcal". Native survey (*.lea) to the Topcal
 * observation file, with the point codes in a file beside it ending in ".cod". 1 when at least
 * one observation was written, else 0. */
VIADUCTO_API int32_t MyDll_topoLea2Topcal(const char* entrada, const char* salida);

/* "Conversion de Levantamiento LEA (Terrex) a Topcal código". Native survey (*.lea) to the
 * Topcal observation file with the code on each line. 1 when at least one observation was
 * written, else 0. */
VIADUCTO_API int32_t MyDll_topoLea2TopcalCod(const char* entrada, const char* salida);

/* "Conversion de TOPCALCOD". Comma- or blank-separated observation list to the Topcal
 * observation file with codes, wide columns. 1 when written; 0 when the list cannot be read
 * or the target cannot be created. */
VIADUCTO_API int32_t MyDll_lectgts2topcal(const char* entrada, const char* salida);

/* "Conversion de NIVEL DL100 A FORMATO IGN". DL-100 level records to the IGN levelling book.
 * 1 when written; 21 when entrada cannot be read; 0 when two or fewer records were accepted
 * or the book cannot be created. */
VIADUCTO_API int32_t MyDll_anivel2ing(const char* entrada, const char* salida, const char* empresa,
                                      const char* operador, const char* mira1, const char* mira2,
                                      const char* nserie);

/* "Conversion de Puntos de formato del Nivel". Point list (name, x, y, z, code) to records the
 * DL-100 level loads. 1 when written; 0 when the list cannot be read or the target cannot be
 * created. */
VIADUCTO_API int32_t MyDll_puntos2nivel(const char* entrada, const char* salida);

#ifdef __cplusplus
}
#endif

#endif /* VIADUCTO_H */
