#include "formats/landxml/landxml_document.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "common/export_guard.h"
#include "common/file_stream.h"
#include "common/temp_files.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace viaducto {

namespace {
constexpr std::size_t kChunkSize = 1 << 16;
}  // namespace

// ---- Line joining and the selection list ------------------------------------------------------

bool JoinTextLines(const std::string& source, const std::string& target) {
  constexpr std::size_t kLineBuffer = 1280;
  common::FileChunkReader file;
  if (!file.Open(source)) return false;
  common::ReplacingFileStream out(target, common::ReplacingFileStream::Role::kScratch);
  if (!out.ok()) return false;

  bool previousEndedLine = false;
  bool previousHadTag = false;
  // Joins the pieces of `text`, which starts at the start of a line and ends after a line feed
  // or after whole pieces, so its pieces are the ones the whole file would give.
  auto joinPieces = [&](std::string_view text) {
    common::TextWriter writer;
    common::LineReader reader(text, kLineBuffer);
    std::string_view piece;
    while (reader.Next(piece)) {
      const bool endsLine = !piece.empty() && piece.back() == '\n';
      const std::string_view line = common::WithoutLineFeed(piece);
      const bool hasTag = line.find_first_of("<>") != std::string_view::npos;
      if (hasTag && previousEndedLine && previousHadTag) writer.Write("\n");
      writer.Write(line);
      previousEndedLine = endsLine;
      previousHadTag = hasTag;
    }
    return out.Write(writer.Bytes());
  };

  std::string pending;
  std::unique_ptr<char[]> buffer(new char[kChunkSize]);
  for (;;) {
    const std::size_t got = file.Read(buffer.get(), kChunkSize);
    if (got == 0) break;
    pending.append(buffer.get(), got);
    // A CR at the very end may be the first half of a CR LF.
    const std::size_t usable = pending.back() == '\r' ? pending.size() - 1 : pending.size();
    std::string ready = pending.substr(0, usable);
    common::NormalizeLineEnds(ready);
    std::size_t cut = ready.rfind('\n');
    if (cut != std::string::npos) {
      cut += 1;
    } else {
      cut = ready.size() - ready.size() % (kLineBuffer - 1);
    }
    if (cut == 0) continue;
    if (!joinPieces(std::string_view(ready).substr(0, cut))) return false;
    // What is left starts a line; keep it with the CR held back.
    pending = ready.substr(cut) + pending.substr(usable);
  }
  if (file.failed()) return false;
  common::NormalizeLineEnds(pending);
  if (!pending.empty() && !joinPieces(pending)) return false;
  return out.Commit();
}

void LeaveJoinedCopy(const std::string& entrada) {
  common::ScratchFile joined;
  if (joined.ok() && JoinTextLines(entrada, joined.path())) {
    std::rename(joined.path().c_str(), common::TempPath("$$$.xml").c_str());
  }
}

void ShowImportNotes(const std::vector<std::string>& notes) {
  if (notes.empty()) return;
  std::string text;
  for (const std::string& note : notes) {
    if (!text.empty()) text += "\n";
    text += note;
  }
  common::ShowApproximation(text);
}

bool WriteSelectionList(const std::vector<std::string>& entries) {
  common::TextWriter writer;
  for (const std::string& entry : entries) {
    writer.Write(entry);
    writer.Write("\n");
  }
  return common::WriteFileReplacing(SelectionListPath(), writer.Bytes());
}

}  // namespace viaducto
