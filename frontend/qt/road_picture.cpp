#include "frontend/qt/road_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace frontend {

QPixmap RoadPicture(const QSize& size) {
  QPixmap pixmap(size);
  pixmap.fill(QColor(238, 242, 235));
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const double w = size.width();
  const double h = size.height();

  // Survey grid.
  painter.setPen(QPen(QColor(205, 214, 200), 1));
  for (double x = 0; x < w; x += w / 8) painter.drawLine(QPointF(x, 0), QPointF(x, h));
  for (double y = 0; y < h; y += h / 6) painter.drawLine(QPointF(0, y), QPointF(w, y));

  // Straight, curve and straight: the road's platform, then its axis.
  QPainterPath axis(QPointF(0.05 * w, 0.85 * h));
  axis.lineTo(QPointF(0.35 * w, 0.70 * h));
  axis.cubicTo(QPointF(0.55 * w, 0.60 * h), QPointF(0.60 * w, 0.30 * h), QPointF(0.80 * w, 0.22 * h));
  axis.lineTo(QPointF(0.97 * w, 0.15 * h));
  painter.setPen(QPen(QColor(90, 90, 95), h * 0.12, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.drawPath(axis);
  painter.setPen(QPen(QColor(250, 250, 250), std::max(1.0, h * 0.012), Qt::DashLine));
  painter.drawPath(axis);

  // Stations along the axis.
  painter.setPen(QPen(QColor(180, 40, 30), std::max(1.0, h * 0.015)));
  for (double t = 0.1; t < 1.0; t += 0.2) {
    const QPointF point = axis.pointAtPercent(t);
    painter.drawEllipse(point, h * 0.02, h * 0.02);
  }
  return pixmap;
}

}  // namespace frontend
