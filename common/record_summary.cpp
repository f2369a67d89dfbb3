#include "common/record_summary.h"

namespace common {
namespace {

const char* KindName(int32_t kind) {
  switch (kind) {
    case kArc: return "curva";
    case kClothoid: return "clotoide";
    default: return "recta";
  }
}

}  // namespace

void Extents::Add(double x, double y, double z) {
  if (!known) {
    minX = maxX = x;
    minY = maxY = y;
    minZ = maxZ = z;
    known = true;
    return;
  }
  if (x < minX) minX = x;
  if (x > maxX) maxX = x;
  if (y < minY) minY = y;
  if (y > maxY) maxY = y;
  if (z < minZ) minZ = z;
  if (z > maxZ) maxZ = z;
}

void AlignmentSummarizer::Add(const AlignmentElement& element) {
  if (records_ == 0) summary_.startStation = element.station;
  if (records_ > 0) ++summary_.elementsByKind[KindName(last_.kind)];
  last_ = element;
  ++records_;
}

AlignmentSummary AlignmentSummarizer::Summary() const {
  AlignmentSummary summary = summary_;
  if (records_ > 0) {
    summary.elements = records_ - 1;
    summary.endStation = last_.station;
    summary.length = summary.endStation - summary.startStation;
  }
  return summary;
}

AlignmentSummary SummarizeAlignment(const std::vector<AlignmentElement>& elements) {
  AlignmentSummarizer summarizer;
  for (const AlignmentElement& element : elements) summarizer.Add(element);
  return summarizer.Summary();
}

void ProfileSummarizer::Add(const ProfileVertex& vertex) {
  if (summary_.vertices++ == 0) summary_.startStation = vertex.station;
  summary_.endStation = vertex.station;
}

ProfileSummary SummarizeProfile(const Profile& vertices) {
  ProfileSummarizer summarizer;
  for (const ProfileVertex& vertex : vertices) summarizer.Add(vertex);
  return summarizer.Summary();
}

void CrossSectionSummarizer::Add(const CrossSectionPoint& point) {
  if (summary_.points++ == 0 || point.station != lastStation_) ++summary_.sections;
  lastStation_ = point.station;
}

CrossSectionSummary SummarizeCrossSections(const std::vector<CrossSectionPoint>& points) {
  CrossSectionSummarizer summarizer;
  for (const CrossSectionPoint& point : points) summarizer.Add(point);
  return summarizer.Summary();
}

}  // namespace common
