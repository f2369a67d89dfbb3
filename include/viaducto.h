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

/* "Conversion de Rasantes de CARTOMAP a Zemta". Cartomap tab-separated profile listing to the
 * native profile (blank layout). The number of vertices written; 0 when none was read or the
 * target cannot be written. */
VIADUCTO_API int32_t MyDll_rasantecartomap2terrex(const char* entrada, const char* salida);

/* "Conversion de Rasantes de Zemta a LandXML". Native profile to a LandXML profile whose
 * ProfAlign is named after salida. 1 when written; 0 when the input cannot be read or holds
 * no vertex. */
VIADUCTO_API int32_t MyDll_rterrex2landxml(const char* entrada, const char* salida);

/* "Conversion de Rasantes de ISTRAM a LandXML". Istram profile listing to a LandXML profile.
 * 1 when written; 0 when the input cannot be read or holds no vertex. */
VIADUCTO_API int32_t MyDll_ristram2landxml(const char* entrada, const char* salida);

/* "Conversion de Rasantes de ISPOL a LandXML". Ispol profile listing to a LandXML profile.
 * 1 when written; 0 when the input cannot be read or holds no vertex. */
VIADUCTO_API int32_t MyDll_rispol2landxml(const char* entrada, const char* salida);

/* "Selección de conversion de Rasantes de LandXML a gts". Writes "alignment: profile" for
 * every ProfAlign of entrada, one per line, to <tempdir>/$$$$.EJE. */
VIADUCTO_API void MyDll_seleccionaRasanteLandXML(const char* entrada);

/* "Conversion de Rasantes de LandXML a gts". The profile nombreRas ("alignment: profile", any
 * case) of entrada to the GTS column layout. 1 when written (no vertex lines when no profile
 * matches); 0 when entrada cannot be read. */
VIADUCTO_API int32_t MyDll_rlandxml2gts(const char* nombreRas, const char* entrada, const char* salida);

/* "Conversion de Rasantes de LandXML a Zemta". The profile nombreRas of entrada to the native
 * profile (fixed-width layout); the line-joined copy stays as <tempdir>/$$$.xml. 1 when
 * written; 0 when entrada cannot be read. */
VIADUCTO_API int32_t MyDll_rlandxml2gtsWCE(const char* nombreRas, const char* entrada, const char* salida);

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

/* ---- Alignments: IFC ---- */

/* "Exportar a IFC". Native alignment to an IFC file: one IfcAlignment with its horizontal
 * layout and, when rasante names a native profile (empty: none), its vertical layout; with crs
 * ("EPSG:25830"; empty: none) the projected coordinate system. 1 when written; 0 when a source
 * cannot be read or holds no alignment, crs is not "EPSG:" and a number, or the target cannot
 * be written. */
VIADUCTO_API int32_t MyDll_aterrex2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
/* Every alignment of a LandXML document, each with its first profile, to IFC (rasante is not
 * read: the document's profiles are). */
VIADUCTO_API int32_t MyDll_alandxml2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
/* The alignment listings of other programs to IFC, as MyDll_aterrex2ifc. */
VIADUCTO_API int32_t MyDll_aistram2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_aistramList2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_aispol2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_aclipplt2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_amxroad2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_ahtrazado2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_acartomap2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_amxroadElementos2ifc(const char* entrada, const char* salida, const char* rasante,
                                                const char* crs);
VIADUCTO_API int32_t MyDll_ainroads2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_adragados2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_awtrazado2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_aplroad2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);
VIADUCTO_API int32_t MyDll_aasotec2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs);

/* "Importar de IFC" (Ejes). Writes the name of every IfcAlignment of entrada to the selection
 * list <tempdir>/$$$$.EJE, one per line. 1 when some was listed. */
VIADUCTO_API int32_t MyDll_seleccionaEjeIfc(const char* entrada);
/* The alignment numbered selec (from 0) of the IFC file to the native alignment file. 1 when
 * written. pathAp is not read. */
VIADUCTO_API int32_t MyDll_aifc2terrex(int32_t selec, const char* entrada, const char* salida, const char* pathAp);
/* "Importar de IFC" (Rasantes). The names of the alignments that have a vertical layout, to the
 * selection list. 1 when some was listed. */
VIADUCTO_API int32_t MyDll_seleccionaRasanteIfc(const char* entrada);
/* The vertical layout of the alignment nombreEje (any case) to the native profile (fixed-width
 * layout). 1 when written; 0 when there is no such alignment or it has no vertical layout. */
VIADUCTO_API int32_t MyDll_rifc2terrex(const char* nombreEje, const char* entrada, const char* salida);
/* Every alignment of the IFC file, each with its profile, to one LandXML document. */
VIADUCTO_API int32_t MyDll_aifc2LandXML(const char* entrada, const char* salida);

/* ---- Alignments: LandXML and foreign listings ---- */

/* "Selección de conversion de Ejes de LandXML a gts". Writes the name of every Alignment of
 * entrada, one per line, to <tempdir>/$$$$.EJE for the selection dialog. Always 1. */
