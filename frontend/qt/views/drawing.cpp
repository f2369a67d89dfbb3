#include "frontend/qt/views/drawing.h"

#include "frontend/detect/spanish_numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace view_drawing {
namespace {

const QColor kStraightColour(20, 20, 20);
const QColor kArcColour(200, 30, 30);
const QColor kClothoidColour(30, 90, 210);
const QColor kGridColour(200, 200, 200);
constexpr double kCurvatureShare = 0.2;  // of the height, under a plan
// Labels of points and triangle edges only where they do not bury the drawing.
constexpr std::size_t kMaxLabelledPoints = 2000;
// Past these counts triangles and points are painted into an image of the drawing area, pixel
// by pixel, instead of one painter call each: a large surface or point file then draws in a
// fraction of the time, and its triangles or points are a few pixels or less on the screen.
constexpr std::size_t kRasterTriangles = 20000;
constexpr std::size_t kRasterPoints = 20000;
constexpr int kPaletteSize = 1024;

double Margin(const DrawOptions& options) { return options.labels ? 36.0 : 10.0; }

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

// A number for the person reading the drawing: decimal comma, grouped thousands.
std::string Number(double value, int decimals) { return detect::SpanishNumber(value, decimals); }

QColor ElementColour(int32_t kind) {
  if (kind == common::kArc) return kArcColour;
  if (kind == common::kClothoid) return kClothoidColour;
  return kStraightColour;
}

QPen LinePen(const QColor& colour, double width) {
  QPen pen(colour, width);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void SmallFont(QPainter& painter, double points = 7.5) {
  QFont font = painter.font();
  font.setPointSizeF(points);
  painter.setFont(font);
}

bool Visible(const QPointF& p, const QRectF& area) { return area.adjusted(-2, -2, 2, 2).contains(p); }

// An image covering the drawing area, transparent, for painting pixels straight into it.
class AreaRaster {
 public:
  explicit AreaRaster(const QRectF& area)
      : left_(static_cast<int>(std::floor(area.left()))),
        top_(static_cast<int>(std::floor(area.top()))),
        image_(std::max(1, static_cast<int>(std::ceil(area.right())) - left_),
               std::max(1, static_cast<int>(std::ceil(area.bottom())) - top_), QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::transparent);
    width_ = image_.width();
    height_ = image_.height();
    bits_ = reinterpret_cast<QRgb*>(image_.bits());
    stride_ = image_.bytesPerLine() / static_cast<int>(sizeof(QRgb));
  }
  int width() const { return width_; }
  int height() const { return height_; }
  // Page coordinates into the image's.
  double X(double pageX) const { return pageX - left_; }
  double Y(double pageY) const { return pageY - top_; }
  void Set(int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) bits_[static_cast<std::size_t>(y) * stride_ + x] = colour;
  }
  // Fills the pixels whose centres lie in the triangle (corners in image coordinates); a
  // triangle smaller than a pixel colours the pixel of its centre, so a dense mesh has no holes.
  void FillTriangle(const QPointF (&c)[3], QRgb colour) {
    const double minX = std::min({c[0].x(), c[1].x(), c[2].x()});
    const double maxX = std::max({c[0].x(), c[1].x(), c[2].x()});
    const double minY = std::min({c[0].y(), c[1].y(), c[2].y()});
    const double maxY = std::max({c[0].y(), c[1].y(), c[2].y()});
    // Wholly outside, or not a place at all: nothing to paint. The rest is clipped to the
    // image before it becomes whole pixels.
    if (!(maxX >= 0 && minX <= width_ && maxY >= 0 && minY <= height_)) return;
    const int x0 = static_cast<int>(std::ceil(std::max(minX, 0.0) - 0.5));
    const int x1 = static_cast<int>(std::floor(std::min(maxX, static_cast<double>(width_)) - 0.5));
    const int y0 = static_cast<int>(std::ceil(std::max(minY, 0.0) - 0.5));
    const int y1 = static_cast<int>(std::floor(std::min(maxY, static_cast<double>(height_)) - 0.5));
    const double area = (c[1].x() - c[0].x()) * (c[2].y() - c[0].y()) - (c[2].x() - c[0].x()) * (c[1].y() - c[0].y());
    bool painted = false;
    if (area != 0 && std::isfinite(area)) {
      const double sign = area > 0 ? 1.0 : -1.0;
      for (int y = y0; y <= y1; ++y) {
        const double py = y + 0.5;
        QRgb* row = bits_ + static_cast<std::size_t>(y) * stride_;
        for (int x = x0; x <= x1; ++x) {
          const double px = x + 0.5;
          const double e0 = ((c[1].x() - c[0].x()) * (py - c[0].y()) - (c[1].y() - c[0].y()) * (px - c[0].x())) * sign;
          const double e1 = ((c[2].x() - c[1].x()) * (py - c[1].y()) - (c[2].y() - c[1].y()) * (px - c[1].x())) * sign;
          const double e2 = ((c[0].x() - c[2].x()) * (py - c[2].y()) - (c[0].y() - c[2].y()) * (px - c[2].x())) * sign;
          if (e0 >= 0 && e1 >= 0 && e2 >= 0) {
            row[x] = colour;
            painted = true;
          }
        }
      }
    }
    if (!painted) {
      const double cx = (c[0].x() + c[1].x() + c[2].x()) / 3.0;
      const double cy = (c[0].y() + c[1].y() + c[2].y()) / 3.0;
      if (cx >= 0 && cy >= 0 && cx < width_ && cy < height_) {
        Set(static_cast<int>(cx), static_cast<int>(cy), colour);
      }
    }
  }
  void DrawOn(QPainter& painter) const { painter.drawImage(QPointF(left_, top_), image_); }

 private:
  int left_;
  int top_;
  QImage image_;
  int width_ = 0;
  int height_ = 0;
  QRgb* bits_ = nullptr;
  int stride_ = 0;
};

void DrawTitle(QPainter& painter, const view::ViewModel& model, const QRectF& target, const DrawOptions& options) {
  SmallFont(painter, 8.5);
  painter.setPen(Qt::black);
  const std::string title = std::string(view::KindName(model.kind)) + "  " + QFileInfo(Text(model.path)).fileName().toStdString();
  QRectF box;
  painter.drawText(target.adjusted(8, 4, -8, -4), Qt::AlignLeft | Qt::AlignTop, Text(title), &box);
  if (options.labelBoxes != nullptr) options.labelBoxes->push_back(box);
}

