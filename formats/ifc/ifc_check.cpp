#include "formats/ifc/ifc_check.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "formats/ifc/ifc_geometry.h"

namespace ifc {
namespace {

constexpr double kPi = 3.14159265358979323846;

using Ids = std::vector<uint32_t>;

struct Model {
  const StepFile& file;
  std::map<uint32_t, Ids> nests;        // relating -> related
  std::map<uint32_t, Ids> nestedIn;     // related -> relating
  std::map<uint32_t, Ids> aggregates;   // relating -> related
  std::map<uint32_t, Ids> aggregatedIn; // related -> relating
  std::vector<RuleFinding> findings;
  double lengthFactor = 1;

  explicit Model(const StepFile& f) : file(f) {
    lengthFactor = LengthUnitFactor(f);
    if (!(lengthFactor > 0)) lengthFactor = 1;
    for (const StepEntity& e : file.entities) {
      const bool nest = e.type == "IFCRELNESTS";
      if (!nest && e.type != "IFCRELAGGREGATES") continue;
      const StepValue* relating = e.Arg(4);
      const StepValue* related = e.Arg(5);
      if (relating == nullptr || relating->kind != StepValue::kRef || related == nullptr || related->kind != StepValue::kList) continue;
      for (const StepValue& v : related->items) {
        if (v.kind != StepValue::kRef) continue;
        (nest ? nests : aggregates)[relating->ref].push_back(v.ref);
        (nest ? nestedIn : aggregatedIn)[v.ref].push_back(relating->ref);
      }
    }
  }

  const StepEntity* Find(uint32_t id) const { return file.Find(id); }
  std::string TypeOf(uint32_t id) const {
    const StepEntity* e = Find(id);
    return e == nullptr ? std::string() : e->type;
  }
  Ids Nested(uint32_t id) const {
    const auto it = nests.find(id);
    return it == nests.end() ? Ids() : it->second;
  }
  void Add(const char* rule, uint32_t entity, const std::string& message) {
    findings.push_back(RuleFinding{rule, message, entity});
  }

