// Messages a library must show the user in the middle of a conversion. Each library holds its
// own hook (common/ is compiled into each one) and exports a function to set it; the desktop
// program installs one that shows a message box.
#pragma once

namespace common {

extern "C" {
typedef void (*MessageHook)(const char* caption, const char* text);
}

// Installs `hook`; a null hook restores the library's default.
void SetMessageHook(MessageHook hook);

// The default prints "caption: text" to standard error; a library may make it silent.
void SilenceMessagesByDefault();

void ShowMessage(const char* caption, const char* text);

// How many messages this thread has shown so far (an export that has said why it failed needs
// no second message).
unsigned long MessagesShownByThisThread();

}  // namespace common