void DrawCurvature(QPainter& painter, const view::AlignmentView& a, const QRectF& strip, const DrawOptions& options) {
  view::Extents extents;
  for (const view::StationPoint& p : a.path) extents.Add(p.station, p.curvature);
  extents.Add(extents.minX, 0.0);
  if (extents.empty) return;
  Projection projection;
  projection.area = strip;
  projection.minX = extents.minX;
  projection.scaleX = extents.Width() > 0 ? strip.width() / extents.Width() : 1;
  const double span = std::max({std::fabs(extents.minY), std::fabs(extents.maxY), 1e-9});
  projection.minY = -span;
  projection.scaleY = strip.height() / (2 * span);
  painter.save();
  painter.setPen(LinePen(kGridColour, 1.0));
  painter.drawRect(strip);
  painter.drawLine(projection.ToPixel(extents.minX, 0), projection.ToPixel(extents.maxX, 0));
  QPolygonF line;
  for (const view::StationPoint& p : a.path) line << projection.ToPixel(p.station, p.curvature);
  painter.setPen(LinePen(kClothoidColour, 1.2));
  painter.drawPolyline(line);
  if (options.labels) {
    SmallFont(painter);
    painter.setPen(Qt::black);
    painter.drawText(strip.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Curvatura (1/R)"));
  }
  painter.restore();
}

// Labels that never overlap one another nor leave their bounds: a label that would is not
// drawn. The boxes drawn are kept (and handed to DrawOptions::labelBoxes).
class Labels {
 public:
  Labels(QPainter& painter, const QRectF& bounds, std::vector<QRectF>* record)
      : painter_(painter), bounds_(bounds), record_(record) {}

  // The box `text` takes with the corner or side `align` names at `at` (vertical text reads
  // upwards and takes the text's height as its width).
  QRectF Box(const QString& text, const QPointF& at, Qt::Alignment align, bool vertical = false) const {
    const QFontMetricsF metrics(painter_.font());
    const double length = metrics.horizontalAdvance(text) + 2;
    const double thickness = metrics.height();
    const double width = vertical ? thickness : length;
    const double height = vertical ? length : thickness;
    double left = at.x();
    if (align & Qt::AlignRight) left -= width;
    if (align & Qt::AlignHCenter) left -= width / 2;
    double top = at.y();
    if (align & Qt::AlignBottom) top -= height;
    if (align & Qt::AlignVCenter) top -= height / 2;
    return QRectF(left, top, width, height);
  }
  bool Fits(const QRectF& box) const {
    if (!bounds_.contains(box)) return false;
    for (const QRectF& placed : placed_) {
      if (placed.adjusted(-1, -1, 1, 1).intersects(box)) return false;
    }
    return true;
  }
  // Draws the label when it fits; false when it was left out.
  bool Put(const QString& text, const QPointF& at, Qt::Alignment align, bool vertical = false) {
    return PutBox(text, Box(text, at, align, vertical), vertical);
  }
  bool PutBox(const QString& text, const QRectF& box, bool vertical = false) {
    if (text.isEmpty() || !Fits(box)) return false;
    if (vertical) {
      painter_.save();
      painter_.translate(box.left(), box.bottom());
      painter_.rotate(-90);
      painter_.drawText(QRectF(0, 0, box.height(), box.width()), Qt::AlignCenter, text);
      painter_.restore();
    } else {
      painter_.drawText(box, Qt::AlignCenter, text);
    }
    placed_.push_back(box);
    if (record_ != nullptr) record_->push_back(box);
    return true;
  }
  // A place of the drawing (a vertex) that labels keep clear of.
  void Keep(const QRectF& box) { placed_.push_back(box); }

 private:
  QPainter& painter_;
  QRectF bounds_;
  std::vector<QRectF>* record_;
  std::vector<QRectF> placed_;
};

// The smallest round step (1, 2, 2.5 or 5 times a power of ten) of at least `least`.
double RoundStep(double least) {
  if (!(least > 0) || !std::isfinite(least)) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(least)));
  for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (m * power >= least * (1 - 1e-9)) return m * power;
  }
  return 10.0 * power;
}

// Decimals that show the multiples of `step` exactly.
int StepDecimals(double step) {
  int decimals = 0;
  while (decimals < 3 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6) {
    ++decimals;
  }
  return decimals;
}

constexpr double kTitleHeight = 22.0;
constexpr double kOuterMargin = 10.0;

// Where the long section's parts go in `target`: the profile, the band (guitarra) under it
// with its rows, the column of the rows' titles and elevations at the left.
struct LongSectionLayout {
  QRectF profile;
  QRectF band;  // empty without labels or when the drawing is too low for it
  struct Row {
    QString title;
    QRectF rect;
  };
  std::vector<Row> rows;
};

constexpr double kBandFont = 7.0;

LongSectionLayout LayOutLongSection(const view::ProfileView& p, const QRectF& target, const DrawOptions& options) {
  LongSectionLayout layout;
  if (!options.labels) {
    layout.profile = target.adjusted(kOuterMargin, kOuterMargin, -kOuterMargin, -kOuterMargin);
    return layout;
  }
  QFont font;
  font.setPointSizeF(kBandFont);
  const QFontMetricsF metrics(font);
  const double titles = std::max(metrics.horizontalAdvance(QStringLiteral("Cota terreno")),
                                 metrics.horizontalAdvance(QStringLiteral("000 000,0"))) + 12;
  const double vertical = metrics.horizontalAdvance(QStringLiteral("00+000,000")) + 10;
  const double line = metrics.height() + 6;
  std::vector<std::pair<QString, double>> rows = {{QStringLiteral("Pendiente"), line},
                                                  {QStringLiteral("Acuerdos"), 2 * line},
                                                  {QStringLiteral("Cota rasante"), vertical}};
  if (!p.terrain.empty()) rows.push_back({QStringLiteral("Cota terreno"), vertical});
  rows.push_back({QStringLiteral("P.K."), vertical});
  double bandHeight = 0;
  for (const auto& row : rows) bandHeight += row.second;
  const QRectF inner = target.adjusted(kOuterMargin, kOuterMargin + kTitleHeight, -kOuterMargin - 14, -kOuterMargin);
  // The band only where it leaves the profile at least as high as itself.
  const bool band = inner.height() >= 2 * bandHeight + 40;
  const double bottom = band ? inner.bottom() - bandHeight - 10 : inner.bottom() - line - 6;
  layout.profile = QRectF(QPointF(inner.left() + titles, inner.top() + 16), QPointF(inner.right(), bottom));
  if (!band) return layout;
  layout.band = QRectF(QPointF(inner.left(), inner.bottom() - bandHeight), QPointF(inner.right(), inner.bottom()));
  double y = layout.band.top();
  for (const auto& [title, height] : rows) {
    layout.rows.push_back({title, QRectF(layout.band.left(), y, layout.band.width(), height)});
    y += height;
  }
  return layout;
}

// The exaggeration that fills `area` with `extents`, rounded down to 1, 1.5, 2, 2.5, 3, 4, 5,
// 6 or 8 times a power of ten (at least 1).
double FillingExaggeration(const view::Extents& extents, const QRectF& area) {
  if (extents.empty || extents.Width() <= 0 || area.width() <= 0 || area.height() <= 0) return 1.0;
  const double height = std::max(extents.Height(), extents.Width() * 1e-4);
  const double exact = (area.height() / height) / (area.width() / extents.Width());
  if (!(exact > 1) || !std::isfinite(exact)) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(exact)));
  double chosen = power;
  for (const double m : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0}) {
    if (m * power <= exact * (1 + 1e-9)) chosen = m * power;
  }
  return chosen;
}

QString ExaggerationText(double exaggeration) {
  return Text(Number(exaggeration, exaggeration == std::round(exaggeration) ? 0 : 1));
}

// Grade in per cent of the tangent from vertex a to vertex b.
double GradePercent(const common::ProfileVertex& a, const common::ProfileVertex& b) {
  return b.station != a.station ? (b.elevation - a.elevation) / (b.station - a.station) * 100.0 : 0.0;
}

bool IsVerticalCurve(const common::Profile& p, std::size_t i) {
  return i > 0 && i + 1 < p.size() && p[i].tangent > 0 && std::isfinite(p[i].tangent);
}

double Interpolated(const std::vector<view::SectionPoint>& line, double station) {
  if (line.empty()) return 0;
  if (station <= line.front().station) return line.front().elevation;
  if (station >= line.back().station) return line.back().elevation;
  const auto next = std::lower_bound(line.begin(), line.end(), station,
                                     [](const view::SectionPoint& s, double x) { return s.station < x; });
  const auto before = next - 1;
  if (next->station == before->station) return next->elevation;
  return before->elevation + (next->elevation - before->elevation) * (station - before->station) /
                                 (next->station - before->station);
}

