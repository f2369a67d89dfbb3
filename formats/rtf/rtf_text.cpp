#include "formats/rtf/rtf_text.h"

#include <cctype>
#include <vector>

#include "common/numbers.h"

namespace viaducto {

namespace {

enum class Alignment { kLeft, kRight, kCentre };

// Formatting carried from group to group; none of it changes the text.
struct FormattingState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Alignment alignment = Alignment::kLeft;
  int colour = 0;
};

struct Colour {
  int red = 0;
  int green = 0;
  int blue = 0;
};

// Receives the text events and writes the plain text.
class TextSink {
 public:
  explicit TextSink(std::FILE* trace) : trace_(trace) {}

  void Character(unsigned char c) {
    UpdateTableFlags();
    if (trace_ != nullptr) std::fprintf(trace_, "Writing character %c\n", c);
    if (c > 31) text_.push_back(static_cast<char>(c));
  }

  void ParagraphEnd() {
    if (!tableMode_) text_.push_back('\n');
  }

  // "\intbl": the paragraph lies in a table; the first one opens table, row and cell.
  void InTable() {
    paragraphInTable_ = true;
    if (!tableOpen_) {
      TableStart();
      RowStart();
      CellStart();
    }
  }

  void CellEnd() {
    // A row that begins with an empty cell still starts its own line.
    if (paragraphInTable_ && !rowOpen_) RowStart();
    text_ += " | ";
    cellOpen_ = false;
  }

  void RowEnd() {
    text_.push_back('\n');
    rowOpen_ = false;
    cellOpen_ = false;
  }

  void ResetParagraph() { paragraphInTable_ = false; }

  void SetColour(int index, const std::vector<Colour>& table) {
    if (trace_ == nullptr) return;
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) {
      std::fprintf(trace_, "Setting colour to %d %d %d\n", table[index].red, table[index].green, table[index].blue);
    } else {
      std::fprintf(trace_, "Setting default colour\n");
    }
  }

  std::string Take() { return std::move(text_); }

 private:
  void UpdateTableFlags() {
    if (paragraphInTable_) {
      if (!rowOpen_) RowStart();
      if (!cellOpen_) CellStart();
    } else if (tableOpen_) {
      text_.push_back('\n');  // table end
      tableOpen_ = false;
      tableMode_ = false;
      rowOpen_ = false;
      cellOpen_ = false;
    }
  }

  void TableStart() {
    text_.push_back('\n');
    tableOpen_ = true;
    tableMode_ = true;
  }
  void RowStart() {
    text_.push_back('\n');
    rowOpen_ = true;
  }
  void CellStart() {
    text_.push_back(' ');
    cellOpen_ = true;
  }

  std::FILE* trace_;
  std::string text_;
  bool tableMode_ = false;
  bool tableOpen_ = false;
  bool rowOpen_ = false;
  bool cellOpen_ = false;
  bool paragraphInTable_ = false;
};

enum class Command {
  kParagraph,
  kSkipGroup,
  kColourTable,
  kCharacter,
  kBold,
  kItalic,
  kUnderline,
  kUnderlineOff,
  kPlain,
  kAlignLeft,
  kAlignRight,
  kAlignCentre,
  kInTable,
  kCell,
  kRow,
  kParagraphDefaults,
  kColour,
};

struct CommandEntry {
  const char* word;
  Command command;
  unsigned char character;  // for kCharacter
};

