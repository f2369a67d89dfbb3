// The desktop program's views: a canvas that draws the view model with pan and zoom from a
// cached image, the panel that puts it beside the summary and the checks, and what the main
// window gains with them (Fichero > Abrir..., Recientes, files dropped on the window, the
// log of the session's conversions).
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "frontend/qt/views/drawing.h"
#include "frontend/view/plan_index.h"
#include "frontend/view/view_model.h"

class QComboBox;
class QCoreApplication;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;

namespace view_widgets {

// Qt's own texts (file dialogs, standard buttons) in Spanish: the translations Qt ships,
// loaded whatever the locale, since every text of the program is Spanish.
bool InstallSpanishQtTranslations(QCoreApplication& application);

class ViewCanvas : public QWidget {
 public:
  explicit ViewCanvas(QWidget* parent = nullptr);

  void SetModel(const view::ViewModel* model);
  void SetSection(int section);
  void SetExaggeration(double exaggeration);
  // Shows the whole drawing again.
  void Fit();
  // What lies under a pixel: for a plan the element with its kind, station, radius and
  // parameter; for points the nearest point; elsewhere the coordinates.
  std::string DescribeAt(const QPointF& pixel) const;
  const view_drawing::Projection& projection() const { return options_.projection; }
  // Called with DescribeAt of the pixel under the mouse as it moves.
  std::function<void(const std::string&)> onHover;
  // Renders the cache now (the views are drawn from it while panning).
  const QImage& Cache();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Invalidate();

  const view::ViewModel* model_ = nullptr;
  // The points of the plan (the alignment's path or the points) for what lies under the mouse.
  view::PlanIndex plan_;
  // The surface's triangles by point, for the elevation under the mouse.
  view::SurfaceLocator surface_;
  view_drawing::DrawOptions options_;
  bool zoomed_ = false;
  QImage cache_;
  bool cacheValid_ = false;
  bool dragging_ = false;
  QPoint dragStart_;
  QPoint dragOffset_;
};

// The canvas, the controls of the view (section, vertical exaggeration, fit) and the
// summary with the checks beside it.
class ViewPanel : public QWidget {
 public:
  explicit ViewPanel(QWidget* parent = nullptr);

  // Reads and shows the file; false with a Spanish reason in `error`. A file of several
  // entries (a LandXML document) shows the one `choice` names (see view::FindEntry), the
  // first by default, and offers the others in the entry selector.
  bool OpenFile(const std::string& path, std::string& error);
  bool OpenFile(const std::string& path, const std::string& choice, std::string& error);
  // Draws the profile of the file at `path` as the ground under the profile shown (see
  // view::AddTerrainProfile); false with the Spanish reason, the view unchanged, otherwise.
  bool AddTerrain(const std::string& path, std::string& error);
  const view::ViewModel& model() const { return model_; }
  ViewCanvas* canvas() const { return canvas_; }
  QTextBrowser* details() const { return details_; }
  QSpinBox* sectionSelector() const { return section_; }
  QComboBox* entrySelector() const { return entry_; }

 private:
  view::ViewModel model_;
  bool loading_ = false;
  QComboBox* entry_;
  QLabel* entryLabel_;
  ViewCanvas* canvas_;
  QSpinBox* section_;
  QDoubleSpinBox* exaggeration_;
  QLabel* sectionLabel_;
  QLabel* exaggerationLabel_;
  QPushButton* terrain_;
  QLabel* cursor_;
  QTextBrowser* details_;
};

// What the main window gains: a stack whose first page is the window's present central
// widget (the empty state) and whose second is the view panel; Recientes (and, unless the
// window has its own, Abrir... and dropped files) in the file menu; a log pane of the
// session's conversions.
class WindowViews {
 public:
  // The property that marks the menu items the views add.
  static constexpr const char* kViewsItem = "vistas";
  static constexpr int kMaxRecent = 8;

  // With `openItem`, Abrir... in the file menu and files dropped on the window open in the
  // views; without, the window offers them itself and calls Show.
  WindowViews(QMainWindow& window, QMenu* fileMenu, bool openItem = true);

  // Opens a file in the view; a file that cannot be shown is said in a message box.
  bool Open(const QString& path);
  // The same, silent for a file of a kind the views do not show.
  bool Show(const QString& path);
  // A conversion ended: logged, and its target shown when it was written.
  // `summary` tells what the target holds, as the success message and pasarela-cli do.
  void ConversionFinished(const QString& caption, bool converted, const QString& target, const QString& failure,
                          const QString& summary = QString());

  ViewPanel* panel() const { return panel_; }
  QListWidget* log() const { return log_; }
  QMenu* recentMenu() const { return recent_; }
  QStackedWidget* stack() const { return stack_; }
  QStringList RecentFiles() const;

 private:
  void Remember(const QString& path);
  void RebuildRecent();
  void Log(const QString& text);

  QMainWindow& window_;
  QStackedWidget* stack_;
  ViewPanel* panel_;
  QListWidget* log_;
  QMenu* recent_;
  std::unique_ptr<QObject> dropFilter_;
};

// Opens `path` in the views and prints how long that took (wall clock and processor time:
// reading, checks, summary and the first drawing shown), then how long each step of a pan
// takes while the mouse moves and the drawing made again when it is let go. False when the
// file cannot be shown.
bool MeasureView(WindowViews& views, const QString& path);

}  // namespace view_widgets