void DrawLongSection(QPainter& painter, const view::ViewModel& model, const Projection& projection, const QRectF& target,
                     const DrawOptions& options) {
  const view::ProfileView& p = model.profile;
  const LongSectionLayout layout = LayOutLongSection(p, target, options);
  const QRectF area = projection.area;
  painter.save();
  Labels labels(painter, target.adjusted(2, kTitleHeight + 2, -2, -2), options.labelBoxes);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  projection.ToWorld(area.bottomLeft(), x0, y0);
  projection.ToWorld(area.topRight(), x1, y1);
  x0 = std::max(x0, p.extents.minX);
  x1 = std::min(x1, p.extents.maxX);
  SmallFont(painter, kBandFont);

  // Elevation grid and axis.
  if (options.labels) {
    const double step = RoundStep(36.0 / projection.scaleY);
    const int decimals = StepDecimals(step);
    for (double y = std::ceil(y0 / step) * step; y <= y1 + 1e-9; y += step) {
      const double py = projection.ToPixel(0, y).y();
      painter.setPen(LinePen(kGridColour, 1.0));
      painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
      painter.setPen(Qt::black);
      labels.Put(Text(Number(y, decimals)), QPointF(area.left() - 4, py), Qt::AlignRight | Qt::AlignVCenter);
    }
    labels.Put(QStringLiteral("Cota (m)"), QPointF(area.left() - 4, area.top() - 4), Qt::AlignRight | Qt::AlignBottom);
    // Station grid: lines at the major stations, ticks at the minor ones.
    const double major = RoundStep(90.0 / projection.scaleX);
    const double minor = RoundStep(12.0 / projection.scaleX);
    painter.setPen(LinePen(kGridColour, 1.0));
    for (double x = std::ceil(x0 / major) * major; x <= x1 + 1e-9; x += major) {
      const double px = projection.ToPixel(x, 0).x();
      painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    }
    painter.setPen(LinePen(Qt::black, 1.0));
    painter.drawRect(area);
    for (double x = std::ceil(x0 / minor) * minor; x <= x1 + 1e-9; x += minor) {
      const double px = projection.ToPixel(x, 0).x();
      const bool isMajor = std::fabs(std::remainder(x, major)) < minor * 1e-3;
      painter.drawLine(QPointF(px, area.bottom()), QPointF(px, area.bottom() - (isMajor ? 7 : 4)));
    }
    if (layout.band.isEmpty()) {
      for (double x = std::ceil(x0 / major) * major; x <= x1 + 1e-9; x += major) {
        labels.Put(Text(view::StationLabel(x, StepDecimals(major))), QPointF(projection.ToPixel(x, 0).x(), area.bottom() + 3),
                   Qt::AlignHCenter | Qt::AlignTop);
      }
    }
  }

  painter.save();
  painter.setClipRect(area.adjusted(-4, -4, 4, 4));
  // The terrain, the tangents through the vertices, the grade line and its vertical curves.
  if (!p.terrain.empty()) {
    QPolygonF ground;
    for (const auto& s : p.terrain) ground << projection.ToPixel(s.station, s.elevation);
    painter.setPen(LinePen(QColor(140, 90, 40), 1.4));
    painter.drawPolyline(ground);
  }
  QPolygonF tangents;
  for (const auto& v : p.vertices) tangents << projection.ToPixel(v.station, v.elevation);
  QPen dashed = LinePen(Qt::gray, 1.0);
  dashed.setStyle(Qt::DashLine);
  painter.setPen(dashed);
  painter.drawPolyline(tangents);
  QPolygonF line;
  for (const auto& s : p.line) line << projection.ToPixel(s.station, s.elevation);
  painter.setPen(LinePen(kClothoidColour, 2.0));
  painter.drawPolyline(line);
  for (std::size_t i = 0; i < p.vertices.size(); ++i) {
    if (!IsVerticalCurve(p.vertices, i)) continue;
    const auto& v = p.vertices[i];
    QPolygonF curve;
    for (const auto& s : p.line) {
      if (s.station >= v.station - v.tangent - 1e-9 && s.station <= v.station + v.tangent + 1e-9) {
        curve << projection.ToPixel(s.station, s.elevation);
      }
    }
    painter.setPen(LinePen(kArcColour, 2.4));
    painter.drawPolyline(curve);
    // Its start and end marked across the line.
    painter.setPen(LinePen(kArcColour, 1.0));
    for (const double at : {v.station - v.tangent, v.station + v.tangent}) {
      const QPointF point = projection.ToPixel(at, Interpolated(p.line, at));
      painter.drawLine(point + QPointF(0, -7), point + QPointF(0, 7));
    }
  }
  painter.setPen(LinePen(Qt::black, 1.0));
  for (const QPointF& vertex : tangents) painter.drawEllipse(vertex, 3, 3);
  painter.restore();

  if (!options.labels) {
    painter.restore();
    return;
  }
  // The labels of the drawing keep clear of the vertices.
  for (const QPointF& vertex : tangents) labels.Keep(QRectF(vertex - QPointF(4, 4), QSizeF(8, 8)));
  painter.setPen(Qt::black);
  labels.Put(QStringLiteral("Exageración vertical x") + ExaggerationText(projection.scaleY / projection.scaleX),
             QPointF(area.right() - 4, area.top() + 4), Qt::AlignRight | Qt::AlignTop);
  // Each vertex: its number above it (below where there is no room).
  for (std::size_t i = 0; i < p.vertices.size(); ++i) {
    const QPointF at = tangents[static_cast<int>(i)];
    const QString name = QStringLiteral("V") + QString::number(i + 1);
    if (!labels.Put(name, at + QPointF(0, -6), Qt::AlignHCenter | Qt::AlignBottom)) {
      labels.Put(name, at + QPointF(0, 6), Qt::AlignHCenter | Qt::AlignTop);
    }
  }
  // The grade of each tangent beside its straight part.
  painter.setPen(QColor(0, 90, 0));
  for (std::size_t i = 0; i + 1 < p.vertices.size(); ++i) {
    const auto& a = p.vertices[i];
    const auto& b = p.vertices[i + 1];
    const double from = a.station + (IsVerticalCurve(p.vertices, i) ? a.tangent : 0);
    const double to = b.station - (IsVerticalCurve(p.vertices, i + 1) ? b.tangent : 0);
    const double middle = to > from ? (from + to) / 2 : (a.station + b.station) / 2;
    const QPointF at = projection.ToPixel(middle, Interpolated(p.line, middle));
    const QString grade = Text(Number(GradePercent(a, b), 3)) + QStringLiteral(" %");
    // On the side of the line that is clear of it: above and ahead of a falling tangent, above
    // and behind a rising one; else below on the other side.
    const bool rising = b.elevation >= a.elevation;
    const Qt::Alignment ahead = rising ? Qt::AlignRight : Qt::AlignLeft;
    const Qt::Alignment behind = rising ? Qt::AlignLeft : Qt::AlignRight;
    const double side = rising ? -4 : 4;
    if (!labels.Put(grade, at + QPointF(side, -4), ahead | Qt::AlignBottom)) {
      labels.Put(grade, at + QPointF(-side, 4), behind | Qt::AlignTop);
    }
  }
  painter.setPen(Qt::black);
  if (layout.band.isEmpty()) {
    painter.restore();
    return;
  }

  // The band: a row per value, its title at the left, lines at the vertices.
  const QRectF band(QPointF(area.left(), layout.band.top()), layout.band.bottomRight());
  painter.setPen(LinePen(Qt::black, 1.0));
  painter.drawRect(layout.band);
  painter.drawLine(QPointF(area.left(), layout.band.top()), QPointF(area.left(), layout.band.bottom()));
  const auto inBand = [&](double station) {
    const double px = projection.ToPixel(station, 0).x();
    return px >= band.left() - 0.5 && px <= band.right() + 0.5;
  };
  const double tickStep = RoundStep(std::max(14.0 / projection.scaleX, RoundStep(12.0 / projection.scaleX)));
  const int tickDecimals = StepDecimals(tickStep);
  for (const auto& row : layout.rows) {
    painter.setPen(LinePen(Qt::black, 1.0));
    painter.drawLine(row.rect.topLeft(), row.rect.topRight());
    painter.setPen(Qt::black);
    labels.Put(row.title, QPointF(row.rect.left() + 4, row.rect.center().y()), Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF cells(QPointF(band.left(), row.rect.top()), row.rect.bottomRight());
    const auto vertical = [&](double station, const QString& text) {
      const double px = projection.ToPixel(station, 0).x();
      if (!inBand(station)) return false;
      return labels.Put(text, QPointF(px, cells.bottom() - 3), Qt::AlignHCenter | Qt::AlignBottom, true);
    };
    if (row.title == QStringLiteral("Pendiente")) {
      for (std::size_t i = 0; i + 1 < p.vertices.size(); ++i) {
        const auto& a = p.vertices[i];
        const auto& b = p.vertices[i + 1];
        const double left = std::max(projection.ToPixel(a.station, 0).x(), cells.left());
        const double right = std::min(projection.ToPixel(b.station, 0).x(), cells.right());
        if (right <= left) continue;
        painter.setPen(LinePen(Qt::black, 1.0));
        if (inBand(b.station)) painter.drawLine(QPointF(right, cells.top()), QPointF(right, cells.bottom()));
        const QString grade = Text(Number(GradePercent(a, b), 3)) + QStringLiteral(" %");
        const QRectF box = labels.Box(grade, QPointF((left + right) / 2, cells.center().y()), Qt::AlignCenter);
        if (box.left() > left && box.right() < right) labels.PutBox(grade, box);
      }
    } else if (row.title == QStringLiteral("Acuerdos")) {
      for (std::size_t i = 0; i < p.vertices.size(); ++i) {
        if (!IsVerticalCurve(p.vertices, i)) continue;
        const auto& v = p.vertices[i];
        const double left = std::max(projection.ToPixel(v.station - v.tangent, 0).x(), cells.left());
        const double right = std::min(projection.ToPixel(v.station + v.tangent, 0).x(), cells.right());
        if (right <= left) continue;
        const double y = cells.top() + 4;
        painter.setPen(LinePen(kArcColour, 1.0));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        painter.drawLine(QPointF(left, y), QPointF(left, y + 5));
        painter.drawLine(QPointF(right, y), QPointF(right, y + 5));
        painter.setPen(Qt::black);
        const double external = v.external != 0 ? v.external
                                                : (v.kv != 0 ? v.tangent * v.tangent / (2 * std::fabs(v.kv)) : 0.0);
        const QString kv = QStringLiteral("Kv ") + Text(Number(v.kv, 0));
        const QString lengths = QStringLiteral("T ") + Text(Number(v.tangent, 2)) + QStringLiteral("  f ") +
                                Text(Number(external, 3));
        const double centre = (left + right) / 2;
        const double middle = cells.top() + cells.height() / 2 + 2;
        const QRectF upper = labels.Box(kv, QPointF(centre, middle), Qt::AlignHCenter | Qt::AlignBottom);
        const QRectF lower = labels.Box(lengths, QPointF(centre, middle + 2), Qt::AlignHCenter | Qt::AlignTop);
        if (labels.Fits(upper) && labels.Fits(lower)) {
          labels.PutBox(kv, upper);
          labels.PutBox(lengths, lower);
        } else {
          labels.PutBox(kv, upper);
        }
      }
    } else {
      const bool stations = row.title == QStringLiteral("P.K.");
      const bool ground = row.title == QStringLiteral("Cota terreno");
      const std::vector<view::SectionPoint>& from = ground ? p.terrain : p.line;
      const auto value = [&](double station) {
        return stations ? Text(view::StationLabel(station, tickDecimals)) : Text(Number(Interpolated(from, station), 2));
      };
      // The vertices first, then the round stations where they leave room.
      painter.setPen(Qt::black);
      for (const auto& v : p.vertices) {
        if (ground && (v.station < from.front().station || v.station > from.back().station)) continue;
        vertical(v.station, stations ? Text(view::StationLabel(v.station, 3)) : value(v.station));
      }
      for (double x = std::ceil(x0 / tickStep) * tickStep; x <= x1 + 1e-9; x += tickStep) {
        if (ground && (x < from.front().station || x > from.back().station)) continue;
        vertical(x, value(x));
      }
    }
  }
  painter.restore();
}

// The references of a plan: a grid of eastings and northings labelled outside the drawing, a
// north arrow and a scale bar inside it (their places kept clear of other labels).
void DrawPlanReferences(QPainter& painter, const Projection& projection, Labels& labels,
                        const QPolygonF& occupied = QPolygonF()) {
  const QRectF area = projection.area;
  painter.save();
  SmallFont(painter, 7.0);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  projection.ToWorld(area.bottomLeft(), x0, y0);
  projection.ToWorld(area.topRight(), x1, y1);
  const double step = RoundStep(120.0 / projection.scaleX);
  const int decimals = StepDecimals(step);
  QPen grid = LinePen(QColor(215, 215, 215), 1.0);
  grid.setStyle(Qt::DotLine);
  for (double x = std::ceil(x0 / step) * step; x <= x1; x += step) {
    const double px = projection.ToPixel(x, 0).x();
    painter.setPen(grid);
    painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    painter.setPen(Qt::black);
    labels.Put(Text(Number(x, decimals)), QPointF(px, area.bottom() + 2), Qt::AlignHCenter | Qt::AlignTop);
  }
  for (double y = std::ceil(y0 / step) * step; y <= y1; y += step) {
    const double py = projection.ToPixel(0, y).y();
    painter.setPen(grid);
    painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
    painter.setPen(Qt::black);
    labels.Put(Text(Number(y, decimals)), QPointF(area.left() - 2, py), Qt::AlignRight | Qt::AlignVCenter, true);
  }
  // The arrow and the bar go to the corners the drawing leaves empty (the fewest of its
  // points), the arrow to the top right unless it is taken.
  const auto pointsIn = [&occupied](const QRectF& box) {
    long count = 0;
    for (const QPointF& point : occupied) count += box.contains(point) ? 1 : 0;
    return count;
  };
  const double barLength = RoundStep(area.width() / 6.0 / projection.scaleX);
  const double barPixels = barLength * projection.scaleX;
  const QRectF arrowBoxes[] = {QRectF(area.right() - 30, area.top(), 30, 44), QRectF(area.left(), area.top(), 30, 44),
                               QRectF(area.right() - 30, area.bottom() - 44, 30, 44),
                               QRectF(area.left(), area.bottom() - 44, 30, 44)};
  const QRectF barBoxes[] = {QRectF(area.left(), area.bottom() - 34, barPixels + 40, 34),
                             QRectF(area.right() - barPixels - 40, area.bottom() - 34, barPixels + 40, 34),
                             QRectF(area.left(), area.top(), barPixels + 40, 34),
                             QRectF(area.right() - barPixels - 40, area.top(), barPixels + 40, 34)};
  const auto emptiest = [&](const QRectF (&boxes)[4], const QRectF& taken) {
    int best = 0;
    long fewest = -1;
    for (int k = 0; k < 4; ++k) {
      if (boxes[k].intersects(taken)) continue;
      const long count = pointsIn(boxes[k]);
      if (fewest < 0 || count < fewest) {
        fewest = count;
        best = k;
      }
    }
    return boxes[best];
  };
  const QRectF arrowBox = emptiest(arrowBoxes, QRectF());
  const QRectF barBox = emptiest(barBoxes, arrowBox);
  // North: up the page (eastings to the right, northings up).
  const QPointF tip(arrowBox.center().x(), arrowBox.top() + 16);
  QPolygonF arrow;
  arrow << tip << tip + QPointF(-6, 18) << tip + QPointF(0, 13) << tip + QPointF(6, 18);
  painter.setPen(LinePen(Qt::black, 1.0));
  painter.setBrush(Qt::black);
  painter.drawPolygon(arrow);
  painter.setBrush(Qt::NoBrush);
  labels.Keep(QRectF(tip + QPointF(-8, -2), QSizeF(16, 22)));
  labels.Put(QStringLiteral("N"), tip + QPointF(0, -5), Qt::AlignHCenter | Qt::AlignBottom);
  // Scale bar: a round length near a fifth of the width, in four parts.
  const double length = barLength;
  const double pixels = barPixels;
  const QPointF start(barBox.left() + 12, barBox.bottom() - 12);
  for (int k = 0; k < 4; ++k) {
    const QRectF part(start.x() + pixels * k / 4, start.y() - 4, pixels / 4, 4);
    painter.fillRect(part, k % 2 == 0 ? Qt::black : Qt::white);
    painter.drawRect(part);
  }
  labels.Keep(QRectF(start.x() - 2, start.y() - 6, pixels + 4, 8));
  labels.Put(QStringLiteral("0"), start + QPointF(0, -9), Qt::AlignHCenter | Qt::AlignBottom);
  labels.Put(Text(Number(length, StepDecimals(length))) + QStringLiteral(" m"), start + QPointF(pixels, -9),
             Qt::AlignHCenter | Qt::AlignBottom);
  painter.restore();
}

void DrawPlan(QPainter& painter, const view::AlignmentView& a, const Projection& projection, const QRectF& target,
              const DrawOptions& options) {
  Labels labels(painter, target.adjusted(2, kTitleHeight + 2, -2, -2), options.labelBoxes);
  QPolygonF path;
  for (const view::StationPoint& point : a.path) path << projection.ToPixel(point.point.x, point.point.y);
  if (options.labels) DrawPlanReferences(painter, projection, labels, path);
  painter.save();
  painter.setClipRect(projection.area.adjusted(-Margin(options), -Margin(options), Margin(options), Margin(options)));
  for (std::size_t i = 0; i + 1 < a.elementFirstPoint.size(); ++i) {
    QPolygonF line;
    const std::size_t end = std::min(a.path.size(), a.elementFirstPoint[i + 1] + 1);
    for (std::size_t k = a.elementFirstPoint[i]; k < end; ++k) {
      line << projection.ToPixel(a.path[k].point.x, a.path[k].point.y);
    }
    painter.setPen(LinePen(ElementColour(a.elements[i].kind), 2.0));
    painter.drawPolyline(line);
  }
  painter.restore();
  if (!options.labels) return;
  painter.save();
  SmallFont(painter);
  // A label clear of the line: no point of the path inside its box.
  const auto clearOfLine = [&path](const QRectF& box) {
    const QRectF around = box.adjusted(-2, -2, 2, 2);
    for (const QPointF& point : path) {
      if (around.contains(point)) return false;
    }
    for (int k = 0; k + 1 < path.size(); ++k) {
      const QPointF middle = (path[k] + path[k + 1]) / 2;
      if (around.contains(middle)) return false;
    }
    return true;
  };
  for (const view::StationTick& tick : a.ticks) {
    const QPointF at = projection.ToPixel(tick.at.point.x, tick.at.point.y);
    if (!Visible(at, projection.area)) continue;
    // Across the road: the tangent turned a quarter circle, drawn 6 px to each side.
    const double across = (tick.at.azimuth + 100.0) * common::kRadiansPerGrad;
    const QPointF side(6.0 * std::sin(across), -6.0 * std::cos(across));
    painter.setPen(LinePen(Qt::black, 1.0));
    painter.drawLine(at - side, at + side);
    // The label beyond the tick's end, on whichever side of the road leaves it clear.
    for (const double sense : {1.0, -1.0}) {
      const QPointF end = at + side * sense * 1.5;
      Qt::Alignment align = (side.x() * sense >= 0 ? Qt::AlignLeft : Qt::AlignRight);
      align |= std::fabs(side.y()) < 2 ? Qt::AlignVCenter : (side.y() * sense >= 0 ? Qt::AlignTop : Qt::AlignBottom);
      const QRectF box = labels.Box(Text(tick.label), end, align);
      if (clearOfLine(box) && labels.PutBox(Text(tick.label), box)) break;
    }
  }
  painter.restore();
}

void DrawOneSection(QPainter& painter, const view::CrossSection& section, const QRectF& cell, const DrawOptions& options) {
  view::Extents extents;
  for (const auto& point : section.points) extents.Add(point.offset, point.elevation);
  // Room for the axes' labels: elevations at the left, offsets under the section.
  const QRectF inside = options.labels ? cell.adjusted(46, 20, -12, -20) : cell.adjusted(4, 4, -4, -4);
  const Projection projection = FitProjection(extents, inside, 1.0);
  painter.save();
  Labels labels(painter, cell.adjusted(1, 1, -1, -1), options.labelBoxes);
  if (options.labels && !extents.empty) {
    SmallFont(painter, 6.5);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    projection.ToWorld(inside.bottomLeft(), x0, y0);
    projection.ToWorld(inside.topRight(), x1, y1);
    const double step = RoundStep(40.0 / projection.scaleX);
    const int decimals = StepDecimals(step);
    painter.setPen(LinePen(Qt::black, 1.0));
    painter.drawLine(inside.bottomLeft(), inside.bottomRight());
    painter.drawLine(inside.bottomLeft(), inside.topLeft());
    for (double x = std::ceil(x0 / step) * step; x <= x1 + 1e-9; x += step) {
      const double px = projection.ToPixel(x, 0).x();
      painter.setPen(LinePen(kGridColour, 1.0));
      painter.drawLine(QPointF(px, inside.top()), QPointF(px, inside.bottom()));
      painter.setPen(LinePen(Qt::black, 1.0));
      painter.drawLine(QPointF(px, inside.bottom()), QPointF(px, inside.bottom() + 3));
      labels.Put(Text(Number(x, decimals)), QPointF(px, inside.bottom() + 4), Qt::AlignHCenter | Qt::AlignTop);
    }
    for (double y = std::ceil(y0 / step) * step; y <= y1 + 1e-9; y += step) {
      const double py = projection.ToPixel(0, y).y();
      painter.setPen(LinePen(kGridColour, 1.0));
      painter.drawLine(QPointF(inside.left(), py), QPointF(inside.right(), py));
      painter.setPen(LinePen(Qt::black, 1.0));
      painter.drawLine(QPointF(inside.left() - 3, py), QPointF(inside.left(), py));
      labels.Put(Text(Number(y, decimals)), QPointF(inside.left() - 4, py), Qt::AlignRight | Qt::AlignVCenter);
    }
  }
  painter.setPen(LinePen(QColor(150, 150, 150), 1.0));
  const QPointF axisTop = projection.ToPixel(0, extents.maxY);
  const QPointF axisBottom = projection.ToPixel(0, extents.minY);
  painter.drawLine(axisTop, axisBottom);
  QPolygonF line;
  for (const auto& point : section.points) line << projection.ToPixel(point.offset, point.elevation);
  painter.setPen(LinePen(kStraightColour, 1.6));
  painter.drawPolyline(line);
  for (const QPointF& point : line) painter.drawEllipse(point, 2, 2);
  if (options.labels) {
    SmallFont(painter);
    painter.setPen(Qt::black);
    labels.Put(Text("P.K. " + view::StationLabel(section.station, 3)), QPointF(cell.center().x(), cell.top() + 3),
               Qt::AlignHCenter | Qt::AlignTop);
    if (section.points.size() <= 40) {
      for (std::size_t k = 0; k < section.points.size(); ++k) {
        if (section.points[k].code.empty()) continue;
        labels.Put(Text(section.points[k].code), line[static_cast<int>(k)] + QPointF(2, -4), Qt::AlignLeft | Qt::AlignBottom);
      }
    }
  }
  painter.restore();
}

void DrawSections(QPainter& painter, const view::CrossSectionsView& s, const QRectF& area, const DrawOptions& options) {
  if (s.sections.empty()) return;
  if (options.section >= 0) {
    const std::size_t index = std::min<std::size_t>(static_cast<std::size_t>(options.section), s.sections.size() - 1);
    DrawOneSection(painter, s.sections[index], area, options);
    return;
  }
  // The first sections side by side, up to four by three.
  const std::size_t shown = std::min<std::size_t>(s.sections.size(), 12);
  const int columns = shown <= 1 ? 1 : shown <= 4 ? 2 : shown <= 9 ? 3 : 4;
  const int rows = static_cast<int>((shown + columns - 1) / columns);
  const double width = area.width() / columns;
  const double height = area.height() / rows;
  for (std::size_t k = 0; k < shown; ++k) {
    const QRectF cell(area.left() + width * (k % columns), area.top() + height * (k / columns), width, height);
    painter.setPen(LinePen(kGridColour, 1.0));
    painter.drawRect(cell);
    DrawOneSection(painter, s.sections[k], cell, options);
  }
}

void DrawPoints(QPainter& painter, const view::PointsView& p, const Projection& projection, const DrawOptions& options) {
  painter.save();
  std::vector<QPointF> pixels;
  pixels.reserve(p.points.size());
  std::vector<std::size_t> shown;
  for (std::size_t k = 0; k < p.points.size(); ++k) {
    const QPointF at = projection.ToPixel(p.points[k].x, p.points[k].y);
    if (!Visible(at, projection.area)) continue;
    pixels.push_back(at);
    if (shown.size() <= kMaxLabelledPoints) shown.push_back(k);
  }
  if (pixels.size() > kRasterPoints) {
    AreaRaster raster(projection.area.adjusted(-2, -2, 2, 2));
    const QRgb colour = kArcColour.rgba();
    for (const QPointF& at : pixels) {
      raster.Set(static_cast<int>(std::floor(raster.X(at.x()))), static_cast<int>(std::floor(raster.Y(at.y()))), colour);
    }
    raster.DrawOn(painter);
  } else {
    painter.setPen(LinePen(kArcColour, 3.0));
    painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
  }
  if (options.labels && shown.size() <= kMaxLabelledPoints) {
    SmallFont(painter, 6.5);
    painter.setPen(Qt::black);
    for (std::size_t k : shown) {
      const auto& point = p.points[k];
      std::string label = std::to_string(point.number);
      if (!point.code.empty()) label += " " + point.code;
      painter.drawText(projection.ToPixel(point.x, point.y) + QPointF(4, -3), Text(label));
    }
  }
  painter.restore();
}

void DrawSurface(QPainter& painter, const view::SurfaceView& s, const Projection& projection, const DrawOptions& options) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  std::vector<QPointF> pixel(s.points.size());
  for (std::size_t k = 0; k < s.points.size(); ++k) pixel[k] = projection.ToPixel(s.points[k].x, s.points[k].y);
  const long count = static_cast<long>(s.points.size());
  const QRectF area = projection.area.adjusted(-1, -1, 1, 1);
  // Edges only where triangles are large enough on screen to show them.
  const double extentPixels = std::max(1.0, s.extents.Width() * projection.scaleX) *
                              std::max(1.0, s.extents.Height() * projection.scaleY);
  const bool edges = !s.triangles.empty() && extentPixels / static_cast<double>(s.triangles.size()) > 150.0;
  if (edges) painter.setPen(LinePen(QColor(90, 90, 90, 140), 1.0));
  if (s.triangles.size() > kRasterTriangles && !edges) {
    // The colours of the elevations, worked out once.
    std::vector<QRgb> palette(kPaletteSize);
    for (int k = 0; k < kPaletteSize; ++k) {
      palette[k] = ElevationColour(s.minZ + (s.maxZ - s.minZ) * k / (kPaletteSize - 1), s.minZ, s.maxZ).rgba();
    }
    const double toIndex = s.maxZ > s.minZ ? (kPaletteSize - 1) / (s.maxZ - s.minZ) : 0.0;
    AreaRaster raster(area);
    for (const auto& triangle : s.triangles) {
      if (triangle[0] < 0 || triangle[1] < 0 || triangle[2] < 0 || triangle[0] >= count || triangle[1] >= count ||
          triangle[2] >= count) {
        continue;
      }
      const QPointF corners[3] = {{raster.X(pixel[triangle[0]].x()), raster.Y(pixel[triangle[0]].y())},
                                  {raster.X(pixel[triangle[1]].x()), raster.Y(pixel[triangle[1]].y())},
                                  {raster.X(pixel[triangle[2]].x()), raster.Y(pixel[triangle[2]].y())}};
      const double z = (s.points[triangle[0]].z + s.points[triangle[1]].z + s.points[triangle[2]].z) / 3.0;
      const double index = (z - s.minZ) * toIndex;
      const int slot =
          std::isfinite(index) ? std::clamp(static_cast<int>(index + 0.5), 0, kPaletteSize - 1) : kPaletteSize / 2;
      raster.FillTriangle(corners, palette[slot]);
    }
    raster.DrawOn(painter);
  } else {
    for (const auto& triangle : s.triangles) {
      if (triangle[0] < 0 || triangle[1] < 0 || triangle[2] < 0 || triangle[0] >= count || triangle[1] >= count ||
          triangle[2] >= count) {
        continue;
      }
      const QPointF corners[3] = {pixel[triangle[0]], pixel[triangle[1]], pixel[triangle[2]]};
      const double left = std::min({corners[0].x(), corners[1].x(), corners[2].x()});
      const double right = std::max({corners[0].x(), corners[1].x(), corners[2].x()});
      const double top = std::min({corners[0].y(), corners[1].y(), corners[2].y()});
      const double bottom = std::max({corners[0].y(), corners[1].y(), corners[2].y()});
      if (right < area.left() || left > area.right() || bottom < area.top() || top > area.bottom()) continue;
      const double z = (s.points[triangle[0]].z + s.points[triangle[1]].z + s.points[triangle[2]].z) / 3.0;
      painter.setBrush(ElevationColour(z, s.minZ, s.maxZ));
      painter.drawConvexPolygon(corners, 3);
    }
  }
  painter.restore();
  if (options.labels && s.maxZ > s.minZ) {
    // The colour scale: lowest at the bottom.
    const QRectF bar(projection.area.right() + 8, projection.area.top(), 10, projection.area.height() / 2);
    for (int k = 0; k < static_cast<int>(bar.height()); ++k) {
      const double z = s.maxZ - (s.maxZ - s.minZ) * k / bar.height();
      painter.fillRect(QRectF(bar.left(), bar.top() + k, bar.width(), 1.0), ElevationColour(z, s.minZ, s.maxZ));
    }
    SmallFont(painter, 6.5);
    painter.setPen(Qt::black);
    painter.drawText(bar.topLeft() + QPointF(-6, -3), Text(Number(s.maxZ, 1)));
    painter.drawText(bar.bottomLeft() + QPointF(-6, 10), Text(Number(s.minZ, 1)));
  }
}