  // The shape representations of a product.
  std::vector<const StepEntity*> Representations(const StepEntity& product) const {
    std::vector<const StepEntity*> out;
    const StepEntity* shape = file.Resolve(product.Arg(6));
    if (shape == nullptr || shape->Arg(2) == nullptr) return out;
    for (const StepValue& r : shape->Arg(2)->items) {
      if (const StepEntity* rep = file.Resolve(&r)) out.push_back(rep);
    }
    return out;
  }
  std::vector<const StepEntity*> Items(const StepEntity& representation) const {
    std::vector<const StepEntity*> out;
    const StepValue* items = representation.Arg(3);
    if (items == nullptr || items->kind != StepValue::kList) return out;
    for (const StepValue& v : items->items) {
      if (const StepEntity* item = file.Resolve(&v)) out.push_back(item);
    }
    return out;
  }
  std::vector<const StepEntity*> Segments(const StepEntity* curve) const {
    std::vector<const StepEntity*> out;
    if (curve == nullptr || curve->Arg(0) == nullptr || curve->Arg(0)->kind != StepValue::kList) return out;
    for (const StepValue& v : curve->Arg(0)->items) {
      if (const StepEntity* s = file.Resolve(&v)) out.push_back(s);
    }
    return out;
  }
  // The precision of a representation's context, through its parent context.
  double Precision(const StepEntity& representation) const {
    const StepEntity* context = file.Resolve(representation.Arg(0));
    for (int depth = 0; context != nullptr && depth < 4; ++depth) {
      if (context->type == "IFCGEOMETRICREPRESENTATIONCONTEXT") {
        double p = 0;
        if (context->Arg(3) != nullptr && context->Arg(3)->AsNumber(p) && p > 0) return p;
        return 1e-5;
      }
      context = file.Resolve(context->Arg(6));
    }
    return 1e-5;
  }
};

std::string Enum(const StepValue* v) { return v != nullptr && v->kind == StepValue::kEnum ? v->text : std::string(); }
std::string Str(const StepValue* v) { return v != nullptr && v->kind == StepValue::kString ? v->text : std::string(); }
std::string Id(uint32_t id) { return "#" + std::to_string(id); }

std::string Pretty(const std::string& upper) {
  // IFCALIGNMENTSEGMENT -> IfcAlignmentSegment is not needed for the messages: the instance's
  // type is shown as the file writes it.
  return upper;
}

const char* const kLayouts[] = {"IFCALIGNMENTHORIZONTAL", "IFCALIGNMENTVERTICAL", "IFCALIGNMENTCANT"};
const char* const kDesigns[] = {"IFCALIGNMENTHORIZONTALSEGMENT", "IFCALIGNMENTVERTICALSEGMENT", "IFCALIGNMENTCANTSEGMENT"};

int LayoutIndex(const std::string& type) {
  for (int i = 0; i < 3; ++i) {
    if (type == kLayouts[i]) return i;
  }
  return -1;
}

// The parent curve types a design type is drawn with.
std::vector<std::string> ParentsOf(int layout, const std::string& type) {
  static const std::map<std::string, std::vector<std::string>> horizontal = {
      {"LINE", {"IFCLINE"}}, {"CIRCULARARC", {"IFCCIRCLE"}}, {"CLOTHOID", {"IFCCLOTHOID"}},
      {"CUBIC", {"IFCPOLYNOMIALCURVE"}}, {"HELMERTCURVE", {"IFCSECONDORDERPOLYNOMIALSPIRAL", "IFCSECONDORDERPOLYNOMIALSPIRAL"}},
      {"BLOSSCURVE", {"IFCTHIRDORDERPOLYNOMIALSPIRAL"}}, {"COSINECURVE", {"IFCCOSINESPIRAL"}},
      {"SINECURVE", {"IFCSINESPIRAL"}}, {"VIENNESEBEND", {"IFCSEVENTHORDERPOLYNOMIALSPIRAL"}}};
  static const std::map<std::string, std::vector<std::string>> vertical = {
      {"CONSTANTGRADIENT", {"IFCLINE"}}, {"CIRCULARARC", {"IFCCIRCLE"}}, {"PARABOLICARC", {"IFCPOLYNOMIALCURVE"}},
      {"CLOTHOID", {"IFCCLOTHOID"}}};
  static const std::map<std::string, std::vector<std::string>> cant = {
      {"CONSTANTCANT", {"IFCLINE"}}, {"LINEARTRANSITION", {"IFCCLOTHOID"}},
      {"HELMERTCURVE", {"IFCSECONDORDERPOLYNOMIALSPIRAL", "IFCSECONDORDERPOLYNOMIALSPIRAL"}},
      {"BLOSSCURVE", {"IFCTHIRDORDERPOLYNOMIALSPIRAL"}}, {"COSINECURVE", {"IFCCOSINESPIRAL"}},
      {"SINECURVE", {"IFCSINESPIRAL"}}, {"VIENNESEBEND", {"IFCSEVENTHORDERPOLYNOMIALSPIRAL"}}};
  const auto& table = layout == 0 ? horizontal : layout == 1 ? vertical : cant;
  const auto it = table.find(type);
  return it == table.end() ? std::vector<std::string>() : it->second;
}

struct LayoutSegment {
  uint32_t segment = 0;
  const StepEntity* design = nullptr;
  std::string type;
  std::vector<std::string> parents;  // expected parent curves
};

std::vector<LayoutSegment> SegmentsOfLayout(const Model& m, const StepEntity& layout) {
  const int index = LayoutIndex(layout.type);
  std::vector<LayoutSegment> out;
  for (uint32_t id : m.Nested(layout.id)) {
    const StepEntity* segment = m.Find(id);
    if (segment == nullptr || segment->type != "IFCALIGNMENTSEGMENT") continue;
    LayoutSegment s;
    s.segment = id;
    s.design = m.file.Resolve(segment->Arg(7));
    if (s.design != nullptr) s.type = Enum(s.design->Arg(s.design->args.size() - 1));
    s.parents = ParentsOf(index, s.type);
    if (s.parents.empty()) s.parents.push_back("");
    out.push_back(s);
  }
  return out;
}

// ---- Structure -----------------------------------------------------------------------------

void CheckStructure(Model& m) {
  for (const StepEntity* a : m.file.OfType("IFCALIGNMENT")) {
    // ALB002: an alignment is decomposed by alignments only.
    const auto agg = m.aggregates.find(a->id);
    if (agg != m.aggregates.end()) {
      for (uint32_t id : agg->second) {
        if (m.TypeOf(id) != "IFCALIGNMENT") {
          m.Add("ALB002", a->id, "el eje " + Id(a->id) + " se descompone en " + Id(id) + " (" + m.TypeOf(id) + "), que no es un eje");
        }
      }
    }
    // ALB003: what an alignment nests.
    bool referent = false;
    int counts[3] = {0, 0, 0};
    for (uint32_t id : m.Nested(a->id)) {
      const std::string type = m.TypeOf(id);
      if (type == "IFCREFERENT") referent = true;
      const int layout = LayoutIndex(type);
      if (layout >= 0) ++counts[layout];
      if (layout < 0 && type != "IFCREFERENT") {
        m.Add("ALB003", a->id, "el eje " + Id(a->id) + " anida " + Id(id) + " (" + type + "), que no es un trazado ni un referente");
      }
    }
    // ALB004: aggregated to the project, directly or through what it is aggregated to (a parent
    // alignment, a spatial element).
    {
      uint32_t current = a->id;
      bool found = false;
      for (int depth = 0; depth < 16; ++depth) {
        const auto up = m.aggregatedIn.find(current);
        if (up == m.aggregatedIn.end() || up->second.empty()) break;
        const std::string type = m.TypeOf(up->second.front());
        if (type == "IFCPROJECT") {
          found = true;
          break;
        }
        current = up->second.front();
      }
      if (!found) m.Add("ALB004", a->id, "el eje " + Id(a->id) + " no está agregado al proyecto (IfcProject)");
    }
    // ALB010: an alignment with a horizontal layout nests a referent.
    if (counts[0] > 0 && !referent) {
      m.Add("ALB010", a->id, "el eje " + Id(a->id) + " tiene trazado en planta y no anida ningún referente (IfcReferent)");
    }
    // ALB030: placed by a local placement.
    if (const StepEntity* placement = m.file.Resolve(a->Arg(5))) {
      if (placement->type != "IFCLOCALPLACEMENT") {
        m.Add("ALB030", a->id, "el eje " + Id(a->id) + " se sitúa con " + placement->type + ", no con IfcLocalPlacement");
      }
    }
    // ALB031: the layouts of an alignment that is neither parent nor child.
    const bool parentOrChild = agg != m.aggregates.end() ||
                               (m.aggregatedIn.count(a->id) != 0 && m.TypeOf(m.aggregatedIn.at(a->id).front()) == "IFCALIGNMENT");
    if (!parentOrChild && !m.Nested(a->id).empty()) {
      const bool ok = counts[0] == 1 && counts[1] <= 1 && counts[2] <= (counts[1] == 1 ? 1 : 0);
      if (!ok) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "el eje %s anida %d trazados en planta, %d en alzado y %d de peralte: se espera 1 en planta, "
                      "con 1 en alzado y 1 de peralte como mucho",
                      Id(a->id).c_str(), counts[0], counts[1], counts[2]);
        m.Add("ALB031", a->id, text);
      }
    }
  }
  // ALB002: layouts nest segments whose design parameters match the layout.
  for (int layout = 0; layout < 3; ++layout) {
    for (const StepEntity* l : m.file.OfType(kLayouts[layout])) {
      for (uint32_t id : m.Nested(l->id)) {
        const StepEntity* segment = m.Find(id);
        if (segment == nullptr || segment->type != "IFCALIGNMENTSEGMENT") {
          m.Add("ALB002", l->id, Id(l->id) + " (" + l->type + ") anida " + Id(id) + " (" + m.TypeOf(id) + "), que no es un IfcAlignmentSegment");
          continue;
        }
        const StepEntity* design = m.file.Resolve(segment->Arg(7));
        if (design != nullptr && design->type != kDesigns[layout]) {
          m.Add("ALB002", id, "el tramo " + Id(id) + " de " + l->type + " lleva parámetros " + design->type + ", no " + kDesigns[layout]);
        }
      }
    }
  }
}

