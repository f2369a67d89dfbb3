#include "shapeline.h"

#include "common/message_hook.h"

void Shapeline_SetMessageHook(ShapelineMessageHook hook) { common::SetMessageHook(hook); }

namespace {
// This library reports nothing unless its caller asks for the messages.
[[maybe_unused]] const bool silencedAtLoad = (common::SilenceMessagesByDefault(), true);
}  // namespace
