// LandXML documents: the event-driven reader every LandXML import uses (xml_reader.h), the writer that gives
// every exported document the same frame and text, the line-joining copy of the "WCE"
// imports and the selection list handed to the front end.
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/landxml/landxml_writer.h"
#include "common/temp_files.h"
#include "formats/landxml/xml_reader.h"

namespace viaducto {

// The reader is shared with the surfaces and points of Planimetro; its names are used here
// unqualified as before.
using common::GetAttribute;
using common::GetNumber;
using common::LandXmlAttribute;
using common::LandXmlAttributes;
using common::LandXmlHandler;
using common::LandXmlReader;
using common::LandXmlWriter;
using common::NameIs;
using common::ParseResult;

// Copies `source` to `target`, joining lines: each line loses its line feed, and a line end is
// written only between two lines that both hold a "<" or ">". Lines are read in pieces of at
// most 1279 characters, as the import always has. Streams; false when `source` cannot be read
// or `target` written.
bool JoinTextLines(const std::string& source, const std::string& target);

// Shows what an import approximated or could not keep, one line each, in one message with
// the caption "Aviso"; nothing when there is nothing to say.
void ShowImportNotes(const std::vector<std::string>& notes);

// The copy of a document with its lines joined, left in the temporary directory as "$$$.xml"
// for the tools that look there. The conversions themselves read the document: numbers of a
// point text spread over lines without indentation would run together in the joined copy.
void LeaveJoinedCopy(const std::string& entrada);

// The fixed file through which a selection export hands its list to the front end.
using common::SelectionListPath;

// One entry per line, replacing the file.
bool WriteSelectionList(const std::vector<std::string>& entries);

}  // namespace viaducto
