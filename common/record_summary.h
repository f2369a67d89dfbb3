// What a run of hub records holds, as `info`, the views and the report of a conversion tell
// it: counts, stations and ranges computed from the records a format's reader returns, so that
// every place that describes a file describes what the conversions read from it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"

namespace common {

// The box that holds every point added.
struct Extents {
  bool known = false;
  double minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0, maxZ = 0;
  void Add(double x, double y, double z);
};

struct AlignmentSummary {
  std::string name;
  std::map<std::string, long> elementsByKind;  // "recta", "curva", "clotoide"
  long elements = 0;
  double length = 0;
  double startStation = 0;
  double endStation = 0;
};

// An alignment summed up one record at a time, as a streaming reader hands them over. The
// last record is the end point and starts no element: a record's kind counts once the next
// one has come.
class AlignmentSummarizer {
 public:
  void Add(const AlignmentElement& element);
  AlignmentSummary Summary() const;
  long records() const { return records_; }

 private:
  AlignmentSummary summary_;
  AlignmentElement last_;
  long records_ = 0;
};

AlignmentSummary SummarizeAlignment(const std::vector<AlignmentElement>& elements);

struct ProfileSummary {
  std::string name;
  long vertices = 0;
  double startStation = 0;
  double endStation = 0;
};

class ProfileSummarizer {
 public:
  void Add(const ProfileVertex& vertex);
  const ProfileSummary& Summary() const { return summary_; }

 private:
  ProfileSummary summary_;
};

ProfileSummary SummarizeProfile(const Profile& vertices);

struct CrossSectionSummary {
  std::string name;
  long sections = 0;  // runs of points that share one station
  long points = 0;
};

class CrossSectionSummarizer {
 public:
  void Add(const CrossSectionPoint& point);
  const CrossSectionSummary& Summary() const { return summary_; }

 private:
  CrossSectionSummary summary_;
  double lastStation_ = 0;
};

CrossSectionSummary SummarizeCrossSections(const std::vector<CrossSectionPoint>& points);

struct SurfaceSummary {
  std::string name;
  long points = 0;
  long faces = 0;
  long invisibleFaces = 0;
};

// Survey points: how many, and the box that holds them.
struct PointSummary {
  long points = 0;
  Extents extents;
  void Add(double x, double y, double z) {
    ++points;
    extents.Add(x, y, z);
  }
};

}  // namespace common
