// The shared part of every fuzz target: the fuzzer's bytes become the input files of one
// export of the family, which runs through the same library loader and export table as the
// command line, in a private directory that is emptied after every run.
//
// The first byte picks the call, the second chooses small values (a selection index, a name);
// the rest is the content, cut into several input files at each "\n@@@@\n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fuzzing {

// One export and its arguments, given as words:
//   IN, IN2, IN3  the input files (first, second, third part of the content)
//   SHP           a shapefile whose .shp, .shx and .dbf are the three parts
//   OUT, OUT2     targets in the private directory
//   DIR           the private directory (where a jalonex.ini may be written from IN2)
//   SEL           an index 0..3        NAME  a profile, surface or layer name from a short list
//   anything else is passed as it stands
struct FuzzCall {
  const char* exportName;  // "Library:Export"
  std::vector<const char*> arguments;
};

int RunFuzzCalls(const uint8_t* data, std::size_t size, const std::vector<FuzzCall>& calls);

// The content cut at each "\n@@@@\n": at least three parts, the missing ones empty.
std::vector<std::string_view> SplitParts(std::string_view content);

}  // namespace fuzzing

// Defines fuzzing::Run_<family>(data, size) and, in a fuzzing build, the libFuzzer entry
// point that calls it. The regression tests call the same function on kept inputs.
#ifdef PASARELA_FUZZ_ENTRY
#define PASARELA_FUZZ_ENTRY_POINT(family)                                          \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {   \
    return fuzzing::Run_##family(data, size);                                      \
  }
#else
#define PASARELA_FUZZ_ENTRY_POINT(family)
#endif

#define PASARELA_FUZZ_FAMILY(family, ...)                                          \
  namespace fuzzing {                                                              \
  int Run_##family(const uint8_t* data, std::size_t size) {                        \
    static const std::vector<FuzzCall> calls = {__VA_ARGS__};                     \
    return RunFuzzCalls(data, size, calls);                                        \
  }                                                                                \
  }                                                                                \
  PASARELA_FUZZ_ENTRY_POINT(family)
