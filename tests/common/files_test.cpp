#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/export_guard.h"
#include "common/message_hook.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "common/text_output.h"
#include "support/test_support.h"

using testing_support::ReadFile;
using testing_support::TempDir;

TEST(TextWriter, WritesCrLfAndCLocaleNumbers) {
  TempDir dir;
  common::TextWriter writer;
  writer.Printf("%0.3lf %d\n", 1234.5, 7);
  writer.Write("a\nb");
  writer.Printf("%s\n", std::string(1000, 'x').c_str());  // longer than the stack buffer
  ASSERT_TRUE(writer.SaveTo(dir.File("out.txt")));
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "1234.500 7\r\na\r\nb" + std::string(1000, 'x') + "\r\n");
}

TEST(TextWriter, FailedSaveLeavesNoFile) {
  TempDir dir;
  common::TextWriter writer;
  writer.Printf("x\n");
  EXPECT_FALSE(writer.SaveTo(dir.File("missing-dir/out.txt")));
  EXPECT_FALSE(writer.SaveTo(dir.path()));
  EXPECT_FALSE(writer.SaveTo(""));
  // A FIFO or a device as target is refused at once and stays where it is.
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(writer.SaveTo(fifo));
  EXPECT_TRUE(testing_support::FileExists(fifo));
  EXPECT_FALSE(writer.SaveTo("/dev/null"));
  EXPECT_TRUE(testing_support::FileExists("/dev/null"));
}

TEST(WriteFileReplacing, ReplacesAPlantedLinkInsteadOfFollowingIt) {
  TempDir dir;
  const std::string victim = dir.File("victim.txt");
  testing_support::WriteFile(victim, "keep");
  const std::string fixed = dir.File("fixed.$$$");
  ASSERT_EQ(::symlink(victim.c_str(), fixed.c_str()), 0);
  ASSERT_TRUE(common::WriteFileReplacing(fixed, "new"));
  EXPECT_EQ(ReadFile(victim), "keep");
  EXPECT_EQ(ReadFile(fixed), "new");
}

TEST(TempFiles, UseTempThenTmpdirThenTmp) {
  const char* savedTemp = std::getenv("TEMP");
  const std::string keptTemp = savedTemp != nullptr ? savedTemp : "";
  const char* savedTmpdir = std::getenv("TMPDIR");
  const std::string keptTmpdir = savedTmpdir != nullptr ? savedTmpdir : "";

  ::setenv("TEMP", "/uno/", 1);
  ::setenv("TMPDIR", "/dos", 1);
  EXPECT_EQ(common::TempDirectory(), "/uno");
  EXPECT_EQ(common::TempPath("$$$$.EJE"), "/uno/$$$$.EJE");
  ::unsetenv("TEMP");
  EXPECT_EQ(common::TempDirectory(), "/dos");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(common::TempDirectory(), "/tmp");

  if (savedTemp != nullptr) ::setenv("TEMP", keptTemp.c_str(), 1);
  if (savedTmpdir != nullptr) ::setenv("TMPDIR", keptTmpdir.c_str(), 1);
}

TEST(TempFiles, ScratchFilesAreUniqueAndRemoved) {
  std::string first;
  {
    common::ScratchFile a;
    common::ScratchFile b;
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok());
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(testing_support::FileExists(a.path()));
    first = a.path();
  }
  EXPECT_FALSE(testing_support::FileExists(first));
}

TEST(Paths, SplitChangeAndSuffix) {
  const common::PathParts parts = common::SplitPath("/obra/v1.2/eje.norte.eje");
  EXPECT_EQ(parts.directory, "/obra/v1.2/");
  EXPECT_EQ(parts.name, "eje.norte");
  EXPECT_EQ(parts.extension, ".eje");
  EXPECT_EQ(common::ChangeExtension("/obra/v1.2/eje", "gts"), "/obra/v1.2/eje.gts");
  EXPECT_EQ(common::ChangeExtension("eje.xml", "eje"), "eje.eje");
  EXPECT_EQ(common::AppendSuffix("/a/b.tra", "Sub"), "/a/bSub.tra");
  EXPECT_EQ(common::JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(common::JoinPath("/a", "b"), "/a/b");
}

namespace {
std::string lastMessage;
void Record(const char* caption, const char* text) { lastMessage = std::string(caption) + "|" + text; }
}  // namespace

TEST(MessageHook, ReachesTheInstalledHook) {
  common::SetMessageHook(&Record);
  common::ShowMessage("Error", "Clotoide");
  EXPECT_EQ(lastMessage, "Error|Clotoide");
  common::SetMessageHook(nullptr);
}

TEST(GuardedExport, SwitchesToCLocaleAndCatches) {
  const char* spanish = std::setlocale(LC_ALL, "es_ES.UTF-8");
  ASSERT_NE(spanish, nullptr) << "the es_ES.UTF-8 locale is needed (scripts/install-deps.sh makes it)";
  char outside[32];
  std::snprintf(outside, sizeof outside, "%0.3f", 1234.5);
  EXPECT_STREQ(outside, "1234,500");
  char inside[32] = {};
  EXPECT_EQ(common::GuardedExport(0, [&] {
              std::snprintf(inside, sizeof inside, "%0.3f", 1234.5);
              return 1;
            }),
            1);
  EXPECT_STREQ(inside, "1234.500");
  EXPECT_EQ(common::GuardedExport(7, []() -> int { throw std::runtime_error("x"); }), 7);
  std::snprintf(outside, sizeof outside, "%0.1f", 2.5);
  EXPECT_STREQ(outside, "2,5");  // the caller's locale is back
  std::setlocale(LC_ALL, "C");
}
