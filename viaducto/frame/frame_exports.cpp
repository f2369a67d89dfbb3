// The library's own small exports: message hook, marker word, and the retired point pair.
#include <cstring>
#include <string>

#include "common/export_guard.h"
#include "common/message_hook.h"
#include "common/temp_files.h"
#include "common/text_output.h"
#include "viaducto.h"

namespace {

constexpr char kMarkerWord[] = "marca";

// The point exchange with shapefiles is done by the Shapeline library; this pair only says so,
// without opening either file.
int32_t RetiredPointConversion(const char* entrada) {
  return common::GuardedExport(0, [&] {
    common::RecordFailure(std::string("No se ha convertido el fichero ") + common::PathArgument(entrada) +
                          ": los puntos se intercambian con shapefiles en la biblioteca Shapeline");
    return 0;
  });
}

}  // namespace

void Viaducto_SetMessageHook(ViaductoMessageHook hook) { common::SetMessageHook(hook); }

void MyDll_ReverseString(char* sMyString) {
  common::GuardedExportVoid([&] {
    if (sMyString != nullptr) std::memcpy(sMyString, kMarkerWord, sizeof kMarkerWord);
    common::WriteFileReplacing(common::TempPath("prueba.$$$"), std::string_view(kMarkerWord, 5));
  });
}

int32_t MyDll_terrex2shapeline(const char* entrada, const char*) { return RetiredPointConversion(entrada); }

int32_t MyDll_shapeline2terrex(const char* entrada, const char*) { return RetiredPointConversion(entrada); }
