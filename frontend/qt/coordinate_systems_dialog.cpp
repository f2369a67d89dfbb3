#include "frontend/qt/coordinate_systems_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace frontend {

SistemasCoordenadas::SistemasCoordenadas(QWidget* parent, const SystemOptions& start, const QString& note,
                                         bool withProfile)
    : QDialog(parent) {
  setObjectName("dialSistemas");
  setWindowTitle("Sistemas de coordenadas");
  source_ = new QLineEdit(QString::fromStdString(start.source), this);
  source_->setObjectName("sistemaOrigen");
  source_->setPlaceholderText("EPSG:23030, cadena PROJ o WKT (vacío: el que nombre el fichero)");
  target_ = new QLineEdit(QString::fromStdString(start.target), this);
  target_->setObjectName("sistemaDestino");
  target_->setPlaceholderText("EPSG:25830 (vacío: sin transformar; GeoJSON y KML van en WGS84)");
  ballpark_ = new QCheckBox("Aceptar una operación a&proximada (sin rejilla)", this);
  ballpark_->setObjectName("aproximada");
  ballpark_->setChecked(start.allowBallpark);
  auto* form = new QFormLayout;
  auto* sourceLabel = new QLabel("Sistema de &origen:", this);
  sourceLabel->setBuddy(source_);
  auto* targetLabel = new QLabel("Sistema de &destino:", this);
  targetLabel->setBuddy(target_);
  form->addRow(sourceLabel, source_);
  form->addRow(targetLabel, target_);
  if (withProfile) {
    profile_ = new QLineEdit(this);
    profile_->setObjectName("rasante");
    profile_->setPlaceholderText("Rasante nativa (.ras) de la que toma sus cotas (vacío: sin cotas)");
    auto* browse = new QPushButton("E&xaminar...", this);
    browse->setObjectName("BtnRasante");
    connect(browse, &QPushButton::clicked, this, [this] {
      QFileDialog dialog(this, "Rasante");
      dialog.setObjectName("dialRasante");
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      dialog.setFileMode(QFileDialog::ExistingFile);
      dialog.setNameFilters({"Rasante (*.ras)", "Todos los ficheros (*)"});
      if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        profile_->setText(dialog.selectedFiles().front());
      }
    });
    auto* row = new QHBoxLayout;
    row->addWidget(profile_);
    row->addWidget(browse);
    auto* profileLabel = new QLabel("&Rasante (cotas):", this);
    profileLabel->setBuddy(profile_);
    form->addRow(profileLabel, row);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("&Aceptar");
  buttons->button(QDialogButtonBox::Cancel)->setText("&Cancelar");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  if (!note.isEmpty()) {
    auto* told = new QLabel(note, this);
    told->setObjectName("nota");
    told->setWordWrap(true);
    layout->addWidget(told);
  }
  layout->addLayout(form);
  layout->addWidget(ballpark_);
  layout->addWidget(buttons);
  resize(520, sizeHint().height());
}

SystemOptions SistemasCoordenadas::options() const {
  SystemOptions options;
  options.source = source_->text().trimmed().toStdString();
  options.target = target_->text().trimmed().toStdString();
  options.allowBallpark = ballpark_->isChecked();
  return options;
}

QString SystemsLine(const SystemOptions& options) {
  if (!options.Given()) return QString();
  const QString source = options.source.empty() ? QString("el del fichero") : QString::fromStdString(options.source);
  const QString target = options.target.empty() ? QString("sin transformar") : QString::fromStdString(options.target);
  return source + " \u2192 " + target + (options.allowBallpark ? QString(" (aproximada aceptada)") : QString());
}

}  // namespace frontend
