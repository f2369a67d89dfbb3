#include "frontend/qt/selection_dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace frontend {
namespace {

// The width a dialog needs for its whole title in the title bar: the text, the window's icon and
// its buttons.
int TitleWidth(const QWidget& dialog) {
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  return metrics.horizontalAdvance(dialog.windowTitle()) + 140;
}

}  // namespace

EjeSelecLandxml::EjeSelecLandxml(const QString& caption, const QStringList& lines, QWidget* parent)
    : QDialog(parent), listEjes_(new QListWidget(this)) {
  setObjectName("EjeSelecLandxml");
  setWindowTitle(caption);
  setModal(true);
  listEjes_->setObjectName("listEjes");
  listEjes_->addItems(lines);
  // The first entry comes selected, so Enter takes it (a single entry is the only choice).
  if (listEjes_->count() > 0) listEjes_->setCurrentRow(0);

  auto* frame = new QGroupBox(this);
  auto* accept = new QPushButton("&Aceptar", frame);
  accept->setObjectName("BtnAce");
  accept->setDefault(true);
  auto* cancel = new QPushButton("&Cancelar", frame);
  cancel->setObjectName("BtnCan");
  auto* buttons = new QHBoxLayout(frame);
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(listEjes_);
  layout->addWidget(frame);
  resize(std::max(420, TitleWidth(*this)), 320);

  connect(accept, &QPushButton::clicked, this, [this] { Accept(); });
  connect(listEjes_, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void EjeSelecLandxml::Accept() {
  const QList<QListWidgetItem*> selected = listEjes_->selectedItems();
  itemSelec = selected.isEmpty() ? -1 : listEjes_->row(selected.front());
  dataSelec = selected.isEmpty() ? QString() : selected.front()->text();
  accept();
}

SeleccionCapa::SeleccionCapa(const QString& caption, const QStringList& layers, QWidget* parent)
    : QDialog(parent), listCapasDibujo_(new QListWidget) {
  setObjectName("SeleccionCapa");
  setWindowTitle(caption);
  setModal(true);
  listCapasDibujo_->setObjectName("ListCapasDibujo");
  listCapasDibujo_->addItems(layers);
  if (listCapasDibujo_->count() > 0) listCapasDibujo_->setCurrentRow(0);

  auto* frame = new QGroupBox("Capas del Dibujo", this);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(listCapasDibujo_);

  auto* accept = new QPushButton("Aceptar", this);
  accept->setObjectName("CommandAceptar");
  accept->setDefault(true);
  auto* cancel = new QPushButton("Cancelar", this);
  cancel->setObjectName("CommandCancelar");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  // Wide enough for the caller's caption ("Seleccione la capa donde estan dibujadas las caras 3D").
  resize(std::max(360, TitleWidth(*this)), 360);

  connect(accept, &QPushButton::clicked, this, [this] { Accept(); });
  connect(listCapasDibujo_, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });
  // Cancelar closes without a layer, as closing the window does.
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SeleccionCapa::Accept() {
  // Every selected entry overwrites the choice, so the last selected in list order wins.
  chosenIndex = -1;
  mCapaSeleccionada.clear();
  for (int row = 0; row < listCapasDibujo_->count(); ++row) {
    if (listCapasDibujo_->item(row)->isSelected()) {
      chosenIndex = row;
      mCapaSeleccionada = listCapasDibujo_->item(row)->text();
    }
  }
  accept();
}

}  // namespace frontend
