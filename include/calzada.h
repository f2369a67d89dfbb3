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

#ifdef __cplusplus
}
#endif

#endif /* CALZADA_H */
