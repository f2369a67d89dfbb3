#include "formats/native/alignment_fields.h"

#include "common/numbers.h"

namespace common {

AlignmentElement ElementFromNativeFields(const std::string_view* fields) {
  AlignmentElement element;
  element.station = LenientDouble(fields[0]);
  element.x = LenientDouble(fields[1]);
  element.y = LenientDouble(fields[2]);
  element.azimuth = LenientDouble(fields[3]);
  element.parameter = LenientDouble(fields[4]);
  element.radius = LenientDouble(fields[5]);
  element.kind = KindFromValues(element.parameter, element.radius);
  return element;
}

void SetLengthsFromStations(std::vector<AlignmentElement>& elements) {
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    elements[i].length = elements[i + 1].station - elements[i].station;
  }
}

void ClearCurvesOfEmptyElements(std::vector<AlignmentElement>& elements) {
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (elements[i].length == 0) {
      elements[i].parameter = 0;
      elements[i].radius = 0;
    }
  }
}

void SetKindsFromValues(std::vector<AlignmentElement>& elements) {
  for (AlignmentElement& e : elements) e.kind = KindFromValues(e.parameter, e.radius);
}

}  // namespace common
