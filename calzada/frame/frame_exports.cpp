#include "calzada.h"

#include "common/message_hook.h"

void Calzada_SetMessageHook(CalzadaMessageHook hook) { common::SetMessageHook(hook); }
