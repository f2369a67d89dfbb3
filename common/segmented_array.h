// The record table of this library: grows as records come and answers a bad index with the
// library's message and a blank record instead of reading out of bounds.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "common/message_hook.h"

namespace planimetro {

// Caption and texts of the table's messages, shown through the library's message hook.
inline constexpr char kContainerCaption[] = "Planimetro";
inline constexpr char kSubindiceInvalido[] = "Subíndice invalido";
inline constexpr char kElementoNoExiste[] = "Elemento no existe";
inline constexpr char kCreandoNuevoBloque[] = "Creando nuevo bloque";
inline constexpr char kErrorCreandoVector[] = "Error creando vector";
inline constexpr char kErrorReasignandoMemoria[] = "Error reasignando memoria a vector";

template <typename Record>
class SegmentedArray {
 public:
  // `badIndexMessage` is what a read outside 0 .. Size()-1 shows ("Subíndice invalido", or
  // "Elemento no existe" for the edge table of a surface).
  explicit SegmentedArray(const char* badIndexMessage = kSubindiceInvalido) : badIndexMessage_(badIndexMessage) {}

  std::size_t Size() const { return records_.size(); }
  bool Empty() const { return records_.empty(); }

  // The record at `index`; outside the table, the message and a blank record that is reset on
  // every such read, so that a write into it never shows up later.
  Record& At(long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) {
      common::ShowMessage(kContainerCaption, badIndexMessage_);
      blank_ = Record();
      return blank_;
    }
    return records_[static_cast<std::size_t>(index)];
  }

  // False, after the message, when memory runs out.
  bool Append(Record record) {
    try {
      records_.push_back(std::move(record));
      return true;
    } catch (const std::bad_alloc&) {
      common::ShowMessage(kContainerCaption, kCreandoNuevoBloque);
      return false;
    }
  }

  bool Reserve(std::size_t count) {
    try {
      records_.reserve(count);
      return true;
    } catch (const std::bad_alloc&) {
      common::ShowMessage(kContainerCaption, records_.capacity() == 0 ? kErrorCreandoVector : kErrorReasignandoMemoria);
      return false;
    } catch (const std::length_error&) {
      common::ShowMessage(kContainerCaption, records_.capacity() == 0 ? kErrorCreandoVector : kErrorReasignandoMemoria);
      return false;
    }
  }

  void Clear() { records_.clear(); }

  // The records in order, for sorting and for walking the whole table.
  std::vector<Record>& Records() { return records_; }
  const std::vector<Record>& Records() const { return records_; }

 private:
  std::vector<Record> records_;
  Record blank_{};
  const char* badIndexMessage_;
};

}  // namespace planimetro
