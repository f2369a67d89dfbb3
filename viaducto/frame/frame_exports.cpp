// The library's own small exports: message hook, marker word, and the retired point pair.
#include <cstring>

#include "common/export_guard.h"
#include "common/message_hook.h"
#include "common/temp_files.h"
#include "common/text_output.h"
#include "viaducto.h"

namespace {

constexpr char kMarkerWord[] = "marca";

int32_t RetiredPointConversion() { return 0; }

}  // namespace

void Viaducto_SetMessageHook(ViaductoMessageHook hook) { common::SetMessageHook(hook); }

void MyDll_ReverseString(char* sMyString) {
  common::GuardedExportVoid([&] {
    if (sMyString != nullptr) std::memcpy(sMyString, kMarkerWord, sizeof kMarkerWord);
    common::WriteFileReplacing(common::TempPath("prueba.$$$"), std::string_view(kMarkerWord, 5));
  });
}

int32_t MyDll_terrex2shapeline(const char*, const char*) { return RetiredPointConversion(); }

int32_t MyDll_shapeline2terrex(const char*, const char*) { return RetiredPointConversion(); }