void DrawSuperelevation(QPainter& painter, const view::SuperelevationView& s, const Projection& projection,
                        const DrawOptions& options) {
  QPolygonF first;
  QPolygonF second;
  for (const auto& row : s.rows) {
    first << projection.ToPixel(row.station, row.first);
    second << projection.ToPixel(row.station, row.second);
  }
  painter.save();
  painter.setPen(LinePen(kGridColour, 1.0));
  painter.drawLine(projection.ToPixel(s.extents.minX, 0), projection.ToPixel(s.extents.maxX, 0));
  painter.setPen(LinePen(kArcColour, 1.6));
  painter.drawPolyline(first);
  painter.setPen(LinePen(kClothoidColour, 1.6));
  painter.drawPolyline(second);
  if (options.labels) {
    SmallFont(painter);
    painter.setPen(kArcColour);
    painter.drawText(projection.area.topLeft() + QPointF(0, -8), QStringLiteral("Peralte 1"));
    painter.setPen(kClothoidColour);
    painter.drawText(projection.area.topLeft() + QPointF(70, -8), QStringLiteral("Peralte 2"));
  }
  painter.restore();
}



// A table value for the reader: three decimals by default, decimal comma.
std::string Fixed(double value, int decimals = 3) { return detect::SpanishNumber(value, decimals); }

}  // namespace