// Searched in order; words not listed are ignored.
constexpr CommandEntry kCommands[] = {
    {"par", Command::kParagraph, 0},          {"fonttbl", Command::kSkipGroup, 0},
    {"pict", Command::kSkipGroup, 0},         {"stylesheet", Command::kSkipGroup, 0},
    {"info", Command::kSkipGroup, 0},         {"xe", Command::kSkipGroup, 0},
    {"header", Command::kSkipGroup, 0},       {"footer", Command::kSkipGroup, 0},
    {"tc", Command::kSkipGroup, 0},           {"tcn", Command::kSkipGroup, 0},
    {"nonshppict", Command::kSkipGroup, 0},   {"colortbl", Command::kColourTable, 0},
    {"lquote", Command::kCharacter, 145},     {"rquote", Command::kCharacter, 146},
    {"ldblquote", Command::kCharacter, 147},  {"rdblquote", Command::kCharacter, 148},
    {"bullet", Command::kCharacter, 149},     {"endash", Command::kCharacter, 150},
    {"emdash", Command::kCharacter, 151},     {"b", Command::kBold, 0},
    {"i", Command::kItalic, 0},               {"ul", Command::kUnderline, 0},
    {"ulnone", Command::kUnderlineOff, 0},    {"plain", Command::kPlain, 0},
    {"ql", Command::kAlignLeft, 0},           {"qr", Command::kAlignRight, 0},
    {"qc", Command::kAlignCentre, 0},         {"intbl", Command::kInTable, 0},
    {"cell", Command::kCell, 0},              {"row", Command::kRow, 0},
    {"pard", Command::kParagraphDefaults, 0}, {"cf", Command::kColour, 0},
};

