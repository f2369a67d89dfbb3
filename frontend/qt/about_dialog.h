// The About box "acercaconv": a picture, the program's version and the maker's contact lines.
#pragma once

#include <QDialog>

namespace frontend {

class AcercaConv : public QDialog {
 public:
  explicit AcercaConv(QWidget* parent = nullptr);
};

}  // namespace frontend