Projection FitProjection(const view::Extents& extents, const QRectF& area, double exaggeration) {
  Projection projection;
  projection.area = area;
  if (extents.empty) return projection;
  const double width = std::max(extents.Width(), 1e-6);
  const double height = std::max(extents.Height(), 1e-6);
  const double scale = std::min(area.width() / width, area.height() / (height * exaggeration));
  projection.scaleX = scale;
  projection.scaleY = scale * exaggeration;
  projection.minX = extents.minX - (area.width() / projection.scaleX - extents.Width()) / 2.0;
  projection.minY = extents.minY - (area.height() / projection.scaleY - extents.Height()) / 2.0;
  return projection;
}

QRectF DrawingArea(const view::ViewModel& model, const QRectF& target, const DrawOptions& options) {
  if (model.kind == view::DataKind::kProfile) return LayOutLongSection(model.profile, target, options).profile;
  const double margin = Margin(options);
  QRectF area = target.adjusted(margin, margin, -margin, -margin);
  if (model.kind == view::DataKind::kAlignment && options.curvature) {
    area.setBottom(area.bottom() - area.height() * kCurvatureShare - margin / 2);
  }
  if (model.kind == view::DataKind::kSurface && options.labels) area.setRight(area.right() - 30);
  return area;
}

Projection ModelProjection(const view::ViewModel& model, const QRectF& target, const DrawOptions& options) {
  if (options.useProjection) return options.projection;
  const double exaggeration =
      model.kind == view::DataKind::kProfile ? LongSectionExaggeration(model, target, options) : 1.0;
  return FitProjection(model.Drawing(), DrawingArea(model, target, options), exaggeration);
}

