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

/* "Conversion Puntos Terrex a Shapeline". Kept for callers; touches no file, returns 0. */
VIADUCTO_API int32_t MyDll_terrex2shapeline(const char* entrada, const char* salida);

/* "Conversion Puntos Shapeline a Terrex". Kept for callers; touches no file, returns 0. */
VIADUCTO_API int32_t MyDll_shapeline2terrex(const char* entrada, const char* salida);

#ifdef __cplusplus
}
#endif

#endif /* VIADUCTO_H */