// ---- Design parameters ---------------------------------------------------------------------

void CheckDesign(Model& m) {
  // ALB012: the radius of vertical segments.
  for (const StepEntity* l : m.file.OfType("IFCALIGNMENTVERTICAL")) {
    for (const LayoutSegment& s : SegmentsOfLayout(m, *l)) {
      if (s.design == nullptr || s.design->type != "IFCALIGNMENTVERTICALSEGMENT") continue;
      const StepValue* radius = s.design->Arg(7);
      const bool empty = radius == nullptr || radius->kind == StepValue::kNull;
      if (s.type != "CIRCULARARC" && s.type != "PARABOLICARC" && !empty) {
        m.Add("ALB012", s.segment, "el tramo " + Id(s.segment) + " (" + s.type + ") tiene radio de curvatura y no debe tenerlo");
      }
      if (s.type == "PARABOLICARC") {
        double length = 0, g0 = 0, g1 = 0, r = 0;
        const bool read = s.design->Arg(3) && s.design->Arg(3)->AsNumber(length) && s.design->Arg(5) &&
                          s.design->Arg(5)->AsNumber(g0) && s.design->Arg(6) && s.design->Arg(6)->AsNumber(g1);
        if (!read || g1 == g0) continue;
        const double expected = length / (g1 - g0);
        if (empty || !radius->AsNumber(r) || std::fabs(r - expected) > 1e-3) {
          char text[200];
          std::snprintf(text, sizeof text, "el acuerdo parabólico %s tiene radio %.6g y debe tener %.6g (longitud / cambio de pendiente)",
                        Id(s.segment).c_str(), r, expected);
          m.Add("ALB012", s.segment, text);
        }
      }
    }
  }
  // ALB015: every layout ends with a zero-length segment.
  for (int layout = 0; layout < 3; ++layout) {
    for (const StepEntity* l : m.file.OfType(kLayouts[layout])) {
      const std::vector<LayoutSegment> segments = SegmentsOfLayout(m, *l);
      if (segments.empty() || segments.back().design == nullptr) continue;
      const StepEntity* design = segments.back().design;
      double length = 0;
      const StepValue* value = design->Arg(layout == 0 ? 6 : 3);
      if (value != nullptr && value->AsNumber(length) && length != 0) {
        char text[200];
        std::snprintf(text, sizeof text, "el último tramo de %s (%s) mide %.6g y debe medir 0", Id(l->id).c_str(), l->type.c_str(), length);
        m.Add("ALB015", segments.back().segment, text);
      }
    }
  }
}