double LongSectionExaggeration(const view::ViewModel& model, const QRectF& target, const DrawOptions& options) {
  if (options.exaggeration > 0) return options.exaggeration;
  return FillingExaggeration(model.Drawing(), DrawingArea(model, target, options));
}

QColor ElevationColour(double z, double minZ, double maxZ) {
  double t = maxZ > minZ ? (z - minZ) / (maxZ - minZ) : 0.5;
  if (!std::isfinite(t)) t = 0.5;
  t = std::clamp(t, 0.0, 1.0);
  // Low ground green, through yellow, to brown and white on the heights.
  struct Stop {
    double at;
    int r, g, b;
  };
  static const Stop stops[] = {{0.0, 40, 120, 60}, {0.35, 150, 190, 80}, {0.6, 230, 210, 110},
                               {0.85, 160, 110, 60}, {1.0, 240, 240, 240}};
  std::size_t k = 1;
  while (k + 1 < std::size(stops) && t > stops[k].at) ++k;
  const Stop& a = stops[k - 1];
  const Stop& b = stops[k];
  const double u = (t - a.at) / (b.at - a.at);
  return QColor(static_cast<int>(a.r + (b.r - a.r) * u), static_cast<int>(a.g + (b.g - a.g) * u),
                static_cast<int>(a.b + (b.b - a.b) * u));
}

