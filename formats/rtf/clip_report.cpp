#include "formats/rtf/clip_report.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/conversion.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto.h"
#include "formats/rtf/rtf_text.h"

namespace viaducto {

namespace {

constexpr double kTolerance = 0.0001;
constexpr int kCellsPerRow = 10;

bool Near(double a, double b) { return std::fabs(a - b) < kTolerance; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && common::EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// "km+m" as kilometres × 1000 + metres; a value without "+" is metres.
double ReportStation(std::string_view value) {
  const std::size_t plus = value.find('+');
  if (plus == std::string_view::npos) return common::LenientDouble(value);
  return common::LenientDouble(value.substr(0, plus)) * 1000.0 + common::LenientDouble(value.substr(plus + 1));
}

// The values one row gives.
// A value of a row, once given.
struct RowValue {
  double value = 0;
  bool given = false;
  void Set(std::string_view text) {
    value = common::LenientDouble(text);
    given = true;
  }
};

struct RowValues {
  RowValue firstOffset, firstElevation, secondOffset, secondElevation;
  bool fromCellFour = false;
};

// The next cell of a row: a word that begins with "|" is an empty cell; another word is the
// cell's value when a "|" follows it, else the word after the next one is looked at the same
// way (a cell of one or three words gives its last word, one of two words gives nothing).
bool NextCell(common::Tokenizer& words, std::string_view& value) {
  std::string_view word, next;
  while (words.Next(" \n", word)) {
    if (word.front() == '|') {
      value = std::string_view();
      return true;
    }
    if (!words.Next(" \n", next)) return false;
    if (next.front() == '|') {
      value = word;
      return true;
    }
  }
  return false;
}

// ---- Matching --------------------------------------------------------------------------------

// Equal within the tolerance in station and offset; else by station, then by offset.
int CompareReportPoints(const CrossSectionPoint& a, const CrossSectionPoint& b) {
  if (!Near(a.station, b.station)) return a.station < b.station ? -1 : 1;
  if (!Near(a.offset, b.offset)) return a.offset < b.offset ? -1 : 1;
  return 0;
}

void CleanAndSort(std::vector<CrossSectionPoint>& points) {
  // Repeated points go; points of one section at one offset are spread 0.001 apart.
  std::vector<CrossSectionPoint> kept;
  kept.reserve(points.size());
  for (CrossSectionPoint& p : points) {
    if (!kept.empty() && kept.back().station == p.station && Near(kept.back().offset, p.offset) &&
        Near(kept.back().elevation, p.elevation)) {
      continue;
    }
    kept.push_back(std::move(p));
  }
  for (std::size_t runStart = 0; runStart < kept.size();) {
    std::size_t runEnd = runStart + 1;
    const double offset = kept[runStart].offset;
    while (runEnd < kept.size() && kept[runEnd].station == kept[runStart].station && Near(kept[runEnd].offset, offset)) {
      kept[runEnd].offset = offset + 0.001 * static_cast<double>(runEnd - runStart);
      ++runEnd;
    }
    runStart = runEnd;
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](const CrossSectionPoint& a, const CrossSectionPoint& b) { return CompareReportPoints(a, b) < 0; });
  points.clear();
  for (CrossSectionPoint& p : kept) {
    if (!points.empty() && CompareReportPoints(points.back(), p) == 0) continue;
    points.push_back(std::move(p));
  }
}

// The points of one station in one surface: indices [begin, end).
struct Section {
  std::vector<CrossSectionPoint>& points;
  std::size_t begin;
  std::size_t end;

  std::size_t size() const { return end - begin; }
  CrossSectionPoint& at(std::size_t i) { return points[begin + i]; }
};

std::optional<double> AxisElevation(Section& s) {
  std::optional<std::size_t> lastLeft, firstRight;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double offset = s.at(i).offset;
    if (Near(offset, 0.0)) return s.at(i).elevation;
    if (offset < 0) lastLeft = i;
    if (offset > 0 && !firstRight) firstRight = i;
  }
  if (!lastLeft || !firstRight) return std::nullopt;
  const CrossSectionPoint& l = s.at(*lastLeft);
  const CrossSectionPoint& r = s.at(*firstRight);
  if (r.offset == l.offset) return (l.elevation + r.elevation) / 2.0;
  return l.elevation + (r.elevation - l.elevation) * (0.0 - l.offset) / (r.offset - l.offset);
}

// Numbers handed out from `start` down, never below `floor`.
class Numbering {
 public:
  Numbering(int start, int floor) : next_(start), floor_(floor) {}
  std::string Next() {
    last_ = next_;
    if (next_ > floor_) --next_;
    return std::to_string(last_);
  }
  std::string Last() const { return std::to_string(last_); }

