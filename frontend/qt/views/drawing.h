// Drawing the view model with QPainter: one small renderer for the desktop program's views,
// the command line's images and the PDF report.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <string>
#include <vector>

#include "frontend/view/checks.h"
#include "frontend/view/view_model.h"

namespace view_drawing {

// World coordinates (x easting or station, y northing or elevation) to pixels: y grows
// upwards in the world and downwards on the page.
struct Projection {
  QRectF area;
  double minX = 0;
  double minY = 0;
  double scaleX = 1;  // pixels per metre
  double scaleY = 1;
  QPointF ToPixel(double x, double y) const {
    return QPointF(area.left() + (x - minX) * scaleX, area.bottom() - (y - minY) * scaleY);
  }
  void ToWorld(const QPointF& pixel, double& x, double& y) const {
    x = minX + (pixel.x() - area.left()) / scaleX;
    y = minY + (area.bottom() - pixel.y()) / scaleY;
  }
};

// The projection that shows `extents` whole and centred in `area`, with y drawn
// `exaggeration` times larger than x (1 for a plan).
Projection FitProjection(const view::Extents& extents, const QRectF& area, double exaggeration = 1.0);

struct DrawOptions {
  bool labels = true;          // station labels, point numbers and codes, titles, legends
  bool curvature = true;       // the curvature diagram under a plan
  // Vertical exaggeration of the long section; 0 chooses the one that fills the drawing.
  double exaggeration = 0.0;
  int section = -1;            // cross section to draw; -1 draws the first ones side by side
  // A view with a zoom of its own (the desktop program's pan and zoom); unset fits the data.
  bool useProjection = false;
  Projection projection;
  // When set, the box of every label drawn is added to it (the tests check that none overlaps).
  std::vector<QRectF>* labelBoxes = nullptr;
};

// The vertical exaggeration the long section of `model` is drawn with in `target`: the one
// asked for, else the round value (1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 times a power of ten) that
// makes the profile fill the drawing's height.
double LongSectionExaggeration(const view::ViewModel& model, const QRectF& target, const DrawOptions& options);

// The area of `target` the main drawing of the model fills (the plan without the curvature
// strip, the long section inside its margins).
QRectF DrawingArea(const view::ViewModel& model, const QRectF& target, const DrawOptions& options);

// The projection DrawModel uses for the main drawing in `target`.
Projection ModelProjection(const view::ViewModel& model, const QRectF& target, const DrawOptions& options);

// Draws the model into `target` on a white ground.
void DrawModel(QPainter& painter, const view::ViewModel& model, const QRectF& target, const DrawOptions& options);

// Colour of an elevation between the surface's lowest and highest.
QColor ElevationColour(double z, double minZ, double maxZ);

QImage RenderImage(const view::ViewModel& model, const QSize& size, const DrawOptions& options);

// Writes the drawing to `path`, a PNG or SVG picture by its extension. False with a Spanish
// reason in `error`.
bool SaveDrawing(const view::ViewModel& model, const std::string& path, const QSize& size, const DrawOptions& options,
                 std::string& error);

// The PDF report: title and file, summary, the drawings, the table of records, the checks.
bool WriteReport(const view::ViewModel& model, const std::vector<view::Finding>& findings, const std::string& path,
                 std::string& error);

// Rows of the report's table: a header line, then one per element, vertex, section, point...
// At most maxRows + 1 records, so a caller can tell that there are more than it shows.
std::vector<std::vector<std::string>> RecordTable(const view::ViewModel& model, std::size_t maxRows);

}  // namespace view_drawing
