// The two modal selection dialogs: an entry of a LandXML document (EjeSelecLandxml) and the
// layer of a drawing (SeleccionCapa). Both list lines a library wrote and report the choice.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace frontend {

class EjeSelecLandxml : public QDialog {
 public:
  EjeSelecLandxml(const QString& caption, const QStringList& lines, QWidget* parent = nullptr);

  int itemSelec = -1;  // index of the chosen line, -1 when none
  QString dataSelec;   // its text, empty when none

  QListWidget* list() const { return listEjes_; }

 private:
  void Accept();

  QListWidget* listEjes_;
};

class SeleccionCapa : public QDialog {
 public:
  SeleccionCapa(const QString& caption, const QStringList& layers, QWidget* parent = nullptr);

  int chosenIndex = -1;       // index of the chosen layer in the list, -1 when none
  QString mCapaSeleccionada;  // the chosen layer, empty when none

  QListWidget* list() const { return listCapasDibujo_; }

 private:
  void Accept();

  QListWidget* listCapasDibujo_;
};

}  // namespace frontend