const CommandEntry* FindCommand(std::string_view word) {
  for (const CommandEntry& entry : kCommands) {
    if (word == entry.word) return &entry;
  }
  return nullptr;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class RtfReader {
 public:
  RtfReader(std::string_view rtf, std::FILE* trace) : rtf_(rtf), sink_(trace), trace_(trace) {}

  std::string Run() {
    while (position_ < rtf_.size()) {
      const char c = rtf_[position_++];
      switch (c) {
        case '\\':
          ControlWord();
          break;
        case '{':
          if (trace_ != nullptr) std::fprintf(trace_, "rtf push\n");
          states_.push_back(state_);
          break;
        case '}':
          Pop();
          break;
        case '\r':
        case '\n':
          break;
        default:
          sink_.Character(static_cast<unsigned char>(c));
          break;
      }
    }
    return sink_.Take();
  }

 private:
  void Pop() {
    if (trace_ != nullptr) std::fprintf(trace_, "rtf pop\n");
    if (states_.empty()) return;  // an unbalanced brace changes nothing
    state_ = states_.back();
    states_.pop_back();
    sink_.SetColour(state_.colour, colours_);
  }

  // After the backslash: a control symbol, a hexadecimal character or a control word with an
  // optional numeric parameter, ended by a blank (consumed) or by any other character.
  void ControlWord() {
    if (position_ >= rtf_.size()) return;
    const char first = rtf_[position_];
    if (first == '\'') {
      ++position_;
      int value = 0;
      for (int i = 0; i < 2 && position_ < rtf_.size(); ++i) {
        const int digit = HexDigit(rtf_[position_++]);
        value = value * 16 + (digit < 0 ? 0 : digit);
      }
      sink_.Character(static_cast<unsigned char>(value));
      return;
    }
    if (!IsLetter(first)) {
      ++position_;
      // Escaped characters are text; "\*" marks a group to drop unless its word is known.
      if (first == '\\' || first == '{' || first == '}' || first == ';') {
        sink_.Character(static_cast<unsigned char>(first));
      } else if (first == '*') {
        ignorableDestination_ = true;
      }
      return;
    }
    const std::size_t nameStart = position_;
    while (position_ < rtf_.size() && IsLetter(rtf_[position_])) ++position_;
    const std::string_view name = rtf_.substr(nameStart, position_ - nameStart);
    int parameter = 1;
    const std::size_t numberStart = position_;
    if (position_ < rtf_.size() && rtf_[position_] == '-') ++position_;
    while (position_ < rtf_.size() && IsDigit(rtf_[position_])) ++position_;
    if (position_ > numberStart && IsDigit(rtf_[position_ - 1])) {
      parameter = common::LenientInt(rtf_.substr(numberStart, position_ - numberStart));
    } else {
      position_ = numberStart;
    }
    if (position_ < rtf_.size() && rtf_[position_] == ' ') ++position_;
    Run(name, parameter);
  }

  void Run(std::string_view name, int parameter) {
    if (trace_ != nullptr) std::fprintf(trace_, "command %.*s %d\n", static_cast<int>(name.size()), name.data(), parameter);
    const CommandEntry* entry = FindCommand(name);
    const bool ignorable = ignorableDestination_;
    ignorableDestination_ = false;
    if (entry == nullptr) {
      if (ignorable) SkipGroup();
      return;
    }
    switch (entry->command) {
      case Command::kParagraph: sink_.ParagraphEnd(); break;
      case Command::kSkipGroup: SkipGroup(); break;
      case Command::kColourTable: ReadColourTable(); break;
      case Command::kCharacter: sink_.Character(entry->character); break;
      case Command::kBold: state_.bold = parameter != 0; break;
      case Command::kItalic: state_.italic = parameter != 0; break;
      case Command::kUnderline: state_.underline = parameter != 0; break;
      case Command::kUnderlineOff: state_.underline = false; break;
      case Command::kPlain:
        state_.bold = state_.italic = state_.underline = false;
        state_.colour = 0;
        break;
      case Command::kAlignLeft: state_.alignment = Alignment::kLeft; break;
      case Command::kAlignRight: state_.alignment = parameter != 0 ? Alignment::kRight : Alignment::kLeft; break;
      case Command::kAlignCentre: state_.alignment = parameter != 0 ? Alignment::kCentre : Alignment::kLeft; break;
      case Command::kInTable: sink_.InTable(); break;
      case Command::kCell: sink_.CellEnd(); break;
      case Command::kRow: sink_.RowEnd(); break;
      case Command::kParagraphDefaults:
        state_.alignment = Alignment::kLeft;
        sink_.ResetParagraph();
        break;
      case Command::kColour:
        state_.colour = parameter;
        sink_.SetColour(parameter, colours_);
        break;
    }
  }

  // Drops everything up to the brace that closes the current group, and closes it.
  void SkipGroup() {
    int depth = 0;
    while (position_ < rtf_.size()) {
      const char c = rtf_[position_++];
      if (c == '\\') {
        ++position_;  // an escaped brace does not count
      } else if (c == '{') {
        ++depth;
      } else if (c == '}') {
        if (depth == 0) {
          Pop();
          return;
        }
        --depth;
      }
    }
  }

  // "\red..\green..\blue..;" entries up to the end of the group, which is closed.
  void ReadColourTable() {
    Colour colour;
    while (position_ < rtf_.size()) {
      const char c = rtf_[position_++];
      if (c == ';') {
        colours_.push_back(colour);
        colour = Colour();
      } else if (c == '}') {
        Pop();
        return;
      } else if (c == '\\') {
        const std::size_t start = position_;
        while (position_ < rtf_.size() && IsLetter(rtf_[position_])) ++position_;
        const std::string_view name = rtf_.substr(start, position_ - start);
        const std::size_t numberStart = position_;
        while (position_ < rtf_.size() && IsDigit(rtf_[position_])) ++position_;
        const int value = common::LenientInt(rtf_.substr(numberStart, position_ - numberStart));
        if (name == "red") colour.red = value;
        if (name == "green") colour.green = value;
        if (name == "blue") colour.blue = value;
      }
    }
  }

  std::string_view rtf_;
  std::size_t position_ = 0;
  TextSink sink_;
  std::FILE* trace_;
  FormattingState state_;
  std::vector<FormattingState> states_;
  std::vector<Colour> colours_;
  bool ignorableDestination_ = false;
};

}  // namespace

std::string RtfToText(std::string_view rtf, std::FILE* trace) { return RtfReader(rtf, trace).Run(); }

}  // namespace viaducto
