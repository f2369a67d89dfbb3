// The STEP physical file (the text exchange structure of IFC files): a writer of entity
// instances and a reader that keeps every instance of the DATA section by its id. Values are
// kept as written; the IFC layer gives them meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ifc {

// One parameter of an entity instance.
struct StepValue {
  enum Kind { kNull, kDerived, kInteger, kReal, kString, kEnum, kRef, kList, kTyped, kBinary };
  Kind kind = kNull;
  double number = 0;      // kInteger and kReal (the integer as a double too)
  long long integer = 0;  // kInteger
  uint32_t ref = 0;       // kRef: the id after "#"
  std::string text;       // kString (decoded to UTF-8), kEnum (without dots), kTyped (type name, upper case), kBinary
  std::vector<StepValue> items;  // kList: its members; kTyped: the one value inside

  bool IsNumber() const { return kind == kInteger || kind == kReal; }
  // The number, looking through a typed value such as IFCLENGTHMEASURE(1.).
  bool AsNumber(double& out) const;
};

struct StepEntity {
  uint32_t id = 0;
  std::string type;  // upper case, as IFCALIGNMENT
  std::vector<StepValue> args;
  std::size_t line = 0;  // where the instance begins, for messages

  const StepValue* Arg(std::size_t i) const { return i < args.size() ? &args[i] : nullptr; }
};

class StepFile {
 public:
  std::vector<std::string> schemas;  // FILE_SCHEMA
  std::vector<StepEntity> entities;  // in the order of the file

  const StepEntity* Find(uint32_t id) const;
  // The entity an argument refers to, when it is a reference that resolves.
  const StepEntity* Resolve(const StepValue* value) const;
  // The instances of one type, in file order (from the index: Index() must have run).
  std::vector<const StepEntity*> OfType(std::string_view upperType) const;
  // Builds the index by id; 1 + the position of the first instance whose id was already
  // taken (that one is not indexed), 0 when every id is unique.
  std::size_t Index();

 private:
  std::unordered_map<uint32_t, std::size_t> byId_;
  std::unordered_map<std::string, std::vector<std::size_t>> byType_;
};

struct StepReadResult {
  bool ok = false;
  std::string error;  // Spanish, with the line
  std::size_t line = 0;
};

// Reads a whole file's text. Malformed text stops the reading with the reason; the instances
// read before it are kept. A repeated id is an error.
StepReadResult ParseStep(std::string_view text, StepFile& file);

// The text of a string argument as the file writes it: quotes doubled, backslashes doubled,
// every character outside printable ASCII as \X2\hhhh\X0\ (UTF-16), read from UTF-8 (bytes
// that are not UTF-8 are taken as Latin-1).
std::string EncodeStepString(std::string_view utf8);

// A real as the file writes it: shortest text that reads back to the same double, always with
// a decimal point ("1.", "0.25", "1.5E-7").
std::string StepReal(double value);

// Writes instances with consecutive ids; the caller gives each parameter list as text.
class StepWriter {
 public:
  // The header's description, file name and the time stamp, and the schema.
  StepWriter(std::string_view fileName, std::string_view timeStamp, std::string_view application);
  // Adds "#n=TYPE(args);" and returns n.
  uint32_t Add(std::string_view type, std::string_view args);
  // The next id Add will give.
  uint32_t Next() const { return next_; }
  std::string Finish();

  static std::string Ref(uint32_t id) { return "#" + std::to_string(id); }
  static std::string Str(std::string_view text) { return "'" + EncodeStepString(text) + "'"; }

 private:
  std::string text_;
  uint32_t next_ = 1;
};

}  // namespace ifc
