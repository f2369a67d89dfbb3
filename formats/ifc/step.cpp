#include "formats/ifc/step.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace ifc {

bool StepValue::AsNumber(double& out) const {
  if (IsNumber()) {
    out = number;
    return true;
  }
  if (kind == kTyped && items.size() == 1 && items[0].IsNumber()) {
    out = items[0].number;
    return true;
  }
  return false;
}

const StepEntity* StepFile::Find(uint32_t id) const {
  const auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &entities[it->second];
}

const StepEntity* StepFile::Resolve(const StepValue* value) const {
  if (value == nullptr || value->kind != StepValue::kRef) return nullptr;
  return Find(value->ref);
}

std::vector<const StepEntity*> StepFile::OfType(std::string_view upperType) const {
  std::vector<const StepEntity*> found;
  const auto it = byType_.find(std::string(upperType));
  if (it == byType_.end()) return found;
  found.reserve(it->second.size());
  for (std::size_t i : it->second) found.push_back(&entities[i]);
  return found;
}

std::size_t StepFile::Index() {
  byId_.clear();
  byType_.clear();
  byId_.reserve(entities.size());
  std::size_t repeated = 0;
  for (std::size_t i = 0; i < entities.size(); ++i) {
    if (!byId_.emplace(entities[i].id, i).second && repeated == 0) repeated = i + 1;
    byType_[entities[i].type].push_back(i);
  }
  return repeated;
}

