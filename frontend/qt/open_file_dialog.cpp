#include "frontend/qt/open_file_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/core/command_flow.h"
#include "frontend/core/conversions.h"
#include "frontend/detect/contents.h"
#include "frontend/qt/coordinate_systems_dialog.h"
#include "frontend/qt/qt_command_host.h"

namespace frontend {

AbrirFichero::AbrirFichero(const std::string& path, QWidget* parent, const SystemOptions& start)
    : QDialog(parent),
      systems(start),
      summary_(new QPlainTextEdit(this)),
      commands_(new QListWidget(this)),
      systemsButton_(new QPushButton("&Sistemas de coordenadas...", this)),
      systemsLine_(new QLabel(this)) {
  setObjectName("AbrirFichero");
  setWindowTitle(QString("Fichero ") + FromLocalText(path));
  setModal(true);

  const detect::Contents contents = detect::ReadContents(path);
  QString text;
  for (const std::string& line : detect::DescriptionLines(contents)) text += QString::fromUtf8(line.c_str()) + "\n";
  summary_->setObjectName("resumen");
  summary_->setReadOnly(true);
  summary_->setPlainText(text);

  // Only the conversions whose data the file holds.
  candidates_ = ConversionsFor(contents);
  sourceFormat = contents.detection.format;
  commands_->setObjectName("ordenes");
  for (const MenuCommand* command : candidates_) {
    std::string where = command->menu.caption;
    if (!command->submenu.control.empty()) where += " > " + command->submenu.caption;
    if (!where.empty()) where += " > ";
    commands_->addItem(QString::fromUtf8((where + CaptionWithoutAccelerator(command->caption)).c_str()));
  }
  // The first command comes selected: Enter (or Convertir) runs it, a double click runs another.
  if (commands_->count() > 0) commands_->setCurrentRow(0);

  auto* convert = new QPushButton("Con&vertir", this);
  convert->setObjectName("BtnConvertir");
  convert->setEnabled(!candidates_.empty());
  convert->setDefault(true);
  auto* cancel = new QPushButton("&Cancelar", this);
  cancel->setObjectName("BtnCancelar");
  systemsButton_->setObjectName("BtnSistemas");
  systemsLine_->setObjectName("sistemasElegidos");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(systemsButton_);
  buttons->addWidget(systemsLine_);
  buttons->addStretch();
  buttons->addWidget(convert);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(new QLabel(candidates_.empty() ? "Ninguna orden convierte este fichero."
                                                   : "Órdenes que lo convierten:",
                               this));
  layout->addWidget(commands_);
  layout->addLayout(buttons);
  resize(560, 420);

  connect(convert, &QPushButton::clicked, this, [this] { Accept(); });
  connect(commands_, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(commands_, &QListWidget::currentRowChanged, this, [this] { ShowSystems(); });
  connect(systemsButton_, &QPushButton::clicked, this, [this] {
    SistemasCoordenadas dialog(this, systems,
                               "Las coordenadas de esta conversión se transforman del sistema de origen al de destino. "
                               "Sin sistema de destino no se transforman.");
    if (dialog.exec() == QDialog::Accepted) systems = dialog.options();
    ShowSystems();
  });
  ShowSystems();
}

void AbrirFichero::ShowSystems() {
  const int row = commands_->currentRow();
  const SystemUse use = row < 0 ? SystemUse::kNone : SystemUseOf(*candidates_[static_cast<std::size_t>(row)], sourceFormat);
  // A map asks for its systems when it runs; an alignment or a profile has none to move.
  const bool offered = use != SystemUse::kNone && use != SystemUse::kOwn;
  systemsButton_->setVisible(offered);
  systemsLine_->setVisible(offered);
  systemsLine_->setText(SystemsLine(systems));
}

void AbrirFichero::Accept() {
  const int row = commands_->currentRow();
  if (row < 0 || commands_->selectedItems().isEmpty()) {
    QMessageBox box(QMessageBox::Warning, kProgramTitle, "Elija la orden con la que convertir el fichero",
                    QMessageBox::Ok, this);
    box.setObjectName("mensaje");
    box.exec();
    return;
  }
  chosen = candidates_[static_cast<std::size_t>(row)];
  accept();
}

}  // namespace frontend
