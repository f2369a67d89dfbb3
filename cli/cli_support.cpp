#include <cstdio>

#include "cli/cli.h"

namespace cli {

void Note(const std::string& message) { std::fprintf(stderr, "pasarela-cli: %s\n", message.c_str()); }

int UsageError(const std::string& message) {
  Note(message);
  return kUsageError;
}

std::string PlainLines(std::string text) {
  for (std::size_t crlf = text.find("\r\n"); crlf != std::string::npos; crlf = text.find("\r\n", crlf)) {
    text.erase(crlf, 1);
  }
  return text;
}

}  // namespace cli