// ---- Representations ----------------------------------------------------------------------

bool OneOf(const std::string& type, std::initializer_list<const char*> types) {
  for (const char* t : types) {
    if (type == t) return true;
  }
  return false;
}

void CheckRepresentations(Model& m) {
  // ALS004 and ALS010: each segment's own representation.
  for (const StepEntity* s : m.file.OfType("IFCALIGNMENTSEGMENT")) {
    const StepEntity* design = m.file.Resolve(s->Arg(7));
    const std::string type = design != nullptr ? Enum(design->Arg(design->args.size() - 1)) : "";
    for (const StepEntity* rep : m.Representations(*s)) {
      if (Str(rep->Arg(1)) != "Axis") m.Add("ALS004", s->id, "la representación " + Id(rep->id) + " del tramo " + Id(s->id) + " no es 'Axis'");
      if (Str(rep->Arg(2)) != "Segment") m.Add("ALS004", s->id, "la representación " + Id(rep->id) + " del tramo " + Id(s->id) + " no es de tipo 'Segment'");
      const std::vector<const StepEntity*> items = m.Items(*rep);
      for (const StepEntity* item : items) {
        if (item->type != "IFCCURVESEGMENT") m.Add("ALS004", s->id, "el tramo " + Id(s->id) + " se representa con " + item->type + ", no con IfcCurveSegment");
      }
      const std::size_t expected = type == "HELMERTCURVE" ? 2 : 1;
      if (items.size() != expected) {
        m.Add("ALS010", s->id, "la representación del tramo " + Id(s->id) + " tiene " + std::to_string(items.size()) +
                                   " elementos y debe tener " + std::to_string(expected));
      }
    }
  }
  // ALS005: the alignment's representations.
  for (const StepEntity* a : m.file.OfType("IFCALIGNMENT")) {
    for (const StepEntity* rep : m.Representations(*a)) {
      const std::string identifier = Str(rep->Arg(1));
      const std::string type = Str(rep->Arg(2));
      if (identifier != "Axis" && identifier != "FootPrint") {
        m.Add("ALS005", a->id, "la representación " + Id(rep->id) + " del eje es '" + identifier + "', no 'Axis' ni 'FootPrint'");
      }
      if (identifier == "FootPrint" && type != "Curve2D") {
        m.Add("ALS005", a->id, "la representación 'FootPrint' " + Id(rep->id) + " del eje no es 'Curve2D'");
      }
      for (const StepEntity* item : m.Items(*rep)) {
        bool ok = OneOf(item->type, {"IFCGRADIENTCURVE", "IFCSEGMENTEDREFERENCECURVE", "IFCCOMPOSITECURVE",
                                     "IFCINDEXEDPOLYCURVE", "IFCPOLYLINE", "IFCOFFSETCURVEBYDISTANCES"});
        if (identifier == "Axis" && type == "Curve2D") {
          ok = ok && OneOf(item->type, {"IFCCOMPOSITECURVE", "IFCINDEXEDPOLYCURVE", "IFCPOLYLINE", "IFCOFFSETCURVEBYDISTANCES"});
        }
        if (identifier == "Axis" && type == "Curve3D") {
          ok = ok && OneOf(item->type, {"IFCGRADIENTCURVE", "IFCSEGMENTEDREFERENCECURVE", "IFCINDEXEDPOLYCURVE", "IFCPOLYLINE",
                                        "IFCOFFSETCURVEBYDISTANCES"});
        }
        if (!ok) m.Add("ALS005", a->id, "la representación '" + identifier + "' '" + type + "' del eje " + Id(a->id) + " usa " + item->type);
      }
    }
  }
  // ALS006 and ALS007: the layouts' representations.
  for (const StepEntity* l : m.file.OfType("IFCALIGNMENTHORIZONTAL")) {
    for (const StepEntity* rep : m.Representations(*l)) {
      if (Str(rep->Arg(1)) != "Axis" || Str(rep->Arg(2)) != "Curve2D") {
        m.Add("ALS006", l->id, "la representación " + Id(rep->id) + " del trazado en planta debe ser 'Axis' 'Curve2D'");
      }
      for (const StepEntity* item : m.Items(*rep)) {
        if (!OneOf(item->type, {"IFCCOMPOSITECURVE", "IFCINDEXEDPOLYCURVE", "IFCPOLYLINE"})) {
          m.Add("ALS006", l->id, "el trazado en planta " + Id(l->id) + " se representa con " + item->type);
        }
      }
    }
  }
  for (const StepEntity* l : m.file.OfType("IFCALIGNMENTVERTICAL")) {
    for (const StepEntity* rep : m.Representations(*l)) {
      if (Str(rep->Arg(1)) != "Axis" || Str(rep->Arg(2)) != "Curve3D") {
        m.Add("ALS007", l->id, "la representación " + Id(rep->id) + " del trazado en alzado debe ser 'Axis' 'Curve3D'");
      }
      for (const StepEntity* item : m.Items(*rep)) {
        if (item->type != "IFCGRADIENTCURVE") m.Add("ALS007", l->id, "el trazado en alzado " + Id(l->id) + " se representa con " + item->type);
      }
    }
  }
}

