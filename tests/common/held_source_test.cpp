// A held source: the passes of one conversion read one opening of the file, and a later holder
// takes that opening over only while the path still names the same, unchanged file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/file_stream.h"
#include "common/text_input.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

std::string ReadChunks(const std::string& path) {
  common::FileChunkReader reader;
  if (!reader.Open(path)) return "<no se abre>";
  std::string text;
  char buffer[3];
  for (std::size_t got; (got = reader.Read(buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  return text;
}

TEST(HeldSource, EveryPassReadsTheHeldFileFromItsStart) {
  TempDir dir;
  const std::string path = dir.File("fuente.xml");
  WriteFile(path, "primera");
  const common::HeldSource held(path);
  // Replaced under its name while held: the passes still read the file they began with, each
  // from its start (the openings share no position).
  WriteFile(dir.File("otra"), "segunda");
  ASSERT_EQ(std::rename(dir.File("otra").c_str(), path.c_str()), 0);
  EXPECT_EQ(ReadChunks(path), "primera");
  EXPECT_EQ(ReadChunks(path), "primera");
  std::string whole;
  ASSERT_TRUE(common::ReadWholeFile(path, whole));
  EXPECT_EQ(whole, "primera");
  // Another path is not held.
  WriteFile(dir.File("suelto.txt"), "suelto");
  EXPECT_EQ(ReadChunks(dir.File("suelto.txt")), "suelto");
}

TEST(HeldSource, ALaterHolderTakesTheOpeningOverOnlyWhileTheFileIsTheSame) {
  TempDir dir;
  const std::string path = dir.File("fuente.xml");
  WriteFile(path, "primera");
  { const common::HeldSource listing(path); }
  {
    const common::HeldSource conversion(path);  // the same unchanged file
    EXPECT_EQ(ReadChunks(path), "primera");
  }
  // Replaced between two holders: the next one reads the new file.
  WriteFile(dir.File("otra"), "segunda, más larga");
  ASSERT_EQ(std::rename(dir.File("otra").c_str(), path.c_str()), 0);
  {
    const common::HeldSource conversion(path);
    EXPECT_EQ(ReadChunks(path), "segunda, más larga");
  }
  // Gone: nothing is held, and the readers say it cannot be read.
  std::remove(path.c_str());
  const common::HeldSource missing(path);
  EXPECT_EQ(ReadChunks(path), "<no se abre>");
}

}  // namespace