 private:
  int next_;
  int floor_;
  int last_ = 0;
};

// One side of a section seen from outside inward: position k is the k-th point from the
// outer edge. The left side runs from the leftmost point, the right side from the rightmost.
class Side {
 public:
  Side(Section& section, bool left) : section_(section), left_(left) {}
  std::size_t size() const { return section_.size(); }
  CrossSectionPoint& at(std::size_t k) { return section_.at(left_ ? k : section_.size() - 1 - k); }
  // On this side of the axis: offset ≤ 0 on the left, ≥ 0 on the right.
  bool OnSide(std::size_t k) { return left_ ? at(k).offset <= 0 : at(k).offset >= 0; }
  // Strictly away from the axis.
  bool Outside(std::size_t k) { return left_ ? at(k).offset < 0 : at(k).offset > 0; }

 private:
  Section& section_;
  bool left_;
};

struct CommonPoint {
  std::size_t first;   // position in the first surface's side
  std::size_t second;  // position in the second surface's side
};

std::optional<CommonPoint> FindCommon(Side& a, Side& b, std::size_t fromA, std::size_t fromB) {
  for (std::size_t i = fromA; i < a.size() && a.OnSide(i); ++i) {
    for (std::size_t j = fromB; j < b.size() && b.OnSide(j); ++j) {
      if (Near(a.at(i).offset, b.at(j).offset) && Near(a.at(i).elevation, b.at(j).elevation)) return CommonPoint{i, j};
    }
  }
  return std::nullopt;
}

// Numbers one side of a station; returns its common point, if any.
std::optional<CommonPoint> NumberSide(Side a, Side b, bool sharedAxis) {
  const std::optional<CommonPoint> common = FindCommon(a, b, 0, 0);
  if (!common) return std::nullopt;
  // The outer points of the first surface: 99 down when its edge rises, else 79 down.
  const bool edgeRises = a.size() > 1 && a.at(0).elevation > a.at(1).elevation;
  Numbering outer = edgeRises ? Numbering(99, 80) : Numbering(79, 61);
  for (std::size_t k = 0; k < common->first; ++k) a.at(k).code = outer.Next();

  const std::optional<CommonPoint> inner = FindCommon(a, b, common->first + 1, common->second + 1);
  Numbering numbers(40, 10);
  if (inner) {
    b.at(common->second).code = "40";
    for (std::size_t k = common->first; k <= inner->first; ++k) {
      if (!Near(a.at(k).offset, 0.0)) a.at(k).code = numbers.Next();
    }
    b.at(inner->second).code = numbers.Last();
  } else if (sharedAxis) {
    b.at(0).code = numbers.Next();
    for (std::size_t k = 1; k <= common->first; ++k) {
      if (!Near(a.at(k).offset, 0.0)) a.at(k).code = numbers.Next();
    }
    b.at(common->second).code = numbers.Last();
  } else {
    for (std::size_t k = common->first; k < a.size() && a.Outside(k); ++k) a.at(k).code = numbers.Next();
    Numbering own(40, 10);
    for (std::size_t k = common->second; k < b.size() && b.Outside(k); ++k) b.at(k).code = own.Next();
  }
  return common;
}

std::size_t SectionEnd(const std::vector<CrossSectionPoint>& points, std::size_t begin) {
  std::size_t end = begin;
  while (end < points.size() && points[end].station == points[begin].station) ++end;
  return end;
}

}  // namespace

