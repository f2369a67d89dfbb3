#include "frontend/qt/about_dialog.h"

#include <QGridLayout>
#include <QLabel>

#include "frontend/core/about_box.h"
#include "frontend/qt/road_picture.h"

namespace frontend {

AcercaConv::AcercaConv(QWidget* parent) : QDialog(parent) {
  const AboutText& text = AboutBoxText();
  setObjectName("acercaconv");
  setWindowTitle(QString::fromUtf8(text.caption.c_str()));
  setModal(true);

  auto* picture = new QLabel(this);
  picture->setPixmap(RoadPicture(QSize(160, 120)));
  auto* versionCaption = new QLabel("Versión", this);
  auto* version = new QLabel(QString::fromStdString(text.version), this);
  version->setObjectName("Version");

  auto* layout = new QGridLayout(this);
  layout->addWidget(picture, 0, 0, 6, 1);
  layout->addWidget(versionCaption, 0, 1);
  layout->addWidget(version, 0, 2);
  int row = 1;
  for (const std::string* line : {&text.company, &text.web, &text.telephone, &text.fax}) {
    auto* label = new QLabel(QString::fromUtf8(line->c_str()), this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label, row++, 1, 1, 2);
  }
  // The whole caption fits in the title bar.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 140);
}

}  // namespace frontend
