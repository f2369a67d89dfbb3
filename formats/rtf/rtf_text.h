// Plain text from an RTF document, with the cells of its tables kept apart: each table row
// becomes one line whose cells end with " | ". Only what a report reader needs is understood:
// paragraphs, tables, special characters; fonts, pictures, styles and the like are dropped.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace viaducto {

// The text of `rtf`, lines ended by "\n". Bytes are kept as they are (a report in Windows-1252
// stays so). `trace`, when given, receives a diagnostic account of the reading.
std::string RtfToText(std::string_view rtf, std::FILE* trace = nullptr);

}  // namespace viaducto
