#include "frontend/qt/selection_dialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace frontend {

EjeSelecLandxml::EjeSelecLandxml(const QString& caption, const QStringList& lines, QWidget* parent)
    : QDialog(parent), listEjes_(new QListWidget(this)) {
  setObjectName("EjeSelecLandxml");
  setWindowTitle(caption);
  setModal(true);
  listEjes_->setObjectName("listEjes");
  listEjes_->addItems(lines);
  // A single entry is the only choice there is: it comes selected.
  if (listEjes_->count() == 1) listEjes_->setCurrentRow(0);

  auto* frame = new QGroupBox(this);
  auto* accept = new QPushButton("&Aceptar", frame);
  accept->setObjectName("BtnAce");
  auto* cancel = new QPushButton("&Cancelar", frame);
  cancel->setObjectName("BtnCan");
  auto* buttons = new QHBoxLayout(frame);
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(listEjes_);
  layout->addWidget(frame);
  resize(420, 320);

  connect(accept, &QPushButton::clicked, this, [this] { Accept(); });
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
  if (listCapasDibujo_->count() == 1) listCapasDibujo_->setCurrentRow(0);

  auto* frame = new QGroupBox("Capas del Dibujo", this);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(listCapasDibujo_);

  auto* accept = new QPushButton("Aceptar", this);
  accept->setObjectName("CommandAceptar");
  auto* cancel = new QPushButton("Cancelar", this);
  cancel->setObjectName("CommandCancelar");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  resize(360, 360);

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
