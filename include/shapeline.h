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

#ifdef __cplusplus
}
#endif

#endif /* SHAPELINE_H */
