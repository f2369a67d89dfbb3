#include "common/message_hook.h"

#include <cstdio>

namespace common {
namespace {

void PrintToStandardError(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
}

void Silent(const char*, const char*) {}

MessageHook defaultHook = &PrintToStandardError;
MessageHook currentHook = nullptr;
thread_local unsigned long shownByThisThread = 0;

}  // namespace

void SetMessageHook(MessageHook hook) { currentHook = hook; }

void SilenceMessagesByDefault() { defaultHook = &Silent; }

void ShowMessage(const char* caption, const char* text) {
  MessageHook hook = currentHook != nullptr ? currentHook : defaultHook;
  ++shownByThisThread;
  hook(caption, text);
}

unsigned long MessagesShownByThisThread() { return shownByThisThread; }

}  // namespace common
