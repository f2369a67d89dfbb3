#include "frontend/qt/coordinate_systems_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "frontend/core/command_flow.h"
#include "frontend/core/conversions.h"

namespace frontend {

SistemasCoordenadas::SistemasCoordenadas(QWidget* parent) : QDialog(parent) {
  setObjectName("dialSistemas");
  setWindowTitle("Sistemas de coordenadas");
  source_ = new QLineEdit(this);
  source_->setObjectName("sistemaOrigen");
  source_->setPlaceholderText("EPSG:23030, cadena PROJ o WKT");
  target_ = new QLineEdit(this);
  target_->setObjectName("sistemaDestino");
  target_->setPlaceholderText("EPSG:25830 (vacío: sin transformar; GeoJSON y KML van en WGS84)");
  ballpark_ = new QCheckBox("Aceptar una operación aproximada (sin rejilla)", this);
  ballpark_->setObjectName("aproximada");
  auto* form = new QFormLayout;
  form->addRow("Sistema de origen:", source_);
  form->addRow("Sistema de destino:", target_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(ballpark_);
  layout->addWidget(buttons);
}

bool NeedsCoordinateSystems(const MenuCommand& command) { return command.library == "Georref"; }

bool AskCoordinateSystems(QWidget* parent, ExportCaller& exports) {
  SistemasCoordenadas dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  try {
    return exports.Call("Georref", "Georref_Sistemas",
                        {dialog.source()->text().trimmed().toStdString(), dialog.target()->text().trimmed().toStdString(),
                         dialog.ballpark()->isChecked() ? "1" : "0"}) != 0;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace frontend
