#include "frontend/core/library_messages.h"

#include <cstdio>

#include "common/outcome.h"

namespace frontend {
namespace {

LibraryMessageCollector* activeCollector = nullptr;
LibraryMessageHook uncollectedHandler = nullptr;

}  // namespace

extern "C" void DeliverLibraryMessage(const char* caption, const char* text) {
  if (caption == nullptr) caption = "";
  if (text == nullptr) text = "";
  if (activeCollector != nullptr) {
    activeCollector->Add(caption, text);
  } else if (uncollectedHandler != nullptr) {
    uncollectedHandler(caption, text);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
}

void SetUncollectedMessageHandler(LibraryMessageHook handler) { uncollectedHandler = handler; }

LibraryMessageCollector::LibraryMessageCollector() : previous_(activeCollector) { activeCollector = this; }

LibraryMessageCollector::~LibraryMessageCollector() { activeCollector = previous_; }

void LibraryMessageCollector::Add(const char* caption, const char* text) { messages_.push_back({caption, text}); }

std::string LibraryMessageCollector::FailureReason() const {
  std::string reason;
  for (const LibraryMessage& message : messages_) {
    if (message.caption != common::kFailureCaption || message.text.empty()) continue;
    if (!reason.empty()) reason += "\r\n";
    reason += message.text;
  }
  return reason;
}

std::vector<LibraryMessage> LibraryMessageCollector::OtherMessages() const {
  std::vector<LibraryMessage> others;
  for (const LibraryMessage& message : messages_) {
    if (message.caption != common::kFailureCaption) others.push_back(message);
  }
  return others;
}

}  // namespace frontend