namespace {

constexpr int kMaxDepth = 64;

void AppendUtf8(uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x110000) {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += '?';
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsUpperName(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsUpperName(c) || (c >= '0' && c <= '9'); }

class Parser {
 public:
  Parser(std::string_view text, StepFile& file) : s_(text), file_(file) {}

  StepReadResult Run() {
    StepReadResult result;
    file_.entities.reserve(s_.size() / 64);  // about one instance in every 64 bytes
    SkipSpace();
    if (!Keyword("ISO-10303-21")) return Fail("no empieza por ISO-10303-21;");
    SkipSpace();
    if (!Expect(';')) return Fail("falta \";\" tras ISO-10303-21");
    while (true) {
      SkipSpace();
      if (AtEnd()) return Fail("falta END-ISO-10303-21;");
      if (Keyword("END-ISO-10303-21")) break;
      if (Keyword("HEADER")) {
        if (!Section(true)) return result_;
      } else if (Keyword("DATA")) {
        // A DATA section may carry parameters: DATA('name',(schema));
        SkipSpace();
        if (Peek() == '(') {
          StepValue ignored;
          if (!Value(ignored, 0)) return result_;
        }
        if (!Section(false)) return result_;
      } else {
        return Fail("se esperaba HEADER, DATA o END-ISO-10303-21");
      }
    }
    // A repeated id is found once every instance is read, where the index is built.
    const std::size_t repeated = file_.Index();
    if (repeated != 0) {
      line_ = file_.entities[repeated - 1].line;
      return Fail("la instancia #" + std::to_string(file_.entities[repeated - 1].id) + " está repetida");
    }
    result.ok = true;
    return result;
  }

 private:
  StepReadResult Fail(const std::string& why) {
    if (result_.error.empty()) {
      result_.ok = false;
      result_.line = line_;
      result_.error = "línea " + std::to_string(line_) + ": " + why;
    }
    return result_;
  }
  bool Failed(const std::string& why) {
    Fail(why);
    return false;
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }
  void Advance() {
    if (s_[pos_] == '\n') ++line_;
    ++pos_;
  }
  bool Expect(char c) {
    SkipSpace();
    if (Peek() != c) return false;
    Advance();
    return true;
  }

  void SkipSpace() {
    while (!AtEnd()) {
      const char c = s_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '*') {
        pos_ += 2;
        while (!AtEnd() && !(s_[pos_] == '*' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/')) Advance();
        pos_ = pos_ + 2 > s_.size() ? s_.size() : pos_ + 2;
      } else {
        break;
      }
    }
  }

  bool Keyword(std::string_view word) {
    if (s_.compare(pos_, word.size(), word) != 0) return false;
    const std::size_t after = pos_ + word.size();
    if (after < s_.size() && (IsNameChar(s_[after]) || s_[after] == '-')) return false;
    pos_ = after;
    return true;
  }

  std::string Name() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(s_[pos_])) ++pos_;
    std::string name(s_.substr(start, pos_ - start));
    for (char& c : name) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
  }

  // Instances up to ENDSEC; in the header, FILE_SCHEMA gives the schemas.
  bool Section(bool header) {
    if (!Expect(';')) return Failed("falta \";\" tras el nombre de la sección");
    while (true) {
      SkipSpace();
      if (AtEnd()) return Failed("falta ENDSEC;");
      if (Keyword("ENDSEC")) {
        if (!Expect(';')) return Failed("falta \";\" tras ENDSEC");
        return true;
      }
      if (header) {
        if (!IsUpperName(Peek())) return Failed("se esperaba una entidad de la cabecera");
        const std::string type = Name();
        StepValue args;
        if (!Value(args, 0) || args.kind != StepValue::kList) return Failed("parámetros de " + type + " mal formados");
        if (!Expect(';')) return Failed("falta \";\" tras " + type);
        if (type == "FILE_SCHEMA" && !args.items.empty() && args.items[0].kind == StepValue::kList) {
          for (const StepValue& schema : args.items[0].items) {
            if (schema.kind == StepValue::kString) file_.schemas.push_back(schema.text);
          }
        }
      } else if (!Instance()) {
        return false;
      }
    }
  }

  bool Instance() {
    if (Peek() != '#') return Failed("se esperaba una instancia \"#n=\"");
    StepEntity entity;
    entity.line = line_;
    Advance();
    const std::size_t start = pos_;
    while (!AtEnd() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    uint64_t id = 0;
    if (pos_ == start || pos_ - start > 9) return Failed("identificador de instancia no válido");
    std::from_chars(s_.data() + start, s_.data() + pos_, id);
    entity.id = static_cast<uint32_t>(id);
    if (!Expect('=')) return Failed("falta \"=\" tras #" + std::to_string(id));
    SkipSpace();
    if (Peek() == '(') {
      // A complex instance: each partial type with its parameters, joined in one list.
      Advance();
      while (true) {
        SkipSpace();
        if (Peek() == ')') {
          Advance();
          break;
        }
        if (!IsUpperName(Peek())) return Failed("instancia compleja mal formada en #" + std::to_string(id));
        const std::string part = Name();
        if (entity.type.empty()) entity.type = part;
        StepValue args;
        if (!Value(args, 0) || args.kind != StepValue::kList) return Failed("parámetros de " + part + " mal formados");
        for (StepValue& v : args.items) entity.args.push_back(std::move(v));
      }
    } else {
      if (!IsUpperName(Peek())) return Failed("falta el tipo de #" + std::to_string(id));
      entity.type = Name();
      StepValue args;
      SkipSpace();
      if (Peek() != '(') return Failed("faltan los parámetros de #" + std::to_string(id));
      if (!Value(args, 0)) return false;
      entity.args = std::move(args.items);
    }
    if (!Expect(';')) return Failed("falta \";\" tras #" + std::to_string(id));
    file_.entities.push_back(std::move(entity));
    return true;
  }

  bool Value(StepValue& v, int depth) {
    if (depth > kMaxDepth) return Failed("listas anidadas demasiado hondas");
    SkipSpace();
    if (AtEnd()) return Failed("el fichero termina dentro de una instancia");
    const char c = s_[pos_];
    if (c == '$') {
      Advance();
      v.kind = StepValue::kNull;
    } else if (c == '*') {
      Advance();
      v.kind = StepValue::kDerived;
    } else if (c == '(') {
      Advance();
      v.kind = StepValue::kList;
      SkipSpace();
      if (Peek() == ')') {
        Advance();
        return true;
      }
      while (true) {
        v.items.emplace_back();
        if (!Value(v.items.back(), depth + 1)) return false;
        SkipSpace();
        if (Peek() == ',') {
          Advance();
        } else if (Peek() == ')') {
          Advance();
          return true;
        } else {
          return Failed("se esperaba \",\" o \")\" en una lista");
        }
      }
    } else if (c == '#') {
      Advance();
      const std::size_t start = pos_;
      while (!AtEnd() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      uint64_t id = 0;
      if (pos_ == start || pos_ - start > 9) return Failed("referencia no válida");
      std::from_chars(s_.data() + start, s_.data() + pos_, id);
      v.kind = StepValue::kRef;
      v.ref = static_cast<uint32_t>(id);
    } else if (c == '\'') {
      v.kind = StepValue::kString;
      return String(v.text);
    } else if (c == '"') {
      Advance();
      const std::size_t start = pos_;
      while (!AtEnd() && s_[pos_] != '"') Advance();
      if (AtEnd()) return Failed("binario sin cerrar");
      v.kind = StepValue::kBinary;
      v.text = std::string(s_.substr(start, pos_ - start));
      Advance();
    } else if (c == '.') {
      Advance();
      const std::size_t start = pos_;
      while (!AtEnd() && IsNameChar(s_[pos_])) ++pos_;
      if (Peek() != '.') return Failed("enumeración sin cerrar");
      v.kind = StepValue::kEnum;
      v.text = std::string(s_.substr(start, pos_ - start));
      Advance();
    } else if (c == '-' || c == '+' || (c >= '0' && c <= '9')) {
      return Number(v);
    } else if (IsUpperName(c)) {
      v.kind = StepValue::kTyped;
      v.text = Name();
      if (!Expect('(')) return Failed("falta \"(\" tras " + v.text);
      v.items.emplace_back();
      if (!Value(v.items.back(), depth + 1)) return false;
      if (!Expect(')')) return Failed("falta \")\" tras el valor de " + v.text);
    } else {
      return Failed(std::string("carácter inesperado '") + c + "'");
    }
    return true;
  }

  bool Number(StepValue& v) {
    const std::size_t start = pos_;
    if (s_[pos_] == '-' || s_[pos_] == '+') ++pos_;
    bool real = false;
    while (!AtEnd()) {
      const char c = s_[pos_];
      if (c >= '0' && c <= '9') {
        ++pos_;
      } else if (c == '.') {
        real = true;
        ++pos_;
      } else if ((c == 'E' || c == 'e') && real) {
        ++pos_;
        if (!AtEnd() && (s_[pos_] == '-' || s_[pos_] == '+')) ++pos_;
      } else {
        break;
      }
    }
    std::string_view text = s_.substr(start, pos_ - start);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (real) {
      // "1." and "1.E-4" are read as "1.0" and "1.0E-4" would be.
      std::string copy(text);
      const std::size_t dot = copy.find('.');
      if (dot + 1 == copy.size() || copy[dot + 1] == 'E' || copy[dot + 1] == 'e') copy.insert(dot + 1, "0");
      double value = 0;
      const auto [end, ec] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
      if (ec != std::errc() || end != copy.data() + copy.size()) return Failed("número no válido: " + copy);
      v.kind = StepValue::kReal;
      v.number = value;
    } else {
      long long value = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (ec != std::errc() || end != text.data() + text.size()) return Failed("número no válido");
      v.kind = StepValue::kInteger;
      v.integer = value;
      v.number = static_cast<double>(value);
    }
    return true;
  }

  bool String(std::string& out) {
    const std::size_t startLine = line_;
    Advance();  // the opening quote
    while (true) {
      if (AtEnd()) {
        line_ = startLine;
        return Failed("texto sin cerrar");
      }
      const char c = s_[pos_];
      if (c == '\'') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
          out += '\'';
          pos_ += 2;
          continue;
        }
        Advance();
        return true;
      }
      if (c == '\\') {
        if (!Escape(out)) return false;
        continue;
      }
      if (c == '\n' || c == '\r') {
        Advance();  // line ends inside a string are not part of it
        continue;
      }
      out += c;
      Advance();
    }
  }

  bool HexRun(std::size_t width, std::string& out) {
    // Groups of `width` hex digits up to "\X0\".
    while (true) {
      if (s_.compare(pos_, 4, "\\X0\\") == 0) {
        pos_ += 4;
        return true;
      }
      if (pos_ + width > s_.size()) return Failed("texto con \\X2\\ sin cerrar");
      uint32_t code = 0;
      for (std::size_t i = 0; i < width; ++i) {
        const int d = HexDigit(s_[pos_ + i]);
        if (d < 0) return Failed("dígito hexadecimal no válido en un texto");
        code = code * 16 + static_cast<uint32_t>(d);
      }
      pos_ += width;
      // A surrogate pair of UTF-16 makes one character.
      if (width == 4 && code >= 0xD800 && code < 0xDC00 && pos_ + 4 <= s_.size()) {
        uint32_t low = 0;
        bool ok = true;
        for (std::size_t i = 0; i < 4; ++i) {
          const int d = HexDigit(s_[pos_ + i]);
          if (d < 0) ok = false;
          low = low * 16 + static_cast<uint32_t>(d < 0 ? 0 : d);
        }
        if (ok && low >= 0xDC00 && low < 0xE000) {
          pos_ += 4;
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
      }
      AppendUtf8(code, out);
    }
  }

  bool Escape(std::string& out) {
    const std::string_view rest = s_.substr(pos_);
    if (rest.compare(0, 2, "\\\\") == 0) {
      out += '\\';
      pos_ += 2;
    } else if (rest.compare(0, 4, "\\X2\\") == 0) {
      pos_ += 4;
      return HexRun(4, out);
    } else if (rest.compare(0, 4, "\\X4\\") == 0) {
      pos_ += 4;
      return HexRun(8, out);
    } else if (rest.compare(0, 3, "\\X\\") == 0 && rest.size() >= 5 && HexDigit(rest[3]) >= 0 && HexDigit(rest[4]) >= 0) {
      AppendUtf8(static_cast<uint32_t>(HexDigit(rest[3]) * 16 + HexDigit(rest[4])), out);
      pos_ += 5;
    } else if (rest.compare(0, 3, "\\S\\") == 0 && rest.size() >= 4) {
      AppendUtf8(static_cast<unsigned char>(rest[3]) + 128u, out);
      pos_ += 4;
    } else if (rest.size() >= 4 && rest[1] == 'P' && rest[3] == '\\') {
      pos_ += 4;  // a change of code page: the \S\ characters after it are read as Latin-1
    } else {
      out += '\\';
      ++pos_;
    }
    return true;
  }

  std::string_view s_;
  StepFile& file_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  StepReadResult result_;
};

}  // namespace

StepReadResult ParseStep(std::string_view text, StepFile& file) {
  Parser parser(text, file);
  StepReadResult result = parser.Run();
  if (!result.ok) file.Index();
  return result;
}

std::string EncodeStepString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::string run;  // UTF-16 code units of the characters outside ASCII, in hex
  const auto flush = [&] {
    if (run.empty()) return;
    out += "\\X2\\" + run + "\\X0\\";
    run.clear();
  };
  const auto unit = [&](uint32_t code) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", code & 0xFFFFu);
    run += hex;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      flush();
      if (c == '\'') out += "''";
      else if (c == '\\') out += "\\\\";
      else out += static_cast<char>(c);
      ++i;
      continue;
    }
    uint32_t code = c;
    std::size_t n = 1;
    if (c >= 0xC2 && c < 0xE0) n = 2, code = c & 0x1F;
    else if (c >= 0xE0 && c < 0xF0) n = 3, code = c & 0x0F;
    else if (c >= 0xF0 && c < 0xF5) n = 4, code = c & 0x07;
    bool utf8 = n > 1 && i + n <= text.size();
    for (std::size_t k = 1; utf8 && k < n; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) utf8 = false;
      code = (code << 6) | (t & 0x3F);
    }
    if (!utf8) {
      code = c;  // Latin-1
      n = 1;
    }
    if (code >= 0x10000) {
      const uint32_t v = code - 0x10000;
      unit(0xD800 + (v >> 10));
      unit(0xDC00 + (v & 0x3FF));
    } else {
      unit(code);
    }
    i += n;
  }
  flush();
  return out;
}

