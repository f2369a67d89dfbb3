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

void DrawTitle(QPainter& painter, const view::ViewModel& model, const QRectF& target) {
  SmallFont(painter, 8.5);
  painter.setPen(Qt::black);
  const std::string title = std::string(view::KindName(model.kind)) + "  " + QFileInfo(Text(model.path)).fileName().toStdString();
  painter.drawText(target.adjusted(8, 4, -8, -4), Qt::AlignLeft | Qt::AlignTop, Text(title));
}

void DrawPlan(QPainter& painter, const view::AlignmentView& a, const Projection& projection, const DrawOptions& options) {
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
  if (options.labels) {
    SmallFont(painter);
    for (const view::StationTick& tick : a.ticks) {
      const QPointF at = projection.ToPixel(tick.at.point.x, tick.at.point.y);
      if (!Visible(at, projection.area)) continue;
      // Across the road: the tangent turned a quarter circle, drawn 6 px to each side.
      const double across = (tick.at.azimuth + 100.0) * common::kRadiansPerGrad;
      const QPointF side(6.0 * std::sin(across), -6.0 * std::cos(across));
      painter.setPen(LinePen(Qt::black, 1.0));
      painter.drawLine(at - side, at + side);
      painter.drawText(at + side * 1.4 + QPointF(2, 3), Text(tick.label));
    }
  }
  painter.restore();
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

void DrawLongSection(QPainter& painter, const view::ProfileView& p, const Projection& projection,
                     const DrawOptions& options) {
  painter.save();
  QPolygonF grade;
  for (const auto& v : p.vertices) grade << projection.ToPixel(v.station, v.elevation);
  QPen dashed = LinePen(Qt::gray, 1.0);
  dashed.setStyle(Qt::DashLine);
  painter.setPen(dashed);
  painter.drawPolyline(grade);
  QPolygonF line;
  for (const auto& s : p.line) line << projection.ToPixel(s.station, s.elevation);
  painter.setPen(LinePen(kClothoidColour, 2.0));
  painter.drawPolyline(line);
  painter.setPen(LinePen(Qt::black, 1.0));
  for (const QPointF& vertex : grade) painter.drawEllipse(vertex, 3, 3);
  if (options.labels) {
    SmallFont(painter);
    for (const auto& v : p.vertices) {
      const QPointF at = projection.ToPixel(v.station, v.elevation);
      painter.drawText(at + QPointF(4, -6), Text(view::StationLabel(v.station, 3) + "  " + Number(v.elevation, 3)));
    }
    painter.drawText(projection.area.adjusted(0, 0, 0, Margin(options) - 6), Qt::AlignRight | Qt::AlignBottom,
                     Text("Escala vertical x" + Number(options.exaggeration, options.exaggeration == std::round(options.exaggeration) ? 0 : 1)));
  }
  painter.restore();
}

void DrawOneSection(QPainter& painter, const view::CrossSection& section, const QRectF& cell, const DrawOptions& options) {
  view::Extents extents;
  for (const auto& point : section.points) extents.Add(point.offset, point.elevation);
  const double inner = options.labels ? 18.0 : 4.0;
  const Projection projection = FitProjection(extents, cell.adjusted(inner, inner, -inner, -inner), 1.0);
  painter.save();
  painter.setPen(LinePen(kGridColour, 1.0));
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
    painter.drawText(cell.adjusted(4, 2, -4, -2), Qt::AlignHCenter | Qt::AlignTop,
                     Text("P.K. " + view::StationLabel(section.station, 3)));
    if (section.points.size() <= 40) {
      for (std::size_t k = 0; k < section.points.size(); ++k) {
        if (section.points[k].code.empty()) continue;
        painter.drawText(line[static_cast<int>(k)] + QPointF(2, -4), Text(section.points[k].code));
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

double ExaggerationOf(const view::ViewModel& model, const DrawOptions& options) {
  return model.kind == view::DataKind::kProfile ? options.exaggeration : 1.0;
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
  return FitProjection(model.Drawing(), DrawingArea(model, target, options), ExaggerationOf(model, options));
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
      DrawPlan(painter, model.alignment, projection, options);
      if (options.curvature) {
        const double margin = Margin(options);
        const QRectF inner = target.adjusted(margin, margin, -margin, -margin);
        DrawCurvature(painter, model.alignment, QRectF(inner.left(), area.bottom() + margin / 2, inner.width(),
                                                       inner.bottom() - area.bottom() - margin / 2),
                      options);
      }
      break;
    case view::DataKind::kProfile: DrawLongSection(painter, model.profile, projection, options); break;
    case view::DataKind::kCrossSections: DrawSections(painter, model.sections, area, options); break;
    case view::DataKind::kPoints: DrawPoints(painter, model.points, projection, options); break;
    case view::DataKind::kSuperelevation: DrawSuperelevation(painter, model.superelevation, projection, options); break;
    case view::DataKind::kSurface: DrawSurface(painter, model.surface, projection, options); break;
    case view::DataKind::kNone: break;
  }
  if (options.labels) DrawTitle(painter, model, target);
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
  void Room(double height) {
    if (y_ + height > page_.bottom()) NewPage();
  }
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
  // One row of a table with columns of equal width.
  void Row(const std::vector<std::string>& cells) {
    Room(LineHeight());
    painter_.setPen(Qt::black);
    const double width = page_.width() / std::max<std::size_t>(1, cells.size());
    for (std::size_t k = 0; k < cells.size(); ++k) {
      painter_.drawText(QRectF(page_.left() + width * k, y_, width - 4, LineHeight()), Qt::AlignLeft | Qt::AlignVCenter,
                        Text(cells[k]));
    }
    y_ += LineHeight();
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
    page.Font(7.5);
    for (std::size_t k = 0; k < rows.size() && k <= kMaxTableRows; ++k) page.Row(rows[k]);
    if (rows.size() > kMaxTableRows + 1) page.Line("La tabla sigue en el fichero; se muestran las primeras filas.");
  }
  if (!painter.end()) {
    error = "No se puede escribir el fichero " + path;
    return false;
  }
  return true;
}

}  // namespace view_drawing