// ---- Business logic and geometry -------------------------------------------------------------

void CompareSegments(Model& m, const char* countRule, const StepEntity& owner, const std::vector<LayoutSegment>& layout,
                     const std::vector<const StepEntity*>& curves, const std::string& what) {
  std::size_t expected = 0;
  for (const LayoutSegment& s : layout) expected += s.parents.size();
  if (curves.size() != expected) {
    m.Add(countRule, owner.id, what + ": el trazado tiene " + std::to_string(expected) + " tramos y la geometría " +
                                   std::to_string(curves.size()));
    return;
  }
  std::size_t k = 0;
  for (const LayoutSegment& s : layout) {
    for (const std::string& parent : s.parents) {
      const StepEntity* curve = curves[k++];
      const StepEntity* p = curve->type == "IFCCURVESEGMENT" ? m.file.Resolve(curve->Arg(4)) : nullptr;
      const std::string actual = p != nullptr ? p->type : curve->type;
      if (!parent.empty() && actual != parent) {
        m.Add("ALB023", s.segment, what + ": el tramo " + Id(s.segment) + " (" + s.type + ") se dibuja con " + actual + ", no con " + parent);
      }
    }
  }
}

void CheckAgreement(Model& m) {
  for (const StepEntity* a : m.file.OfType("IFCALIGNMENT")) {
    const StepEntity* layouts[3] = {nullptr, nullptr, nullptr};
    for (uint32_t id : m.Nested(a->id)) {
      const int index = LayoutIndex(m.TypeOf(id));
      if (index >= 0 && layouts[index] == nullptr) layouts[index] = m.Find(id);
    }
    const bool logic = layouts[0] || layouts[1] || layouts[2];
    const StepEntity* curves[3] = {nullptr, nullptr, nullptr};  // composite, gradient, segmented reference
    for (const StepEntity* rep : m.Representations(*a)) {
      for (const StepEntity* item : m.Items(*rep)) {
        if (logic && item->type == "IFCSEGMENTEDREFERENCECURVE" && !layouts[2]) {
          m.Add("ALB021", a->id, "el eje " + Id(a->id) + " se representa con IfcSegmentedReferenceCurve sin trazado de peralte");
        }
        if (logic && item->type == "IFCGRADIENTCURVE") {
          if (!layouts[1]) m.Add("ALB021", a->id, "el eje " + Id(a->id) + " se representa con IfcGradientCurve sin trazado en alzado");
          if (layouts[2]) m.Add("ALB021", a->id, "el eje " + Id(a->id) + " tiene trazado de peralte y se representa con IfcGradientCurve");
        }
        if (logic && item->type == "IFCCOMPOSITECURVE" && Str(rep->Arg(1)) == "Axis" && (layouts[1] || layouts[2])) {
          m.Add("ALB021", a->id, "el eje " + Id(a->id) + " tiene trazado en alzado o de peralte y se representa con IfcCompositeCurve");
        }
        // ALS011, ALS012, ALS015 on the curves of the alignment.
        if (OneOf(item->type, {"IFCCOMPOSITECURVE", "IFCGRADIENTCURVE", "IFCSEGMENTEDREFERENCECURVE"})) {
          std::vector<const StepEntity*> chain = {item};
          if (item->type != "IFCCOMPOSITECURVE") {
            const StepEntity* base = m.file.Resolve(item->Arg(2));
            if (base != nullptr) chain.push_back(base);
          }
          for (const StepEntity* curve : chain) {
            const std::vector<const StepEntity*> segments = m.Segments(curve);
            for (const StepEntity* s : segments) {
              if (s->type != segments.front()->type) {
                m.Add("ALS011", a->id, "la curva " + Id(curve->id) + " mezcla tramos " + segments.front()->type + " y " + s->type);
                break;
              }
            }
            if (curve->type != "IFCCOMPOSITECURVE") {
              for (const StepEntity* s : segments) {
                if (s->type != "IFCCURVESEGMENT") {
                  m.Add("ALS011", a->id, "la curva " + Id(curve->id) + " (" + curve->type + ") tiene un tramo " + s->type + ", no IfcCurveSegment");
                  break;
                }
              }
            }
            for (const StepEntity* s : segments) {
              if (s->type != "IFCCURVESEGMENT") continue;
              for (std::size_t arg : {std::size_t{2}, std::size_t{3}}) {
                const StepValue* v = s->Arg(arg);
                if (v == nullptr || v->kind != StepValue::kTyped || v->text != "IFCLENGTHMEASURE") {
                  m.Add("ALS012", s->id, std::string("el tramo de curva ") + Id(s->id) + (arg == 2 ? " empieza" : " mide") +
                                             " con un valor que no es IfcLengthMeasure (" + (v && v->kind == StepValue::kTyped ? v->text : std::string("sin tipo")) + ")");
                }
              }
            }
          }
          const std::vector<const StepEntity*> segments = m.Segments(item);
          if (!segments.empty()) {
            const StepEntity* last = segments.back();
            double length = 0;
            if (last->type == "IFCCURVESEGMENT" && last->Arg(3) && last->Arg(3)->AsNumber(length) && length != 0) {
              char text[160];
              std::snprintf(text, sizeof text, "el último tramo de la curva %s mide %.6g y debe medir 0", Id(item->id).c_str(), length);
              m.Add("ALS015", last->id, text);
            }
            if (last->type == "IFCCURVESEGMENT" && Enum(last->Arg(0)) != "DISCONTINUOUS") {
              m.Add("ALS015", last->id, "el último tramo de la curva " + Id(item->id) + " es " + Enum(last->Arg(0)) + ", no DISCONTINUOUS");
            }
          }
        }
        if (item->type == "IFCCOMPOSITECURVE" && curves[0] == nullptr) curves[0] = item;
        if (item->type == "IFCGRADIENTCURVE" && curves[1] == nullptr) curves[1] = item;
        if (item->type == "IFCSEGMENTEDREFERENCECURVE" && curves[2] == nullptr) curves[2] = item;
      }
    }
    // The base curves under a gradient or segmented reference curve.
    if (curves[2] != nullptr && curves[1] == nullptr) {
      const StepEntity* base = m.file.Resolve(curves[2]->Arg(2));
      if (base != nullptr && base->type == "IFCGRADIENTCURVE") curves[1] = base;
      else if (base != nullptr && base->type == "IFCCOMPOSITECURVE" && curves[0] == nullptr) curves[0] = base;
    }
    if (curves[1] != nullptr && curves[0] == nullptr) {
      const StepEntity* base = m.file.Resolve(curves[1]->Arg(2));
      if (base != nullptr && base->type == "IFCCOMPOSITECURVE") curves[0] = base;
    }
    // ALB022 and ALB023: the layouts against the alignment's curves.
    static const char* const kWhat[] = {"planta", "alzado", "peralte"};
    for (int i = 0; i < 3; ++i) {
      if (layouts[i] == nullptr || curves[i] == nullptr) continue;
      const std::vector<LayoutSegment> segments = SegmentsOfLayout(m, *layouts[i]);
      if (segments.empty()) continue;
      std::size_t before = m.findings.size();
      CompareSegments(m, "ALB022", *layouts[i], segments, m.Segments(curves[i]), std::string("eje ") + Id(a->id) + ", " + kWhat[i]);
      (void)before;
    }
  }
  // ALB022 and ALB023 on each layout's own representation, and each segment's.
  for (int i = 0; i < 3; ++i) {
    for (const StepEntity* l : m.file.OfType(kLayouts[i])) {
      const std::vector<LayoutSegment> segments = SegmentsOfLayout(m, *l);
      if (segments.empty()) continue;
      for (const StepEntity* rep : m.Representations(*l)) {
        for (const StepEntity* item : m.Items(*rep)) {
          if (!OneOf(item->type, {"IFCCOMPOSITECURVE", "IFCGRADIENTCURVE", "IFCSEGMENTEDREFERENCECURVE"})) continue;
          CompareSegments(m, "ALB022", *l, segments, m.Segments(item), Id(l->id) + " (" + l->type + ")");
        }
      }
      for (const LayoutSegment& s : segments) {
        const StepEntity* segment = m.Find(s.segment);
        std::vector<const StepEntity*> items;
        for (const StepEntity* rep : m.Representations(*segment)) {
          for (const StepEntity* item : m.Items(*rep)) items.push_back(item);
        }
        if (items.empty() || items.size() != s.parents.size()) continue;
        for (std::size_t k = 0; k < items.size(); ++k) {
          const StepEntity* p = items[k]->type == "IFCCURVESEGMENT" ? m.file.Resolve(items[k]->Arg(4)) : nullptr;
          if (p != nullptr && !s.parents[k].empty() && p->type != s.parents[k]) {
            m.Add("ALB023", s.segment, "el tramo " + Id(s.segment) + " (" + s.type + ") se representa con " + p->type + ", no con " + s.parents[k]);
          }
        }
      }
    }
  }
}