void DrawModel(QPainter& painter, const view::ViewModel& model, const QRectF& target, const DrawOptions& options) {
  painter.save();
  painter.fillRect(target, Qt::white);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const QRectF area = DrawingArea(model, target, options);
  const Projection projection = ModelProjection(model, target, options);
  switch (model.kind) {
    case view::DataKind::kAlignment:
      DrawPlan(painter, model.alignment, projection, target, options);
      if (options.curvature) {
        const double margin = Margin(options);
        const QRectF inner = target.adjusted(margin, margin, -margin, -margin);
        DrawCurvature(painter, model.alignment, QRectF(inner.left(), area.bottom() + margin / 2, inner.width(),
                                                       inner.bottom() - area.bottom() - margin / 2),
                      options);
      }
      break;
    case view::DataKind::kProfile: DrawLongSection(painter, model, projection, target, options); break;
    case view::DataKind::kCrossSections: DrawSections(painter, model.sections, area, options); break;
    case view::DataKind::kPoints:
      DrawPoints(painter, model.points, projection, options);
      if (options.labels) {
        Labels labels(painter, target.adjusted(2, kTitleHeight + 2, -2, -2), options.labelBoxes);
        QPolygonF occupied;
        const std::size_t every = std::max<std::size_t>(1, model.points.points.size() / 20000);
        for (std::size_t k = 0; k < model.points.points.size(); k += every) {
          occupied << projection.ToPixel(model.points.points[k].x, model.points.points[k].y);
        }
        DrawPlanReferences(painter, projection, labels, occupied);
      }
      break;
    case view::DataKind::kSuperelevation: DrawSuperelevation(painter, model.superelevation, projection, options); break;
    case view::DataKind::kSurface:
      DrawSurface(painter, model.surface, projection, options);
      if (options.labels) {
        Labels labels(painter, target.adjusted(2, kTitleHeight + 2, -2, -2), options.labelBoxes);
        DrawPlanReferences(painter, projection, labels);
      }
      break;
    case view::DataKind::kNone: break;
  }
  if (options.labels) DrawTitle(painter, model, target, options);
  painter.restore();
}

QImage RenderImage(const view::ViewModel& model, const QSize& size, const DrawOptions& options) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawModel(painter, model, QRectF(0, 0, size.width(), size.height()), options);
  painter.end();
  return image;
}

bool SaveDrawing(const view::ViewModel& model, const std::string& path, const QSize& size, const DrawOptions& options,
                 std::string& error) {
  const QString file = Text(path);
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == "png") {
    if (RenderImage(model, size, options).save(file, "PNG")) return true;
  } else if (suffix == "svg") {
    QSvgGenerator generator;
    generator.setFileName(file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QFileInfo(Text(model.path)).fileName());
    QPainter painter;
    if (painter.begin(&generator)) {
      DrawModel(painter, model, QRectF(0, 0, size.width(), size.height()), options);
      if (painter.end() && QFileInfo(file).size() > 0) return true;
    }
  } else {
    error = "El dibujo debe ser .png o .svg: " + path;
    return false;
  }
  error = "No se puede escribir el fichero " + path;
  return false;
}

std::vector<std::vector<std::string>> RecordTable(const view::ViewModel& model, std::size_t maxRows) {
  std::vector<std::vector<std::string>> rows;
  auto full = [&] { return rows.size() > maxRows + 1; };
  switch (model.kind) {
    case view::DataKind::kAlignment: {
      rows.push_back({"Nº", "Tipo", "P.K.", "X", "Y", "Azimut", "Radio", "Parámetro", "Longitud"});
      const auto& e = model.alignment.elements;
      static const char* const kinds[] = {"recta", "curva", "clotoide"};
      for (std::size_t i = 0; i < e.size() && !full(); ++i) {
        const bool last = i + 1 == e.size();
        rows.push_back({std::to_string(i + 1), last ? "final" : kinds[std::clamp(e[i].kind, 0, 2)],
                        view::StationLabel(e[i].station, 3), Fixed(e[i].x), Fixed(e[i].y), Fixed(e[i].azimuth, 6),
                        Fixed(e[i].radius), Fixed(e[i].parameter), last ? "" : Fixed(e[i + 1].station - e[i].station)});
      }
      break;
    }
    case view::DataKind::kProfile:
      rows.push_back({"Nº", "P.K.", "Cota", "Kv", "T", "e"});
      for (std::size_t i = 0; i < model.profile.vertices.size() && !full(); ++i) {
        const auto& v = model.profile.vertices[i];
        rows.push_back({std::to_string(i + 1), view::StationLabel(v.station, 3), Fixed(v.elevation), Fixed(v.kv),
                        Fixed(v.tangent), Fixed(v.external)});
      }
      break;
    case view::DataKind::kCrossSections:
      rows.push_back({"P.K.", "Puntos", "Distancia mínima", "Distancia máxima"});
      for (const auto& section : model.sections.sections) {
        if (full()) break;
        double low = 0;
        double high = 0;
        for (std::size_t k = 0; k < section.points.size(); ++k) {
          low = k == 0 ? section.points[k].offset : std::min(low, section.points[k].offset);
          high = k == 0 ? section.points[k].offset : std::max(high, section.points[k].offset);
        }
        rows.push_back({view::StationLabel(section.station, 3), detect::SpanishCount(static_cast<long long>(section.points.size())), Fixed(low),
                        Fixed(high)});
      }
      break;
    case view::DataKind::kPoints:
      rows.push_back({"Número", "X", "Y", "Z", "Código"});
      for (const auto& point : model.points.points) {
        if (full()) break;
        rows.push_back({std::to_string(point.number), Fixed(point.x), Fixed(point.y), Fixed(point.z), point.code});
      }
      break;
    case view::DataKind::kSuperelevation:
      rows.push_back({"P.K.", "Peralte 1", "Peralte 2"});
      for (const auto& row : model.superelevation.rows) {
        if (full()) break;
        rows.push_back({view::StationLabel(row.station, 3), Fixed(row.first), Fixed(row.second)});
      }
      break;
    case view::DataKind::kSurface:
      rows.push_back({"Punto", "X", "Y", "Z"});
      for (std::size_t k = 0; k < model.surface.points.size() && !full(); ++k) {
        const auto& point = model.surface.points[k];
        rows.push_back({std::to_string(k + 1), Fixed(point.x), Fixed(point.y), Fixed(point.z)});
      }
      break;
    case view::DataKind::kNone: break;
  }
  return rows;
}