VIADUCTO_API int32_t MyDll_seleccionaEjeLandXML(const char* entrada);

/* "Conversion de Ejes de LandXML a Zemta". The alignment numbered selec (from 0) of entrada to
 * the native alignment file salida (the joined copy of entrada is left as <tempdir>/$$$.xml).
 * 1 when written; 0 when selec < 0, entrada cannot be read, or a clothoid starts on a finite
 * radius without an arc before it (salida is still written). pathAp is not used. */
VIADUCTO_API int32_t MyDll_alandxml2gtsWCE(int32_t selec, const char* entrada, const char* salida,
                                           const char* pathAp);

/* "Conversion de Ejes de LandXML a gts". As MyDll_alandxml2gtsWCE, then the native alignment
 * to the GTS road file salida as MyDll_azemta2gts does (only when the import gave 1). */
VIADUCTO_API int32_t MyDll_alandxml2gts(int32_t selec, const char* entrada, const char* salida,
                                        const char* pathAp);

/* "Conversion de Ejes de Terrex a LandXML". Native alignment to a LandXML document whose
 * Alignment is named after salida. 1 when written; 0 when entrada holds no record. */
VIADUCTO_API int32_t MyDll_aTerrex2LandXML(const char* entrada, const char* salida);

/* "Conversion de Ejes de Istram a LandXML". Istram fixed-column listing to LandXML. 1 when
 * written, else 0. The four below do the same for their listings. */
VIADUCTO_API int32_t MyDll_aistram2LandXML(const char* entrada, const char* salida);
/* "Conversion de Ejes de hTrazado a LandXML". */
VIADUCTO_API int32_t MyDll_ahtrazado2LandXML(const char* entrada, const char* salida);
/* "Conversion de Ejes de clip plt a LandXML". */
VIADUCTO_API int32_t MyDll_aclipplt2LandXML(const char* entrada, const char* salida);
/* "Conversion de Ejes de Istram Listado a LandXML". */
VIADUCTO_API int32_t MyDll_aistramList2LandXML(const char* entrada, const char* salida);
/* "Conversion de Ejes de Ispol a LandXML". */
VIADUCTO_API int32_t MyDll_aispol2LandXML(const char* entrada, const char* salida);

/* "Conversion de Ejes de Istram  a Terrex". Istram fixed-column listing to the native
 * alignment file. 1 when written, else 0. */
VIADUCTO_API int32_t MyDll_aistram2zemta(const char* entrada, const char* salida);

/* "Conversion de Ejes de ispol a gts". Istram fixed-column listing to the GTS road file (form
 * chosen by <pathAp>/jalonex.ini as in MyDll_azemta2gts). 1 when written, else 0. The GTS
 * conversions below do the same for their listings. */
VIADUCTO_API int32_t MyDll_aistram2gts(const char* entrada, const char* salida, const char* pathAp);
/* "Conversion de Ejes de Istram Listado a gts". */
VIADUCTO_API int32_t MyDll_aistramList2gts(const char* entrada, const char* salida, const char* pathAp);
/* "Conversion de Ejes de Ispol a gts". */
VIADUCTO_API int32_t MyDll_aispol2gts(const char* entrada, const char* salida, const char* pathAp);
/* "Conversion de Ejes de clip plt a gts". */
VIADUCTO_API int32_t MyDll_aclipplt2gts(const char* entrada, const char* salida, const char* pathAp);
/* "Conversion de Ejes de mxroad a gts". */
VIADUCTO_API int32_t MyDll_amxroad2gts(const char* entrada, const char* salida, const char* pathAp);
/* "Conversion de Ejes de htrazado a gts". */
VIADUCTO_API int32_t MyDll_ahtrazado2gts(const char* entrada, const char* salida, const char* pathAp);

/* "Conversion de Ejes de CLIP PLT A Zemta". Clip PLT alignment to the native alignment file.
 * 1 when written, else 0. */
VIADUCTO_API int32_t MyDll_aclipplt2zemta(const char* entrada, const char* salida);

/* "Conversion de Ejes de Cartomap  a Terrex". Cartomap alignment listing to the nine-column
 * tab-separated native layout. The number of records written (0 when none). */
VIADUCTO_API int32_t MyDll_ejecartomap2terrex(const char* entrada, const char* salida);

/* Cross sections. The native cross-section file (*.tra) holds one point per line: station,
 * offset (negative to the left), elevation and an optional code. */

/* "Conversion de Transversales de zemta a gts". Native cross sections to the GTS cross-section
 * file ("station,offset,elevation[,code]"). 1 when written; 0 when entrada cannot be read or
 * salida cannot be written. */
VIADUCTO_API int32_t MyDll_zemta2gts(const char* entrada, const char* salida);

/* "Conversion de Transversales de Terrex  a Standard Survey". GTS cross-section file to native
 * cross sections; the whole rest of a line after the third comma is the code. 1 when written;
 * 0 when entrada cannot be read or salida cannot be written. */
