#include "formats/landxml/landxml_profile.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>
#include <strings.h>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/native/native_profile.h"

namespace viaducto {

namespace {

// The alignment's or profile's name: its `name`, else its first attribute.
std::string NameOf(const LandXmlAttributes& attributes) {
  if (const auto name = GetAttribute(attributes, "name")) return std::string(*name);
  return attributes.empty() ? std::string() : std::string(attributes.front().value);
}

class ProfileListHandler : public LandXmlHandler {
 public:
  void StartElement(std::string_view localName, const LandXmlAttributes& attributes) override {
    if (NameIs(localName, "Alignment")) {
      alignment_ = NameOf(attributes);
    } else if (NameIs(localName, "ProfAlign")) {
      const auto name = GetAttribute(attributes, "name");
      if (!name) return;
      std::string entry = alignment_ + ": " + std::string(*name);
      for (const std::string& listed : entries_) {
        if (listed == entry) return;
      }
      entries_.push_back(std::move(entry));
    }
  }
  void EndElement(std::string_view) override {}
  std::vector<std::string> TakeEntries() { return std::move(entries_); }

 private:
  std::string alignment_;
  std::vector<std::string> entries_;
};

class ProfileImportHandler : public LandXmlHandler {
 public:
  explicit ProfileImportHandler(std::string_view entry) : entry_(entry) {}

  void StartElement(std::string_view localName, const LandXmlAttributes& attributes) override {
    expectingPoints_ = false;
    if (const double foot = common::FeetInMetres(localName, attributes)) feet_ = foot;
    if (NameIs(localName, "Alignment")) {
      alignment_ = NameOf(attributes);
      active_ = false;
    } else if (NameIs(localName, "ProfAlign")) {
      const std::string entry = alignment_ + ": " + NameOf(attributes);
      active_ = strcasecmp(entry.c_str(), entry_.c_str()) == 0;
    } else if (active_ && NameIs(localName, "PVI")) {
      Expect(0.0, false);
    } else if (active_ && NameIs(localName, "ParaCurve")) {
      Expect(GetNumber(attributes, "length").value_or(0.0), false);
    } else if (active_ && NameIs(localName, "UnsymParaCurve")) {
      // The native vertex has one tangent for both sides: the mean of the two.
      const double in = GetNumber(attributes, "lengthIn").value_or(0.0);
      const double out = GetNumber(attributes, "lengthOut").value_or(0.0);
      Expect((in + out) / 2.0, false);
      unsymmetric_ = std::make_pair(in, out);
    } else if (active_ && NameIs(localName, "CircCurve")) {
      double length = 0.0;
      const auto givenLength = GetNumber(attributes, "length");
      const auto radius = GetNumber(attributes, "radius");
      const bool usableRadius = radius && std::isfinite(*radius) && *radius != 0;
      if (givenLength) {
        length = *givenLength;
      } else if (!attributes.empty() && !usableRadius) {
        length = common::LenientDouble(attributes.front().value);
      }
      Expect(length, true);
      // The radius, where given, is the curve's: the grades at the vertex may not agree with it.
      if (usableRadius) {
        pendingRadius_ = std::fabs(*radius);
        pendingTangentFromRadius_ = !givenLength;
      }
    }
  }

  void EndElement(std::string_view) override { expectingPoints_ = false; }

  bool WantsText() const override { return expectingPoints_; }

  // Pairs of station and elevation; each pair is a vertex carrying the element's curve.
  void Characters(std::string_view text) override {
    common::Tokenizer tokenizer(text);
    std::string_view station;
    std::string_view elevation;
    while (tokenizer.Next(" \t\r\n", station) && tokenizer.Next(" \t\r\n", elevation)) {
      common::ProfileVertex vertex;
      vertex.station = common::LenientDouble(station);
      vertex.elevation = common::LenientDouble(elevation);
      vertex.tangent = curveLength_ / 2.0;
      profile_.push_back(vertex);
      circular_.push_back(pendingCircular_);
      radii_.push_back(pendingRadius_);
      tangentFromRadius_.push_back(pendingTangentFromRadius_);
      if (unsymmetric_) {
        char note[200];
        std::snprintf(note, sizeof note,
                      "curva asimétrica en el p.k. %0.3lf (entrada %0.3lf m, salida %0.3lf m) convertida en "
                      "simétrica de %0.3lf m",
                      vertex.station, unsymmetric_->first, unsymmetric_->second, curveLength_);
        notes_.emplace_back(note);
        unsymmetric_.reset();
      }
    }
  }

  std::vector<std::string> TakeNotes() {
    if (feet_ != 0) notes_.insert(notes_.begin(), common::FeetMessage(feet_));
    return std::move(notes_);
  }

