// Turns an export's C prototype into an ExportInvoker: each text argument is converted to the
// type the prototype declares (path, in/out buffer or 32-bit integer).
#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frontend/core/export_table.h"

namespace frontend::detail {

struct ArgumentStore {
  std::vector<std::string> buffers;  // storage of the in/out buffers
};

template <typename T>
bool ConvertArgument(const std::string& text, ArgumentStore& store, T& value, std::string& error) {
  if constexpr (std::is_same_v<T, const char*>) {
    value = text.c_str();
    return true;
  } else if constexpr (std::is_same_v<T, char*>) {
    std::string buffer = text;
    buffer.resize(std::max(kInOutBufferSize, text.size() + 1), '\0');
    store.buffers.push_back(std::move(buffer));
    value = store.buffers.back().data();
    return true;
  } else {
    static_assert(std::is_same_v<T, int32_t>, "exports take texts and 32-bit integers");
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) {
      error = "argumento no entero: " + text;
      return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
  }
}

template <typename Signature>
struct Invoker;

template <typename Result, typename... Parameters>
struct Invoker<Result(Parameters...)> {
  static constexpr int kCount = sizeof...(Parameters);

  static bool Call(void* entry, const std::vector<std::string>& arguments, CallOutcome& outcome, std::string& error) {
    if (arguments.size() != sizeof...(Parameters)) {
      error = "número de argumentos incorrecto";
      return false;
    }
    ArgumentStore store;
    store.buffers.reserve(sizeof...(Parameters));
    std::tuple<Parameters...> values{};
    if (!ConvertAll(arguments, store, values, error, std::index_sequence_for<Parameters...>{})) return false;
    auto function = reinterpret_cast<Result (*)(Parameters...)>(entry);
    if constexpr (std::is_void_v<Result>) {
      std::apply(function, values);
    } else {
      outcome.hasResult = true;
      outcome.result = static_cast<int32_t>(std::apply(function, values));
    }
    for (std::string& buffer : store.buffers) outcome.buffers.emplace_back(buffer.c_str());
    return true;
  }

  template <std::size_t... I>
  static bool ConvertAll(const std::vector<std::string>& arguments, ArgumentStore& store,
                         std::tuple<Parameters...>& values, std::string& error, std::index_sequence<I...>) {
    return (ConvertArgument(arguments[I], store, std::get<I>(values), error) && ...);
  }
};

}  // namespace frontend::detail

// One line of the table: the library, the export and its parameter names; the types come from
// the export's declaration in the library's public header.
#define PASARELA_EXPORT(library, name, parameters)                                      \
  frontend::ExportEntry {                                                               \
    library, #name, parameters, frontend::detail::Invoker<decltype(name)>::kCount,      \
        &frontend::detail::Invoker<decltype(name)>::Call                                \
  }
