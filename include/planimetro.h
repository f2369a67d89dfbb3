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

#ifdef __cplusplus
}
#endif

#endif /* PLANIMETRO_H */