ClipReportSurfaces ReadClipReportCells(std::string_view text) {
  ClipReportSurfaces surfaces;
  double station = 0;
  common::LineReader reader(text, text.size() + 2);  // the text is the reader's own: no piece limit
  std::string_view line;
  while (reader.Next(line)) {
    // Each row is one line; values of a row never carry into the next.
    common::Tokenizer words(line);
    RowValues row;
    int cell = 0;
    bool stationRow = false;
    std::string_view value;
    while (NextCell(words, value)) {
      if (stationRow) {  // cell 1 of a station row holds the station; the rest is not needed
        station = ReportStation(value);
        break;
      }
      if (cell == 0) {
        if (StartsWithIgnoringCase(value, "Estaci")) {
          stationRow = true;
          continue;
        }
        if (StartsWithIgnoringCase(value, "T.Dis") || StartsWithIgnoringCase(value, "C.D.") ||
            StartsWithIgnoringCase(value, "C.I.")) {
          break;  // a heading row
        }
        if (!value.empty()) row.firstOffset.Set(value);
      } else if (cell == 1) {
        if (!value.empty()) row.firstElevation.Set(value);
      } else if (cell == 4) {
        // A value here replaces the point of cells 0 and 1, with its elevation from cell 5.
        row.fromCellFour = !value.empty();
        if (row.fromCellFour) {
          row.firstOffset.Set(value);
          row.firstElevation = RowValue();
        }
      } else if (cell == 5) {
        if (row.fromCellFour && !value.empty()) row.firstElevation.Set(value);
      } else if (cell == 8) {
        if (!value.empty()) row.secondOffset.Set(value);
      } else if (cell == 9) {
        if (!value.empty()) row.secondElevation.Set(value);
      }
      if (++cell == kCellsPerRow) {
        if (row.firstOffset.given && row.firstElevation.given) {
          surfaces.first.points.push_back(CrossSectionPoint{station, row.firstOffset.value, row.firstElevation.value, ""});
        }
        if (row.secondOffset.given && row.secondElevation.given) {
          surfaces.second.points.push_back(
              CrossSectionPoint{station, row.secondOffset.value, row.secondElevation.value, ""});
        }
        row = RowValues();
        cell = 0;
      }
    }
  }
  return surfaces;
}

void MatchClipReportSurfaces(ClipReportSurfaces& surfaces) {
  std::vector<CrossSectionPoint>& first = surfaces.first.points;
  std::vector<CrossSectionPoint>& second = surfaces.second.points;
  CleanAndSort(first);
  CleanAndSort(second);

  std::vector<CrossSectionPoint> completed;
  completed.reserve(second.size() + first.size());
  std::size_t a = 0, b = 0;
  while (a < first.size() && b < second.size() && Near(first[a].station, second[b].station)) {
    Section sa{first, a, SectionEnd(first, a)};
    Section sb{second, b, SectionEnd(second, b)};
    const std::optional<double> axisA = AxisElevation(sa);
    const std::optional<double> axisB = AxisElevation(sb);
    const bool sharedAxis = axisA && axisB && Near(*axisA, *axisB);
    const std::optional<CommonPoint> left = NumberSide(Side(sa, true), Side(sb, true), sharedAxis);
    const std::optional<CommonPoint> right = NumberSide(Side(sa, false), Side(sb, false), sharedAxis);

    // The second surface takes the first one's outer points beyond a common point numbered 40
    // in both.
    if (left && sa.at(left->first).code == "40" && sb.at(left->second).code == "40") {
      for (std::size_t k = 0; k < left->first; ++k) completed.push_back(sa.at(k));
    }
    for (std::size_t k = 0; k < sb.size(); ++k) completed.push_back(sb.at(k));
    if (right) {
      const std::size_t commonA = sa.size() - 1 - right->first;
      const std::size_t commonB = sb.size() - 1 - right->second;
      if (sa.at(commonA).code == "40" && sb.at(commonB).code == "40") {
        for (std::size_t k = commonA + 1; k < sa.size(); ++k) completed.push_back(sa.at(k));
      }
    }
    a = sa.end;
    b = sb.end;
  }
  // Sections past the first station the surfaces do not share are kept as they were.
  for (; b < second.size(); ++b) completed.push_back(second[b]);
  second.swap(completed);
}

int ConvertClipReport(const std::string& lecturas, const std::string& salida1, const std::string& salida2) {
  constexpr common::ConversionRule kClipReport{"un informe de secciones en RTF", "ningún perfil transversal",
                                               common::FileKind::kRtf};
  if (!common::CheckConversionTarget(lecturas, salida1) || !common::CheckConversionTarget(lecturas, salida2)) return 0;
  std::string rtf;
  if (!common::LoadConversionSource(lecturas, kClipReport, rtf, false)) return 0;
  ClipReportSurfaces surfaces = ReadClipReportCells(RtfToText(rtf));
  MatchClipReportSurfaces(surfaces);
  if (!common::RequireSomething(surfaces.first.points.empty(), lecturas, kClipReport)) return 0;
  for (const auto& [set, path] : {std::pair{&surfaces.first, &salida1}, std::pair{&surfaces.second, &salida2}}) {
    common::TextWriter writer;
    for (const CrossSectionPoint& p : set->points) {
      writer.Printf("%11.3lf %11.3lf %11.3lf %s\n", Printable(p.station), Printable(p.offset), Printable(p.elevation),
                    p.code.c_str());
    }
    writer.SaveTo(*path);  // a file that cannot be written is left out
  }
  return static_cast<int>(surfaces.first.points.size());
}

}  // namespace viaducto
