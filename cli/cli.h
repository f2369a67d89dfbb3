// pasarela-cli: one function per verb, registered in the table of main.cpp. Everything the
// program says is Spanish; results go to standard output, messages and errors to standard
// error. Exit status: 0 done, 1 a conversion failed (it said why), 2 the command line is wrong.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

using Arguments = std::vector<std::string>;

struct Verb {
  const char* name;
  const char* usage;        // the arguments after the verb
  const char* description;  // one line
  int (*run)(const Arguments& arguments);
};

// The verbs in the order `--help` lists them.
const std::vector<Verb>& Verbs();

// One option of one verb as `help VERB` lists it (verb_options.cpp holds them all).
struct VerbOption {
  const char* verb;
  const char* option;  // as written, with its value: "-o DESTINO"
  const char* text;
};
const std::vector<VerbOption>& VerbOptions();
// The usage of a verb, what it does and every option it takes (`help VERB`, `VERB --help`).
void PrintVerbHelp(const Verb& verb, std::FILE* out);

// Characters, not bytes, of a UTF-8 text; `text` padded with blanks to `width` characters.
std::size_t TextWidth(const std::string& text);
std::string PadRight(const std::string& text, std::size_t width);

// "pasarela-cli: <message>" on standard error.
void Note(const std::string& message);
// Note, then the usage error status.
int UsageError(const std::string& message);

// A library message text with its CR LF line breaks as plain line feeds.
std::string PlainLines(std::string text);

// The verbs (each in its own file).
int ListExports(const Arguments& arguments);
int CallExport(const Arguments& arguments);
int ListCommands(const Arguments& arguments);
int RunMenuCommand(const Arguments& arguments);
int ShowHelp(const Arguments& arguments);
int ShowInfo(const Arguments& arguments);
int ListFormats(const Arguments& arguments);
int ConvertFiles(const Arguments& arguments);
// view_commands.cpp: what a file holds, checked, drawn and reported. The drawings are made by
// a program of their own beside pasarela-cli, the only one that links Qt's GUI libraries.
int CheckFile(const Arguments& arguments);
int DrawFile(const Arguments& arguments);
int ReportFile(const Arguments& arguments);
inline constexpr const char* kDrawingProgramName = "pasarela-view";
std::string DrawingProgramPath();

}  // namespace cli
