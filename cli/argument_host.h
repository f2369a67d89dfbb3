// Answers the dialogs of a menu command from the command line: the first open dialog takes
// the source, the save dialog the target (the proposed name when it is "-" or missing), a
// list the next answer (the entry's text in any case, or its number from 1), and the second
// open dialog of the field-book command the next answer.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "frontend/core/command_flow.h"

namespace cli {

class ArgumentHost : public frontend::CommandHost {
 public:
  ArgumentHost(const frontend::MenuCommand& command, std::string source, std::string target,
               std::vector<std::string> answers, bool overwrite);

  // Every list is answered with this index (the runs of --all).
  void ChooseAlways(int index) { fixedChoice_ = index; }
  // The success message is kept for the caller instead of printed (convert prints one line).
  void KeepSuccessMessage() { printSuccess_ = false; }

  bool AskSource(const std::string& filter, std::string& path) override;
  bool AskTarget(const std::string& filter, std::string& path) override;
  int ChooseFromList(frontend::ListKind kind, const std::string& caption, const std::vector<std::string>& lines) override;
  void ShowMessage(const std::string& text, frontend::MessageIcon icon) override;
  void ShowLibraryMessage(const std::string& caption, const std::string& text) override;
  void ShowAbout() override;

  // Why a dialog could not be answered (empty when every one was).
  const std::string& refusal() const { return refusal_; }
  // Answers given that no dialog took.
  std::size_t unusedAnswers() const { return answers_.size() - next_; }

 private:
  bool NextAnswer(const char* what, std::string& answer);
  bool Refuse(const std::string& why);

  const frontend::MenuCommand& command_;
  std::string source_;
  std::string target_;
  std::vector<std::string> answers_;
  bool overwrite_;
  bool sourceTaken_ = false;
  std::size_t next_ = 0;
  int fixedChoice_ = -1;
  bool printSuccess_ = true;
  std::string refusal_;
};

// The index of `answer` in `lines`: the entry with that text without regard to case, else
// the entry with that number (from 1); -1 when none.
int FindAnswer(const std::vector<std::string>& lines, const std::string& answer);

// Whether `path` fits one of the patterns of a dialog filter ("desc|*.eje|desc|*.plt;*.txt").
bool FitsFilter(const std::string& filter, const std::string& path);

// An entry as part of a file name: letters, digits, "-", "_" and "." kept, every run of
// other characters (a "/", a blank, a byte of a non-ASCII letter) one "_", at most
// kMaxNamePart characters; "entrada" when nothing is left.
inline constexpr std::size_t kMaxNamePart = 100;
std::string FileNamePart(const std::string& entry);

// The targets of one run, each path given out once: a path already given (in any letter case,
// so that the files stay apart on a file system that ignores case) gets "_2", "_3"... before
// its extension. Two entries whose names are made the same, or two sources of the same name
// converted into one folder, never write over each other.
class TargetNames {
 public:
  std::string Claim(const std::string& path);

 private:
  std::set<std::string> taken_;  // lower case
};

// One target per entry of a list, named after `base` and the entry: "base_entry.ext".
std::vector<std::string> EntryTargets(const std::string& base, const std::vector<std::string>& entries,
                                      TargetNames& names);

}  // namespace cli
