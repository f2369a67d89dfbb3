// The program's own picture: a road alignment over a survey grid, drawn at any size.
#pragma once

#include <QPixmap>
#include <QSize>

namespace frontend {

QPixmap RoadPicture(const QSize& size);

}  // namespace frontend
