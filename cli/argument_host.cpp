#include "cli/argument_host.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cli/cli.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "frontend/core/about_box.h"

namespace cli {

ArgumentHost::ArgumentHost(const frontend::MenuCommand& command, std::string source, std::string target,
                           std::vector<std::string> answers, bool overwrite)
    : command_(command),
      source_(std::move(source)),
      target_(std::move(target)),
      answers_(std::move(answers)),
      overwrite_(overwrite) {}

bool ArgumentHost::Refuse(const std::string& why) {
  if (refusal_.empty()) refusal_ = why;
  return false;
}

bool ArgumentHost::NextAnswer(const char* what, std::string& answer) {
  if (next_ >= answers_.size()) return Refuse(std::string("falta ") + what);
  answer = answers_[next_++];
  return true;
}

bool ArgumentHost::AskSource(const std::string& /*filter*/, std::string& path) {
  if (!sourceTaken_) {
    sourceTaken_ = true;
    path = source_;
    return !path.empty();
  }
  return NextAnswer("el fichero que pide el segundo diálogo", path);
}

bool ArgumentHost::AskTarget(const std::string& filter, std::string& path) {
  if (!target_.empty() && target_ != "-") path = target_;
  if (path.empty()) return Refuse("falta el fichero destino (la orden no propone ninguno)");
  // A file the command reads given where its target is expected would be written over.
  if (!FitsFilter(filter, path) && FitsFilter(command_.sourceFilter, path) && path != source_) {
    return Refuse("el destino " + path + " es un fichero de los que la orden lee, no de los que escribe (" + filter +
                  "): falta el destino o sobra un origen");
  }
  struct stat info {};
  if (!overwrite_ && path != source_ && ::stat(path.c_str(), &info) == 0) {
    return Refuse("el fichero destino " + path + " ya existe: use --overwrite (-f) para reemplazarlo");
  }
  return true;
}

int ArgumentHost::ChooseFromList(frontend::ListKind /*kind*/, const std::string& caption,
                                 const std::vector<std::string>& lines) {
  if (fixedChoice_ >= 0) return fixedChoice_;
  if (next_ >= answers_.size() && lines.size() == 1) return 0;  // the only entry there is
  std::string answer;
  if (NextAnswer("la línea elegida de la lista (su texto, su número o --all)", answer)) {
    const int index = FindAnswer(lines, answer);
    if (index >= 0) return index;
    refusal_ = "\"" + answer + "\" no está en la lista";
  }
  std::fprintf(stderr, "%s:\n", caption.c_str());
  for (std::size_t i = 0; i < lines.size(); ++i) std::fprintf(stderr, "  %zu. %s\n", i + 1, lines[i].c_str());
  return -1;
}

void ArgumentHost::ShowMessage(const std::string& text, frontend::MessageIcon /*icon*/) {
  // The success message is the command's result; everything else is a message.
  const bool result = text.rfind(frontend::kGeneratedMessage, 0) == 0;
  if (result && !printSuccess_) return;
  std::fprintf(result ? stdout : stderr, "%s\n", PlainLines(text).c_str());
}

void ArgumentHost::ShowLibraryMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), PlainLines(text).c_str());
}

void ArgumentHost::ShowAbout() {
  const frontend::AboutText& about = frontend::AboutBoxText();
  std::printf("%s\nVersión %s\n%s\n%s\n%s\n%s\n", about.caption.c_str(), about.version.c_str(),
              about.company.c_str(), about.web.c_str(), about.telephone.c_str(), about.fax.c_str());
}

int FindAnswer(const std::vector<std::string>& lines, const std::string& answer) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (common::EqualsIgnoringCase(lines[i], answer)) return static_cast<int>(i);
  }
  if (answer.empty() || answer.find_first_not_of("0123456789") != std::string::npos || answer.size() > 9) return -1;
  const long number = std::strtol(answer.c_str(), nullptr, 10);
  if (number < 1 || number > static_cast<long>(lines.size())) return -1;
  return static_cast<int>(number - 1);
}

bool FitsFilter(const std::string& filter, const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::size_t start = 0;
  int field = 0;
  while (start <= filter.size()) {
    std::size_t end = filter.find('|', start);
    if (end == std::string::npos) end = filter.size();
    if (field % 2 == 1) {
      const std::string patterns = filter.substr(start, end - start);
      std::size_t from = 0;
      while (from <= patterns.size()) {
        std::size_t semicolon = patterns.find(';', from);
        if (semicolon == std::string::npos) semicolon = patterns.size();
        const std::string pattern = patterns.substr(from, semicolon - from);
        if (!pattern.empty() && ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
        from = semicolon + 1;
      }
    }
    ++field;
    start = end + 1;
  }
  return false;
}

std::string FileNamePart(const std::string& entry) {
  std::string part;
  for (char c : entry) {
    const bool kept = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '.';
    if (kept) {
      part += c;
    } else if (part.empty() || part.back() != '_') {
      part += '_';
    }
  }
  if (part.size() > kMaxNamePart) part.resize(kMaxNamePart);
  while (!part.empty() && part.back() == '_') part.pop_back();
  return part.empty() ? "entrada" : part;
}

std::string TargetNames::Claim(const std::string& path) {
  std::string claimed = path;
  for (int copy = 2; !taken_.insert(common::LowerAscii(claimed)).second; ++copy) {
    claimed = common::AppendSuffix(path, "_" + std::to_string(copy));
  }
  return claimed;
}

std::vector<std::string> EntryTargets(const std::string& base, const std::vector<std::string>& entries,
                                      TargetNames& names) {
  std::vector<std::string> targets;
  for (const std::string& entry : entries) targets.push_back(names.Claim(common::AppendSuffix(base, "_" + FileNamePart(entry))));
  return targets;
}

}  // namespace cli