  Profile TakeCompletedProfile() {
    // Parabolic and circular curves are completed each by their own rule.
    Profile parabolic = profile_;
    common::CompleteCurves(parabolic, false);
    Profile circular = profile_;
    common::CompleteCurves(circular, true);
    for (std::size_t i = 0; i < profile_.size(); ++i) {
      profile_[i] = circular_[i] ? circular[i] : parabolic[i];
      if (circular_[i] && radii_[i] > 0 && i > 0) {
        common::ProfileVertex& vertex = profile_[i];
        if (tangentFromRadius_[i] && i + 1 < profile_.size()) {
          // Without a length the curve's tangent follows from its radius and the grades.
          const double turn = std::atan(common::GradeBetween(profile_[i - 1], vertex)) -
                              std::atan(common::GradeBetween(vertex, profile_[i + 1]));
          const double tangent = std::fabs(radii_[i] * std::tan(turn / 2.0));
          vertex.tangent = std::isfinite(tangent) ? tangent : 0.0;
        }
        vertex.kv = radii_[i];
        vertex.external = std::sqrt(vertex.kv * vertex.kv + vertex.tangent * vertex.tangent) - vertex.kv;
      }
    }
    return std::move(profile_);
  }

 private:
  void Expect(double curveLength, bool circular) {
    expectingPoints_ = true;
    curveLength_ = curveLength;
    pendingCircular_ = circular;
    pendingRadius_ = 0.0;
    pendingTangentFromRadius_ = false;
    unsymmetric_.reset();
  }

  std::string entry_;
  std::string alignment_;
  bool active_ = false;
  bool expectingPoints_ = false;
  double curveLength_ = 0.0;
  bool pendingCircular_ = false;
  Profile profile_;
  std::vector<bool> circular_;
  std::vector<double> radii_;  // the `radius` of a CircCurve, 0 where none was given
  double pendingRadius_ = 0.0;
  std::vector<bool> tangentFromRadius_;  // a CircCurve with a radius and no length
  bool pendingTangentFromRadius_ = false;
  std::optional<std::pair<double, double>> unsymmetric_;  // lengthIn, lengthOut
  std::vector<std::string> notes_;
  double feet_ = 0;  // the metres in the document's foot; 0 in a document in metres

 public:
  // Every length of the profile in metres.
  void ToMetres(Profile& profile) const {
    if (feet_ == 0) return;
    for (common::ProfileVertex& vertex : profile) {
      vertex.station *= feet_;
      vertex.elevation *= feet_;
      vertex.kv *= feet_;
      vertex.tangent *= feet_;
      vertex.external *= feet_;
    }
  }

 private:
};

}  // namespace

std::vector<std::string> ListLandXmlProfiles(const common::LandXmlSource& source) {
  ProfileListHandler handler;
  source.Parse(handler);
  return handler.TakeEntries();
}

LandXmlProfileImport ImportLandXmlProfile(const common::LandXmlSource& source, std::string_view entry) {
  ProfileImportHandler handler(entry);
  LandXmlProfileImport result;
  result.parse = source.Parse(handler);
  result.profile = handler.TakeCompletedProfile();
  handler.ToMetres(result.profile);
  result.notes = handler.TakeNotes();
  return result;
}

void WriteLandXmlProfile(const Profile& profile, const std::string& name, LandXmlWriter& writer) {
  char text[128];
  writer.StartElement("Profile");
  writer.AddText("name", name);
  writer.StartElement("ProfAlign");
  for (std::size_t i = 0; i < profile.size(); ++i) {
    const common::ProfileVertex& v = profile[i];
    std::snprintf(text, sizeof text, "%0.3lf %0.3lf", v.station, v.elevation);
    const bool end = i == 0 || i + 1 == profile.size();
    if (end) {
      writer.StartElement("PVI");
      writer.Characters(text);
      writer.EndElement("PVI");
    } else {
      writer.AddNumber("length", 2.0 * v.tangent, 3);
      writer.StartElement("ParaCurve");
      writer.Characters(text);
      writer.EndElement("ParaCurve");
    }
  }
  writer.EndElement("ProfAlign");
  writer.EndElement("Profile");
}

namespace {

int ExportWith(const Profile& profile, const std::string& salida, LandXmlWriter& writer) {
  if (profile.empty()) return 0;
  writer.BeginDocument();
  WriteLandXmlProfile(profile, common::SplitPath(salida).name, writer);
  return writer.EndDocument(salida) ? 1 : 0;
}

}  // namespace

int ExportProfileToLandXml(const Profile& profile, const std::string& salida) {
  LandXmlWriter writer;
  return ExportWith(profile, salida, writer);
}

int ExportProfileToLandXml(const Profile& profile, const std::string& salida, const std::tm& when) {
  LandXmlWriter writer;
  writer.SetTimestamp(when);
  return ExportWith(profile, salida, writer);
}

}  // namespace viaducto