std::string StepReal(double value) {
  char text[40];
  if (!std::isfinite(value)) value = 0;  // never write NaN or infinity
  if (value == 0) return "0.";
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*G", precision, value);
    double back = 0;
    std::from_chars(text, text + std::strlen(text), back);
    if (back == value) break;
  }
  std::string s(text);
  const std::size_t e = s.find('E');
  const std::string mantissa = s.substr(0, e);
  std::string exponent = e == std::string::npos ? "" : s.substr(e);
  std::string m = mantissa;
  if (m.find('.') == std::string::npos) m += '.';
  if (!exponent.empty()) {
    // "E-07" becomes "E-7".
    std::string digits = exponent.substr(2);
    while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
    exponent = exponent.substr(0, 2) + digits;
    if (exponent[1] == '+') exponent.erase(1, 1);
  }
  return m + exponent;
}

StepWriter::StepWriter(std::string_view fileName, std::string_view timeStamp, std::string_view application) {
  text_ = "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('ViewDefinition [Alignment-basedView]'),'2;1');\n";
  text_ += "FILE_NAME(" + Str(fileName) + "," + Str(timeStamp) + ",(''),(''),''," + Str(application) + ",'');\n";
  text_ += "FILE_SCHEMA(('IFC4X3_ADD2'));\nENDSEC;\nDATA;\n";
}

uint32_t StepWriter::Add(std::string_view type, std::string_view args) {
  const uint32_t id = next_++;
  text_ += '#';
  text_ += std::to_string(id);
  text_ += '=';
  text_ += type;
  text_ += '(';
  text_ += args;
  text_ += ");\n";
  return id;
}

std::string StepWriter::Finish() {
  text_ += "ENDSEC;\nEND-ISO-10303-21;\n";
  return std::move(text_);
}

}  // namespace ifc