VIADUCTO_API int32_t MyDll_trazemta2gts(const char* entrada, const char* salida);

/* "Conversion de Transversales de htrazado a gts". hTrazado cross sections to the GTS
 * cross-section file. Always 1; nothing is written when the listing cannot be read. The four
 * conversions below do the same for their listings. */
VIADUCTO_API int32_t MyDll_htrazado2gts(const char* entrada, const char* salida);
/* "Conversion de Transversales de mxroad a gts". */
VIADUCTO_API int32_t MyDll_mxroad2gts(const char* entrada, const char* salida);
/* "Conversion de Transversales de ispol a gts". Istram cross-section listing. */
VIADUCTO_API int32_t MyDll_istram2gts(const char* entrada, const char* salida);
/* "Conversion de Transversales de clip a gts". Clip section listing (TER). */
VIADUCTO_API int32_t MyDll_clip2gts(const char* entrada, const char* salida);
/* "Conversion de Transversales de clip TRV a gts". */
VIADUCTO_API int32_t MyDll_cliptrv2gts(const char* entrada, const char* salida);

/* "Conversion de Transversales de CartoMAP  a zemta". Cartomap section listing (the layout
 * with distances or the one with "PK" labels) to native cross sections sorted by station and
 * offset. 1; 0 when entrada cannot be read. */
VIADUCTO_API int32_t MyDll_traCartomap2zemta(const char* entrada, const char* salida);

/* "Selección de conversion de Transversales de LandXML a gts". Writes the cross-section
 * surfaces of a LandXML file to the selection list <tempdir>/$$$$.EJE, one "alignment: surface"
 * per line (an alignment without a name is "*"); leaves the line-joined copy <tempdir>/$$$.xml. */
VIADUCTO_API void MyDll_seleccionaTransverLandXML(const char* entrada);

/* "Conversion de Transversales de LandXML a gts". The cross sections of surface capa under
 * alignment transver (names without regard to case) to the GTS cross-section file. Always 1;
 * nothing is written when the document cannot be read or is malformed. */
VIADUCTO_API int32_t MyDll_tralandxml2gts(const char* transver, const char* capa, const char* entrada,
                                          const char* salida);

/* "Conversion de Transversales de LandXML a zemta". The same pair to native cross sections,
 * cleaned and in section order. Always 1. */
VIADUCTO_API int32_t MyDll_tralandxml2gtsWCE(const char* transver, const char* capa, const char* entrada,
                                             const char* salida);

/* "Conversion de Transversales de LandXML (Inroads)  a Terrex". InRoads station-offset points
 * to native cross sections in section order. Always 1. */
VIADUCTO_API int32_t MyDll_tralandxmlinroads2gtsWCE(const char* entrada, const char* salida);

/* "Conversion de Transversales de Terrex  a LandXML". Native cross sections to a LandXML
 * CrossSects element: one CrossSect per station. 1 when written; 0 when entrada cannot be read
 * or salida cannot be written. */
VIADUCTO_API int32_t MyDll_traterrex2landxml(const char* entrada, const char* salida);

/* "Conversion de Transversales de CLIP TRV  a LandXML". Always 1; nothing is written when the
 * listing cannot be read. The four conversions below do the same for their listings. */
VIADUCTO_API int32_t MyDll_tracliptrv2landxml(const char* entrada, const char* salida);
/* "Conversion de Transversales de CLIP TER  a LandXML". */
VIADUCTO_API int32_t MyDll_traclip2landxml(const char* entrada, const char* salida);
/* "Conversion de Transversales de ISTRAM  a LandXML". */
VIADUCTO_API int32_t MyDll_traistram2landxml(const char* entrada, const char* salida);
/* "Conversion de Transversales de MXROAD  a LandXML". */
VIADUCTO_API int32_t MyDll_tramxroad2landxml(const char* entrada, const char* salida);
/* "Conversion de Transversales de HTRAZADO  a LandXML". */
VIADUCTO_API int32_t MyDll_trahtrazado2lamdxml(const char* entrada, const char* salida);

/* "Conversion Seccion Transversal Clip RTF". A Clip cross-section report (RTF, one table per
 * section) to two native cross-section files, one per surface (salida1, salida2), with codes
 * that mark each point's place in its section; the second surface is completed with the outer
 * points of the first. The number of points written to salida1 (0 when none). */
VIADUCTO_API int32_t MyDll_clipST2zemta(const char* lecturas, const char* salida1, const char* salida2);

/* "Conversion de Puntos de zemta a gts". Blank- or tab-separated points (number, x, y, z,
 * optional code) to the GTS point file "number,x,y,z[,code]". 1 when written; 0 when entrada
 * cannot be read or salida cannot be written. */
VIADUCTO_API int32_t MyDll_puntos2gts(const char* entrada, const char* salida);

#ifdef __cplusplus
}
#endif

#endif /* VIADUCTO_H */
