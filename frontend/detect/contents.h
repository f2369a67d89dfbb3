// What a file holds, read through the readers the conversions use: the alignments, profiles,
// cross sections, surfaces and points of a LandXML document; the layers of a drawing; the
// records of the native files and of the GTS road file; the points of a shapefile.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/record_summary.h"
#include "frontend/detect/detect.h"
#include "frontend/detect/named_system.h"

namespace detect {

// The summaries of the hub records, as the formats' readers give them.
using Extents = common::Extents;
using AlignmentSummary = common::AlignmentSummary;
using ProfileSummary = common::ProfileSummary;
using CrossSectionSummary = common::CrossSectionSummary;
using SurfaceSummary = common::SurfaceSummary;

struct LayerSummary {
  std::string name;
  std::map<std::string, long> entities;  // entity type -> count
};

struct Contents {
  std::string path;
  Detection detection;
  bool read = false;      // the contents were read (false: only the format is known)
  std::string error;      // why they could not be read
  std::vector<AlignmentSummary> alignments;
  std::vector<ProfileSummary> profiles;
  std::vector<CrossSectionSummary> crossSections;
  std::vector<SurfaceSummary> surfaces;
  std::vector<LayerSummary> layers;
  long points = -1;       // survey or native points; -1 when the format holds none
  long records = -1;      // plain records of a format without a finer summary
  Extents extents;
  NamedSystem system;     // the coordinate system the file names for itself, if any
};

// Detects the file and reads what it holds (streaming where the reader streams).
Contents ReadContents(const std::string& path);
Contents ReadContents(const std::string& path, const Detection& detection);

// The same for the bytes of a file called `name` held in memory: detected from them and the
// name, read by the same readers. A shapefile's .shx is another file, so its points are not
// counted this way.
Contents ReadContentsInMemory(std::string_view bytes, const std::string& name);

// Whether the contents were read and hold nothing of what their format carries.
bool HoldsNothing(const Contents& contents);

// What an empty file of this format lacks: "ningún eje", "ninguna rasante".
std::string NothingText(Format format);

// One line in Spanish: "12 elementos, 1 660,000 m", "815 puntos", "44 094 triángulos";
// empty when nothing is known.
std::string SummaryLine(const Contents& contents);

// The lines of `pasarela-cli info` for one file (format first).
std::vector<std::string> DescriptionLines(const Contents& contents);

}  // namespace detect
