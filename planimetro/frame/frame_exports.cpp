#include "planimetro.h"

#include "common/message_hook.h"

void Planimetro_SetMessageHook(PlanimetroMessageHook hook) { common::SetMessageHook(hook); }
