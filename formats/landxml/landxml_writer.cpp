#include "formats/landxml/landxml_writer.h"

#include <cmath>
#include <cstdio>

#include "common/export_guard.h"
#include "common/numbers.h"
#include "common/text_output.h"

namespace common {

// ---- Writing ---------------------------------------------------------------------------------

namespace {

constexpr char kMakerUrl[] = "https://www.zemta.example";
constexpr char kMakerEmail[] = "soporte@zemta.example";

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

// Escapes the characters that would end or break a value; line ends and tabs become
// character references so the document stays on one line and values read back unchanged.
void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      default: out += c; break;
    }
  }
}

LandXmlWriter::LandXmlWriter() {
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &when_);
}

void LandXmlWriter::BeginDocument() {
  char year[16];
  std::snprintf(year, sizeof year, "%04d", when_.tm_year + 1900);
  AddText("version", "1.0");
  AddText("date", std::string(year) + "-" + TwoDigits(when_.tm_mon + 1) + "-" + TwoDigits(when_.tm_mday));
  AddText("time", TwoDigits(when_.tm_hour) + ":" + TwoDigits(when_.tm_min) + ":" + TwoDigits(when_.tm_sec));
  StartElement("LandXML");

  AddText("name", "Prueba");
  StartElement("Project");
  EndElement("Project");

  StartElement("Units");
  AddText("areaUnit", "squareMeter");
  AddText("linearUnit", "meter");
  AddText("volumeUnit", "cubicMeter");
  AddText("temperatureUnit", "celsius");
  AddText("pressureUnit", "mmHG");
  AddText("angularUnit", "grads");
  AddText("directionUnit", "grads");
  StartElement("Metric");
  EndElement("Metric");
  EndElement("Units");

  AddText("name", "Terrex");
  AddText("version", "4.0");
  AddText("manufacturerURL", kMakerUrl);
  StartElement("Application");
  AddText("createdByEmail", kMakerEmail);
  AddText("company", "Zemta-I.T.");
  AddText("companyURL", kMakerUrl);
  StartElement("Author");
  EndElement("Author");
  EndElement("Application");
}

void LandXmlWriter::AddText(std::string_view name, std::string_view value) {
  if (value.empty()) return;
  attributes_.emplace_back(std::string(name), std::string(value));
}

void LandXmlWriter::AddNumber(std::string_view name, double value, int decimals) {
  if (!std::isfinite(value)) return;
  CLocaleScope cLocale;
  char format[16];
  std::snprintf(format, sizeof format, "%%0.%dlf", decimals);
  char text[512];
  const int length = std::snprintf(text, sizeof text, format, value);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof text) return;
  AddText(name, std::string_view(text, static_cast<std::size_t>(length)));
}

void LandXmlWriter::CloseStartTag() {
  if (startTagOpen_) {
    body_ += '>';
    startTagOpen_ = false;
  }
}

void LandXmlWriter::StartElement(std::string_view name) {
  CloseStartTag();
  body_ += '<';
  body_ += name;
  for (const auto& [attribute, value] : attributes_) {
    body_ += ' ';
    body_ += attribute;
    body_ += "=\"";
    AppendEscaped(body_, value);
    body_ += '"';
  }
  attributes_.clear();
  open_.emplace_back(name);
  startTagOpen_ = true;
}

void LandXmlWriter::EndElement(std::string_view name) {
  if (!open_.empty()) open_.pop_back();
  if (startTagOpen_) {
    body_ += "/>";
    startTagOpen_ = false;
    return;
  }
  body_ += "</";
  body_ += name;
  body_ += '>';
}

void LandXmlWriter::Characters(std::string_view text) {
  if (text.empty()) return;
  CloseStartTag();
  AppendEscaped(body_, text);
}

std::string LandXmlWriter::EndDocumentBytes() {
  // Whatever a caller left open is closed, the root last.
  while (!open_.empty()) EndElement(std::string(open_.back()));
  TextWriter writer;
  writer.Write("<?xml version=\"1.0\"?>");
  writer.Write(body_);
  writer.Write("\n");
  return writer.Bytes();
}

bool LandXmlWriter::EndDocument(const std::string& path) {
  return WriteFileBytes(path, EndDocumentBytes());
}

}  // namespace common