// ---- Continuity ------------------------------------------------------------------------------

double AngleBetween(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 2 * kPi);
  return std::min(d, 2 * kPi - d);
}

void CheckContinuity(Model& m, const char* rule, const StepEntity& alignment, const StepEntity& representation,
                     const StepEntity& curve, bool vertical) {
  const double precision = m.Precision(representation);
  const std::vector<const StepEntity*> segments = m.Segments(&curve);
  std::vector<CurveSegmentTrace> traces;
  traces.reserve(segments.size());
  for (const StepEntity* segment : segments) traces.push_back(TraceCurveSegment(m.file, *segment));
  for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
    const CurveSegmentTrace& a = traces[i];
    const CurveSegmentTrace& b = traces[i + 1];
    // A segment that declares no continuity is not held to any; one continuous in position
    // only is not held to its tangent.
    if (!a.ok || !b.ok || a.transition == "DISCONTINUOUS") continue;
    const double gap = std::hypot(b.start.x - a.end.x, b.start.y - a.end.y);
    // The precision the file declares, and never less than a millimetre: alignments whose
    // points were given to the millimetre meet within it.
    const double positionTolerance = std::max(precision, 1e-3 / m.lengthFactor);
    if (gap > positionTolerance) {
      char text[200];
      std::snprintf(text, sizeof text, "los tramos %s y %s de la curva %s no se tocan: separados %.6g",
                    Id(segments[i]->id).c_str(), Id(segments[i + 1]->id).c_str(), Id(curve.id).c_str(), gap);
      m.Add(rule, alignment.id, text);
      continue;
    }
    if (a.transition == "CONTINUOUS") continue;
    const double turn = vertical ? std::fabs(std::tan(b.start.direction) - std::tan(a.end.direction))
                                 : AngleBetween(b.start.direction, a.end.direction);
    // Directions agree within a tenth of a milliradian (a grade within 0.0001).
    if (turn > std::max(precision, 1e-4)) {
      char text[200];
      std::snprintf(text, sizeof text, "los tramos %s y %s de la curva %s no son tangentes: difieren %.6g %s",
                    Id(segments[i]->id).c_str(), Id(segments[i + 1]->id).c_str(), Id(curve.id).c_str(), turn,
                    vertical ? "en pendiente" : "rad");
      m.Add(rule, alignment.id, text);
    }
  }
}

