// Helpers of the tests: a fresh directory per test, whole files in and out.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// A new empty directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Text with every "\n" written as CR LF, for the expected bytes of a written file.
std::string CrLf(const std::string& text);

// A file under tests/data.
std::string DataFile(const std::string& name);

// A file of the samples of other programs kept beside the repository (../shared/samples), which
// a clone elsewhere does not have: tests skip when SharedSamplesPresent() is false.
std::string SharedSample(const std::string& name);
bool SharedSamplesPresent();

// Runs a two-path conversion (entrada, salida) on `input` written to a fresh file and returns
// the target's bytes, or "<none>" when no target was written; expects `expectedResult`.
using TwoPathConversion = int32_t (*)(const char*, const char*);
std::string ConvertBytes(TwoPathConversion conversion, const std::string& input, int32_t expectedResult = 1);

// `text` quoted for the shell, whatever quotes or blanks it holds.
std::string Quoted(const std::string& text);

// The command-line program of the build under test.
inline std::string CliPath() { return std::string(PASARELA_BINARY_DIR) + "/bin/pasarela-cli"; }

// Runs a shell command; its standard output in `output`, its exit status as result.
int RunCommand(const std::string& command, std::string& output);

}  // namespace testing_support
