// The messages the libraries show while an export runs arrive through their message hook.
// While a command runs they are collected, so the command can show a failure's reason with its
// own failure message; outside a command they go to the program's own handler.
#pragma once

#include <string>
#include <vector>

namespace frontend {

extern "C" {
typedef void (*LibraryMessageHook)(const char* caption, const char* text);

// The hook installed in every library.
void DeliverLibraryMessage(const char* caption, const char* text);
}

struct LibraryMessage {
  std::string caption;
  std::string text;
};

// Where messages go when no collector lives (null: standard error, "caption: text").
void SetUncollectedMessageHandler(LibraryMessageHook handler);

// While it lives, every library message is kept here instead of being shown. Collectors nest:
// the innermost one takes the messages.
class LibraryMessageCollector {
 public:
  LibraryMessageCollector();
  ~LibraryMessageCollector();
  LibraryMessageCollector(const LibraryMessageCollector&) = delete;
  LibraryMessageCollector& operator=(const LibraryMessageCollector&) = delete;

  void Add(const char* caption, const char* text);

  // The reasons of failure (the messages with the failure caption), one per line, in order.
  std::string FailureReason() const;
  // Every other message, in order.
  std::vector<LibraryMessage> OtherMessages() const;

 private:
  std::vector<LibraryMessage> messages_;
  LibraryMessageCollector* previous_;
};

}  // namespace frontend
