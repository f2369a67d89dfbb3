// DL-100 digital level: its comma-separated records turned into the IGN levelling book, and a
// point list turned into records the level loads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"

namespace viaducto {

enum LevelRecordKind : int {
  kFirstBack = 0,   // "g"
  kSecondBack = 1,  // "h"
  kFirstFore = 2,   // "i"
  kSecondFore = 3,  // "j"
  kStart = 4,       // "c"
  kEndV = 5,        // "v"
  kEndW = 6,        // "w"
};

struct LevelRecord {
  int kind = kFirstBack;
  char resolution = 0;  // digit that scales reading and distance
  double reading = 0;   // m
  double distance = 0;  // m
  int point = 0;
};

struct LevelLine {
  std::vector<LevelRecord> records;
  std::string startDate, startTime;  // "DD/MM/YY", "hh:mm"
  std::string endDate, endTime;
};

// Accepts the reading lines (g, h, i, j) with a known resolution digit and all their fields,
// and the date lines (c, v, w) that carry a date; every other line is skipped.
LevelLine ParseLevelRecords(std::string_view text);

struct LevelBookHeader {
  std::string empresa, operador, mira1, mira2, nserie;
};

// Header, ruler and one row per set-up (each first back-sight reading starts one).
void FormatLevellingBook(const LevelLine& line, const LevelBookHeader& header, common::TextWriter& writer);

// 1 when the book was written; 0 (reason recorded) when entrada cannot be read, holds two or
// fewer records, or salida cannot be written.
int ConvertLevelToBook(const std::string& entrada, const std::string& salida, const LevelBookHeader& header);

// "name x y z [code]" lines to "z,01,name,,,+<z in mm>,code"; the number of points written.
// The conversion gives 0 when a file cannot be read or written, or there is no point.
std::size_t FormatLevelPoints(std::string_view text, common::TextWriter& writer);
int ConvertPointsToLevel(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