namespace {

// Writes lines of text down the pages of the report, starting a page when one is full.
class PageWriter {
 public:
  PageWriter(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {
    page_ = QRectF(0, 0, writer.width(), writer.height());
    y_ = page_.top();
  }
  void Font(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    painter_.setFont(font);
  }
  double LineHeight() const { return QFontMetricsF(painter_.font(), &writer_).height() * 1.15; }
  // Starts a page when `height` does not fit on this one; true when it did.
  bool Room(double height) {
    if (y_ + height <= page_.bottom()) return false;
    NewPage();
    return true;
  }
  double Width() const { return page_.width(); }
  QFontMetricsF Metrics() const { return QFontMetricsF(painter_.font(), &writer_); }
  void NewPage() {
    writer_.newPage();
    y_ = page_.top();
  }
  void Line(const std::string& text, const QColor& colour = Qt::black) {
    Room(LineHeight());
    painter_.setPen(colour);
    painter_.drawText(QRectF(page_.left(), y_, page_.width(), LineHeight()), Qt::AlignLeft | Qt::AlignVCenter,
                      Text(text));
    y_ += LineHeight();
  }
  // One row of a table: each cell in its column's width, numbers to the right; a header row
  // is drawn bold with a rule under it. True when the row started a page.
  bool Row(const std::vector<std::string>& cells, const std::vector<double>& widths, const std::vector<bool>& right,
           bool header = false) {
    const bool newPage = Room(LineHeight());
    painter_.setPen(Qt::black);
    QFont font = painter_.font();
    font.setBold(header);
    painter_.setFont(font);
    double x = page_.left();
    for (std::size_t k = 0; k < cells.size() && k < widths.size(); ++k) {
      const Qt::Alignment align = (right[k] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
      painter_.drawText(QRectF(x + 3, y_, widths[k] - 6, LineHeight()), align, Text(cells[k]));
      x += widths[k];
    }
    if (header) painter_.drawLine(QPointF(page_.left(), y_ + LineHeight()), QPointF(x, y_ + LineHeight()));
    font.setBold(false);
    painter_.setFont(font);
    y_ += LineHeight();
    return newPage;
  }
  void Space(double fraction) { y_ += LineHeight() * fraction; }
  // A rectangle for a drawing `share` of the page high, on this page or the next.
  QRectF Block(double share) {
    const double height = page_.height() * share;
    Room(height);
    const QRectF block(page_.left(), y_, page_.width(), height);
    y_ += height;
    return block;
  }

 private:
  QPdfWriter& writer_;
  QPainter& painter_;
  QRectF page_;
  double y_ = 0;
};

}  // namespace

bool WriteReport(const view::ViewModel& model, const std::vector<view::Finding>& findings, const std::string& path,
                 std::string& error) {
  QPdfWriter writer(Text(path));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(150);
  writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  writer.setTitle(QStringLiteral("Informe de ") + QFileInfo(Text(model.path)).fileName());
  QPainter painter;
  if (!painter.begin(&writer)) {
    error = "No se puede escribir el fichero " + path;
    return false;
  }
  PageWriter page(writer, painter);
  page.Font(16, true);
  page.Line("Informe de " + QFileInfo(Text(model.path)).fileName().toStdString());
  page.Font(9);
  page.Line("Fichero: " + model.path);
  page.Space(0.5);
  page.Font(11, true);
  page.Line("Resumen");
  page.Font(9);
  for (const std::string& line : view::Summary(model)) page.Line(line);
  std::size_t errors = 0;
  for (const auto& finding : findings) errors += finding.level == view::Level::kError ? 1 : 0;
  page.Line("Comprobaciones: " + detect::SpanishCount(static_cast<long long>(errors)) + " errores, " +
            detect::SpanishCount(static_cast<long long>(findings.size() - errors)) + " avisos");
  page.Space(0.5);
  DrawOptions options;
  const QRectF block = page.Block(0.55);
  // The drawing at screen size, scaled onto the page so its lines and labels keep their weight.
  const double scale = block.width() / 1200.0;
  painter.save();
  painter.translate(block.topLeft());
  painter.scale(scale, scale);
  DrawModel(painter, model, QRectF(0, 0, 1200.0, block.height() / scale), options);
  painter.restore();
  painter.setPen(QPen(Qt::gray, 1));
  painter.drawRect(block);
  page.Space(0.5);

  page.Font(11, true);
  page.Line("Comprobaciones");
  page.Font(8.5);
  if (findings.empty()) page.Line("Sin errores ni avisos.");
  for (const auto& finding : findings) {
    page.Line(view::FormatFinding(finding), finding.level == view::Level::kError ? QColor(180, 0, 0) : QColor(120, 90, 0));
  }
  page.Space(0.5);
  constexpr std::size_t kMaxTableRows = 5000;
  const auto rows = RecordTable(model, kMaxTableRows);
  if (!rows.empty()) {
    page.Font(11, true);
    page.Line("Tabla");
    // Columns as wide as their widest cell; a table wider than the page gets a smaller type
    // (down to 6 points, still read on A4), then its columns share what is left.
    const std::size_t shown = std::min(rows.size(), kMaxTableRows + 1);
    const std::size_t columns = rows.front().size();
    std::vector<bool> right(columns, false);
    for (std::size_t c = 0; c < columns; ++c) {
      const std::string& head = rows.front()[c];
      right[c] = head != "Tipo" && head != "Código";
    }
    const auto measure = [&](double points) {
      page.Font(points, true);
      std::vector<double> widths(columns, 0.0);
      for (std::size_t k = 0; k < shown; ++k) {
        if (k == 1) page.Font(points);
        const QFontMetricsF metrics = page.Metrics();
        for (std::size_t c = 0; c < columns && c < rows[k].size(); ++c) {
          widths[c] = std::max(widths[c], metrics.horizontalAdvance(Text(rows[k][c])) + 12);
        }
      }
      return widths;
    };
    double points = 8.0;
    std::vector<double> widths = measure(points);
    double total = 0;
    for (const double w : widths) total += w;
    if (total > page.Width()) {
      points = std::max(6.0, points * page.Width() / total);
      widths = measure(points);
      total = 0;
      for (const double w : widths) total += w;
      if (total > page.Width()) {
        for (double& w : widths) w *= page.Width() / total;
      }
    }
    page.Font(points);
    page.Row(rows.front(), widths, right, true);
    for (std::size_t k = 1; k < shown; ++k) {
      // Each page of the table starts with its header.
      if (page.Room(page.LineHeight())) page.Row(rows.front(), widths, right, true);
      page.Row(rows[k], widths, right);
    }
    if (rows.size() > kMaxTableRows + 1) page.Line("La tabla sigue en el fichero; se muestran las primeras filas.");
  }
  if (!painter.end()) {
    error = "No se puede escribir el fichero " + path;
    return false;
  }
  return true;
}

}  // namespace view_drawing