void CheckGeometry(Model& m) {
  for (const StepEntity* a : m.file.OfType("IFCALIGNMENT")) {
    for (const StepEntity* rep : m.Representations(*a)) {
      const std::string type = Str(rep->Arg(2));
      for (const StepEntity* item : m.Items(*rep)) {
        if (type == "Curve2D" && item->type == "IFCCOMPOSITECURVE") CheckContinuity(m, "ALS016", *a, *rep, *item, false);
        if (type == "Curve3D" && item->type == "IFCGRADIENTCURVE") {
          CheckContinuity(m, "ALS017", *a, *rep, *item, true);
        }
      }
    }
  }
}

}  // namespace

const std::vector<std::string>& CheckedRules() {
  static const std::vector<std::string> rules = {"ALB002", "ALB003", "ALB004", "ALB010", "ALB012", "ALB015", "ALB021",
                                                 "ALB022", "ALB023", "ALB030", "ALB031", "ALS004", "ALS005", "ALS006",
                                                 "ALS007", "ALS010", "ALS011", "ALS012", "ALS015", "ALS016", "ALS017"};
  return rules;
}

std::vector<RuleFinding> CheckAlignmentRules(const StepFile& file) {
  Model m(file);
  CheckStructure(m);
  CheckDesign(m);
  CheckRepresentations(m);
  CheckAgreement(m);
  CheckGeometry(m);
  (void)Pretty;
  return std::move(m.findings);
}

}  // namespace ifc
