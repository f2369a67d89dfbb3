// Every export that converts a source into a target, called in this process through the built
// libraries, on sources it cannot convert: a file that does not exist, a directory, a file that
// cannot be read, a target in a folder that does not exist, and files of another kind (a DXF
// drawing, a LandXML document, random bytes). Each must give result 0, leave no target behind
// (not even an empty one) and say why in a message that names the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/core/export_table.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/core/library_loader.h"
#include "support/test_support.h"

using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::string> messages;

extern "C" void CollectMessage(const char* caption, const char* text) {
  messages.push_back(std::string(caption != nullptr ? caption : "") + "|" + (text != nullptr ? text : ""));
}

// An export whose parameters are a source and a target, with at most fixed values around them.
struct Conversion {
  const frontend::ExportEntry* entry;
  std::vector<std::string> parameters;
};

std::vector<std::string> Split(const std::string& names) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = names.find(',', start);
    parts.push_back(names.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

std::vector<Conversion> Conversions() {
  std::vector<Conversion> conversions;
  for (const frontend::ExportEntry& entry : frontend::ExportTable()) {
    const std::vector<std::string> parameters = Split(entry.parameters);
    bool hasSource = false;
    bool hasTarget = false;
    for (const std::string& name : parameters) {
      hasSource = hasSource || name == "entrada";
      hasTarget = hasTarget || name == "salida";
    }
    if (hasSource && hasTarget) conversions.push_back(Conversion{&entry, parameters});
  }
  return conversions;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// What kind of file an export reads, from its name: a drawing, a LandXML document, or text.
bool ReadsDrawings(const std::string& name) { return Lower(name).find("importa_dxf") != std::string::npos; }

bool ReadsLandXml(const std::string& name) {
  const std::string lower = Lower(name);
  return lower.find("landxml2") != std::string::npos || lower.find("importa_landxml") != std::string::npos ||
         lower.find("supsel_landxml") != std::string::npos;
}

// A selection export writes its list (empty when there is nothing to choose) for the front end,
// which says why; the list is not a target.
bool WritesASelectionList(const std::string& name) { return Lower(name).find("sel") != std::string::npos; }

// The shapefile library says why in its own words, which name no file.
bool SpeaksItsOwnMessages(const std::string& library) { return library == "Shapeline"; }

// The arguments of a call: the source and target where the export takes them, a second source
// (`entrada2`) that is the same file, and neutral values for the rest.
std::vector<std::string> Arguments(const Conversion& conversion, const std::string& source, const std::string& target) {
  std::vector<std::string> arguments;
  for (const std::string& name : conversion.parameters) {
    if (name == "entrada" || name == "entrada2") {
      arguments.push_back(source);
    } else if (name == "salida") {
      arguments.push_back(target);
    } else if (name == "selec") {
      arguments.push_back("0");
    } else if (name == "pathAp") {
      arguments.push_back("/nonexistent");
    } else {
      arguments.push_back("");
    }
  }
  return arguments;
}

class ExportFailures : public ::testing::Test {
 protected:
  ExportFailures() : caller_(loader_, &CollectMessage) {}

  // Calls the export; the failures found, one line each (empty when it behaved).
  std::string Expect(const Conversion& conversion, const std::string& source, const std::string& target,
                     const std::string& named) {
    messages.clear();
    int32_t result = -1;
    try {
      result = caller_.Call(conversion.entry->library, conversion.entry->name, Arguments(conversion, source, target));
    } catch (const std::exception& error) {
      return std::string(conversion.entry->name) + ": " + error.what() + "\n";
    }
    std::string faults;
    const std::string who = std::string(conversion.entry->library) + ":" + conversion.entry->name;
    if (result != 0) faults += who + " returned " + std::to_string(result) + " for " + source + "\n";
    if (FileExists(target) && !WritesASelectionList(conversion.entry->name)) {
      faults += who + " left a target for " + source + "\n";
    }
    bool saidWhy = SpeaksItsOwnMessages(conversion.entry->library) && !messages.empty();
    for (const std::string& message : messages) saidWhy = saidWhy || message.find(named) != std::string::npos;
    if (!saidWhy) {
      faults += who + " did not say why for " + source + " (";
      for (const std::string& message : messages) faults += "[" + message + "]";
      faults += ")\n";
    }
    ::unlink(target.c_str());
    return faults;
  }

  frontend::LibraryLoader loader_;
  frontend::LibraryExportCaller caller_;
};

}  // namespace

TEST_F(ExportFailures, SourcesThatCannotBeReadGiveZeroNoTargetAndTheReason) {
  TempDir dir;
  const std::string missing = dir.File("no-existe.txt");
  const std::string target = dir.File("salida.out");
  std::string faults;
  for (const Conversion& conversion : Conversions()) {
    faults += Expect(conversion, missing, target, "No existe el fichero " + missing);
    faults += Expect(conversion, dir.path(), target, dir.path());
    // Opens as a regular file, then every read fails.
    faults += Expect(conversion, "/proc/self/mem", target, "/proc/self/mem");
  }
  EXPECT_EQ(faults, "");
}

TEST_F(ExportFailures, FilesOfAnotherKindGiveZeroNoTargetAndTheReason) {
  TempDir dir;
  const std::string drawing = DataFile("dxf/3dface.dxf");
  const std::string document = DataFile("landxml/subdivision.xml");
  const std::string noise = dir.File("ruido.bin");
  std::string bytes;
  unsigned state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 16);
  }
  WriteFile(noise, bytes);
  const std::string target = dir.File("salida.out");
  std::string faults;
  for (const Conversion& conversion : Conversions()) {
    const std::string name = conversion.entry->name;
    if (!ReadsDrawings(name)) faults += Expect(conversion, drawing, target, drawing);
    if (!ReadsLandXml(name)) faults += Expect(conversion, document, target, document);
    faults += Expect(conversion, noise, target, noise);
  }
  EXPECT_EQ(faults, "");
}

TEST_F(ExportFailures, TargetsInAMissingFolderGiveZeroAndTheReason) {
  TempDir dir;
  // Whatever the source, the export fails and names a file of this folder: the source when it
  // does not take it, the target when it does.
  const std::string source = dir.File("variante.eje");
  WriteFile(source, testing_support::ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje"));
  const std::string target = dir.File("no/existe/salida.out");
  std::string faults;
  for (const Conversion& conversion : Conversions()) faults += Expect(conversion, source, target, dir.path());
  EXPECT_EQ(faults, "");
}
