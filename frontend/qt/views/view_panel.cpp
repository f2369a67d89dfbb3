#include "frontend/qt/views/view_panel.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <thread>

#include "frontend/detect/spanish_numbers.h"
#include "frontend/view/checks.h"

namespace view_widgets {
namespace {

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }
std::string Local(const QString& text) { return text.toLocal8Bit().toStdString(); }

// The numbers under the cursor as the person reads them (decimal comma, grouped thousands).
std::string Format(const char* format, double a, double b = 0) { return detect::SpanishFormat(format, {a, b}); }

// The views that pan and zoom: those drawn through one projection.
bool Zoomable(const view::ViewModel* model) {
  return model != nullptr && model->kind != view::DataKind::kCrossSections && model->kind != view::DataKind::kNone;
}

// Escaped for the pane's HTML. Its paragraphs keep their white space as it is ("pre-wrap"):
// otherwise the narrow no-break space between the thousands of a number becomes a blank where
// a line may break.
QString Escaped(const std::string& text) { return Text(text).toHtmlEscaped(); }

// Opens the files dropped on the main window.
class DropFilter : public QObject {
 public:
  explicit DropFilter(WindowViews& views) : views_(views) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::DragEnter) {
      auto* drag = static_cast<QDragEnterEvent*>(event);
      if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const auto urls = drop->mimeData()->urls();
      if (!urls.isEmpty() && urls.front().isLocalFile()) views_.Open(urls.front().toLocalFile());
      drop->acceptProposedAction();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  WindowViews& views_;
};

}  // namespace

namespace {

// The texts of the file dialogs that Qt's Spanish translations leave in English (the kind
// "Folder" of a folder in the list) or that must keep their accent, looked up before them.
class FileDialogWords : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* disambiguation, int n) const override {
    (void)disambiguation;
    (void)n;
    struct Word {
      const char* context;
      const char* source;
      const char* spanish;
    };
    static const Word words[] = {
        {"QAbstractFileIconProvider", "Folder", "Carpeta"},
        {"QAbstractFileIconProvider", "Drive", "Unidad"},
        {"QAbstractFileIconProvider", "File", "Archivo"},
        {"QAbstractFileIconProvider", "Shortcut", "Acceso directo"},
        {"QAbstractFileIconProvider", "%1 File", "Archivo %1"},
        {"QFileSystemModel", "Date Modified", "Última modificación"},
    };
    if (context == nullptr || source == nullptr) return QString();
    for (const Word& word : words) {
      if (std::strcmp(context, word.context) == 0 && std::strcmp(source, word.source) == 0) {
        return QString::fromUtf8(word.spanish);
      }
    }
    return QString();
  }
};

}  // namespace

bool InstallSpanishQtTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    translator = nullptr;
  }
  const bool loaded = translator != nullptr && QCoreApplication::installTranslator(translator);
  // Installed last, so it is asked first.
  QCoreApplication::installTranslator(new FileDialogWords(&application));
  return loaded;
}

ViewCanvas::ViewCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("lienzo");
  setMouseTracking(true);
  setMinimumSize(200, 150);
  setFocusPolicy(Qt::WheelFocus);
}

void ViewCanvas::SetModel(const view::ViewModel* model) {
  model_ = model;
  std::vector<common::Point2> plan;
  if (model != nullptr && model->kind == view::DataKind::kAlignment) {
    plan.reserve(model->alignment.path.size());
    for (const view::StationPoint& point : model->alignment.path) plan.push_back(point.point);
  } else if (model != nullptr && model->kind == view::DataKind::kPoints) {
    plan.reserve(model->points.points.size());
    for (const common::NativePoint& point : model->points.points) plan.push_back({point.x, point.y});
  }
  plan_.Build(plan);
  surface_ = view::SurfaceLocator();
  if (model != nullptr && model->kind == view::DataKind::kSurface) surface_.Build(model->surface);
  options_.section = model != nullptr && model->kind == view::DataKind::kCrossSections ? 0 : -1;
  Fit();
}

void ViewCanvas::SetSection(int section) {
  options_.section = section;
  Invalidate();
}

void ViewCanvas::SetExaggeration(double exaggeration) {
  options_.exaggeration = exaggeration;
  Fit();
}

void ViewCanvas::Fit() {
  zoomed_ = false;
  options_.useProjection = false;
  if (model_ != nullptr) {
    options_.projection = view_drawing::ModelProjection(*model_, QRectF(rect()), options_);
    options_.useProjection = Zoomable(model_);
  }
  Invalidate();
}

void ViewCanvas::Invalidate() {
  cacheValid_ = false;
  update();
}

const QImage& ViewCanvas::Cache() {
  if (!cacheValid_ || cache_.size() != size()) {
    cache_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    cache_.fill(Qt::white);
    if (model_ != nullptr) {
      QPainter painter(&cache_);
      view_drawing::DrawModel(painter, *model_, QRectF(rect()), options_);
    }
    cacheValid_ = true;
  }
  return cache_;
}

void ViewCanvas::paintEvent(QPaintEvent*) {
  const QImage& image = Cache();
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(dragging_ ? dragOffset_ : QPoint(0, 0), image);
}

void ViewCanvas::resizeEvent(QResizeEvent*) {
  if (!zoomed_) {
    Fit();
    return;
  }
  // Keep the scale; the drawing grows or shrinks from its top-left corner.
  double x = 0;
  double y = 0;
  options_.projection.ToWorld(options_.projection.area.topLeft(), x, y);
  options_.projection.area = QRectF(rect());
  options_.projection.minX = x;
  options_.projection.minY = y - options_.projection.area.height() / options_.projection.scaleY;
  Invalidate();
}

void ViewCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Zoomable(model_)) return;
  dragging_ = true;
  dragStart_ = event->position().toPoint();
  dragOffset_ = QPoint();
}

void ViewCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    // While panning the cached image moves; it is drawn again when the mouse is let go.
    dragOffset_ = event->position().toPoint() - dragStart_;
    update();
    return;
  }
  if (onHover) onHover(DescribeAt(event->position()));
}

void ViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  options_.projection.minX -= dragOffset_.x() / options_.projection.scaleX;
  options_.projection.minY += dragOffset_.y() / options_.projection.scaleY;
  dragOffset_ = QPoint();
  zoomed_ = true;
  Invalidate();
}

void ViewCanvas::wheelEvent(QWheelEvent* event) {
  if (!Zoomable(model_)) return;
  const double factor = std::pow(1.25, event->angleDelta().y() / 120.0);
  if (!(factor > 0) || factor == 1.0) return;
  // The point under the cursor stays where it is.
  view_drawing::Projection& p = options_.projection;
  double x = 0;
  double y = 0;
  const QPointF at = event->position();
  p.ToWorld(at, x, y);
  p.scaleX *= factor;
  p.scaleY *= factor;
  p.minX = x - (at.x() - p.area.left()) / p.scaleX;
  p.minY = y - (p.area.bottom() - at.y()) / p.scaleY;
  zoomed_ = true;
  Invalidate();
  event->accept();
}

std::string ViewCanvas::DescribeAt(const QPointF& pixel) const {
  if (!Zoomable(model_)) return "";
  double x = 0;
  double y = 0;
  options_.projection.ToWorld(pixel, x, y);
  const double pixelMetres = 1.0 / options_.projection.scaleX;
  switch (model_->kind) {
    case view::DataKind::kAlignment: {
      const auto& a = model_->alignment;
      const long found = plan_.Nearest(x, y, 12 * pixelMetres);
      if (found < 0 || a.elementFirstPoint.size() < 2) return Format("X %.3f  Y %.3f", x, y);
      const std::size_t nearest = static_cast<std::size_t>(found);
      const auto next = std::upper_bound(a.elementFirstPoint.begin(), a.elementFirstPoint.end(), nearest);
      const std::size_t element =
          std::min<std::size_t>(static_cast<std::size_t>(next - a.elementFirstPoint.begin()) - 1, a.elements.size() - 2);
      const common::AlignmentElement& e = a.elements[element];
      static const char* const kinds[] = {"Recta", "Curva", "Clotoide"};
      std::string text = kinds[std::clamp(e.kind, 0, 2)];
      text += "  P.K. " + view::StationLabel(a.path[nearest].station, 3);
      if (e.kind == common::kArc) text += Format("  R %.3f", e.radius);
      if (e.kind == common::kClothoid) {
        text += Format("  A %.3f  R %.3f", e.parameter, view::ClothoidEndRadius(a.elements, element));
      }
      text += "  (elemento " + std::to_string(element + 1) + ", desde " + view::StationLabel(e.station, 3) + ")";
      return text;
    }
    case view::DataKind::kPoints: {
      const auto& points = model_->points.points;
      const long nearest = plan_.Nearest(x, y, 8 * pixelMetres);
      if (nearest >= 0) {
        const auto& point = points[static_cast<std::size_t>(nearest)];
        return "Punto " + std::to_string(point.number) + Format("  X %.3f  Y %.3f", point.x, point.y) +
               Format("  Z %.3f", point.z) + (point.code.empty() ? "" : "  " + point.code);
      }
      return Format("X %.3f  Y %.3f", x, y);
    }
    case view::DataKind::kProfile:
      return "P.K. " + view::StationLabel(x, 3) + Format("  cota de la rasante %.3f", view::ProfileElevation(model_->profile.vertices, x));
    case view::DataKind::kSuperelevation: return "P.K. " + view::StationLabel(x, 3) + Format("  valor %.3f", y);
    case view::DataKind::kSurface: {
      double z = 0;
      if (surface_.ElevationAt(x, y, z)) return detect::SpanishFormat("X %.3f  Y %.3f  Z %.3f", {x, y, z});
      return Format("X %.3f  Y %.3f", x, y) + "  (fuera de la superficie)";
    }
    default: return Format("X %.3f  Y %.3f", x, y);
  }
}

ViewPanel::ViewPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("vista");
  canvas_ = new ViewCanvas(this);
  entry_ = new QComboBox(this);
  entry_->setObjectName("entrada");
  entry_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  entryLabel_ = new QLabel(QStringLiteral("E&ntrada:"), this);
  entryLabel_->setBuddy(entry_);
  section_ = new QSpinBox(this);
  section_->setObjectName("perfil");
  sectionLabel_ = new QLabel(QStringLiteral("&Perfil:"), this);
  sectionLabel_->setBuddy(section_);
  exaggeration_ = new QDoubleSpinBox(this);
  exaggeration_->setObjectName("exageracion");
  // 0, "ajustada", fills the drawing's height with the profile; any other value is the user's.
  exaggeration_->setRange(0, 1000);
  exaggeration_->setDecimals(1);
  exaggeration_->setValue(0);
  exaggeration_->setPrefix(QStringLiteral("x"));
  exaggeration_->setSpecialValueText(QStringLiteral("ajustada"));
  exaggerationLabel_ = new QLabel(QStringLiteral("&Exageración vertical:"), this);
  exaggerationLabel_->setBuddy(exaggeration_);
  auto* fit = new QPushButton(QStringLiteral("&Ajustar"), this);
  fit->setObjectName("ajustar");
  // A second profile drawn as the ground under the one shown.
  terrain_ = new QPushButton(QStringLiteral("&Terreno..."), this);
  terrain_->setObjectName("terreno");
  terrain_->setVisible(false);
  cursor_ = new QLabel(this);
  cursor_->setObjectName("cursor");
  details_ = new QTextBrowser(this);
  details_->setObjectName("resumen");

  auto* controls = new QHBoxLayout;
  controls->addWidget(entryLabel_);
  controls->addWidget(entry_);
  controls->addWidget(sectionLabel_);
  controls->addWidget(section_);
  controls->addWidget(exaggerationLabel_);
  controls->addWidget(exaggeration_);
  controls->addWidget(terrain_);
  controls->addStretch(1);
  controls->addWidget(fit);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(canvas_);
  splitter->addWidget(details_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(splitter, 1);
  layout->addWidget(cursor_);

  connect(fit, &QPushButton::clicked, this, [this] { canvas_->Fit(); });
  connect(terrain_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Terreno"), QString(),
                                                      QStringLiteral("Rasantes (*.ras *.xml *.ifc);;Todos (*)"));
    if (path.isEmpty()) return;
    std::string error;
    if (!AddTerrain(Local(path), error)) cursor_->setText(Text(error));
  });
  connect(entry_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (index < 0 || static_cast<std::size_t>(index) == model_.entry) return;
    // Outside the selector's own signal: opening refills it.
    QMetaObject::invokeMethod(this, [this, index] {
      std::string error;
      const std::string path = model_.path;
      if (!OpenFile(path, std::to_string(index + 1), error)) cursor_->setText(Text(error));
    }, Qt::QueuedConnection);
  });
  connect(section_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
    canvas_->SetSection(value - 1);
    if (value >= 1 && static_cast<std::size_t>(value) <= model_.sections.sections.size()) {
      cursor_->setText(Text("P.K. " + view::StationLabel(model_.sections.sections[value - 1].station, 3)));
    }
  });
  connect(exaggeration_, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
          [this](double value) { canvas_->SetExaggeration(value); });
  canvas_->onHover = [this](const std::string& text) { cursor_->setText(Text(text)); };
}

bool ViewPanel::OpenFile(const std::string& path, std::string& error) { return OpenFile(path, std::string(), error); }

bool ViewPanel::OpenFile(const std::string& path, const std::string& choice, std::string& error) {
  if (loading_) {
    error = "Se está leyendo otro fichero";
    return false;
  }
  // Read and checked on a worker thread: the window keeps drawing itself while a large file
  // loads. The caller waits for the outcome in an event loop of its own.
  struct Loaded {
    view::ViewModel model;
    std::vector<view::Finding> findings;
    std::string error;
    bool read = false;
  } loaded;
  loading_ = true;
  cursor_->setText(QStringLiteral("Leyendo ") + QFileInfo(Text(path)).fileName() + QStringLiteral("..."));
  setCursor(Qt::BusyCursor);
  {
    QEventLoop wait;
    std::thread worker([&loaded, &wait, &path, &choice] {
      try {
        loaded.read = view::LoadViewFile(path, choice, loaded.model, loaded.error);
        if (loaded.read) loaded.findings = view::CheckModel(loaded.model);
      } catch (const std::exception&) {
        // Out of memory on a file too large for this machine: said, not a crash.
        loaded.read = false;
        loaded.model = view::ViewModel();
        loaded.error = "No hay memoria suficiente para mostrar el fichero " + path;
      }
      QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
    });
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
  }
  unsetCursor();
  loading_ = false;
  cursor_->clear();
  if (!loaded.read) {
    error = loaded.error;
    return false;
  }
  model_ = std::move(loaded.model);
  {
    const QSignalBlocker block(entry_);
    entry_->clear();
    for (const view::FileEntry& entry : model_.entries) entry_->addItem(Text(view::EntryLabel(entry)));
    entry_->setCurrentIndex(static_cast<int>(model_.entry));
  }
  entry_->setVisible(model_.entries.size() > 1);
  entryLabel_->setVisible(model_.entries.size() > 1);
  const bool sections = model_.kind == view::DataKind::kCrossSections;
  const bool profile = model_.kind == view::DataKind::kProfile;
  section_->setVisible(sections);
  sectionLabel_->setVisible(sections);
  exaggeration_->setVisible(profile);
  exaggerationLabel_->setVisible(profile);
  terrain_->setVisible(profile);
  {
    const QSignalBlocker block(section_);
    section_->setRange(1, std::max<int>(1, static_cast<int>(model_.sections.sections.size())));
    section_->setValue(1);
  }
  canvas_->SetModel(&model_);

  const std::vector<view::Finding>& findings = loaded.findings;
  QString html = QStringLiteral("<h3>") + QFileInfo(Text(path)).fileName().toHtmlEscaped() + QStringLiteral("</h3><p style='white-space:pre-wrap'>");
  for (const std::string& line : view::Summary(model_)) html += Escaped(line) + QStringLiteral("<br>");
  std::size_t errors = 0;
  for (const auto& finding : findings) errors += finding.level == view::Level::kError ? 1 : 0;
  html += QStringLiteral("</p><h4>Comprobaciones: %1 errores, %2 avisos</h4>")
              .arg(Text(detect::SpanishCount(static_cast<long long>(errors))),
                   Text(detect::SpanishCount(static_cast<long long>(findings.size() - errors))));
  if (findings.empty()) html += QStringLiteral("<p>Sin errores ni avisos.</p>");
  for (const auto& finding : findings) {
    const bool isError = finding.level == view::Level::kError;
    html += QStringLiteral("<p style='color:%1; white-space:pre-wrap'><b>%2</b> %3<br>%4</p>")
                .arg(isError ? "#b00000" : "#806000", view::LevelName(finding.level), Escaped(finding.where),
                     Escaped(finding.text));
  }
  details_->setHtml(html);
  cursor_->setText(sections && !model_.sections.sections.empty()
                       ? Text("P.K. " + view::StationLabel(model_.sections.sections.front().station, 3))
                       : QString());
  return true;
}

bool ViewPanel::AddTerrain(const std::string& path, std::string& error) {
  if (loading_) {
    error = "Se está leyendo otro fichero";
    return false;
  }
  if (!view::AddTerrainProfile(path, model_, error)) return false;
  canvas_->SetModel(&model_);
  cursor_->setText(QStringLiteral("Terreno: ") + QFileInfo(Text(path)).fileName());
  return true;
}

WindowViews::WindowViews(QMainWindow& window, QMenu* fileMenu, bool openItem) : window_(window) {
  stack_ = new QStackedWidget(&window);
  stack_->setObjectName("paginas");
  QWidget* empty = window.takeCentralWidget();
  if (empty != nullptr) stack_->addWidget(empty);
  panel_ = new ViewPanel(stack_);
  stack_->addWidget(panel_);
  window.setCentralWidget(stack_);

  auto* dock = new QDockWidget(QStringLiteral("Registro"), &window);
  dock->setObjectName("registro");
  log_ = new QListWidget(dock);
  log_->setObjectName("conversiones");
  dock->setWidget(log_);
  window.addDockWidget(Qt::BottomDockWidgetArea, dock);
  // A few lines high: the views keep most of the window.
  window.resizeDocks({dock}, {110}, Qt::Vertical);

  recent_ = new QMenu(QStringLiteral("&Recientes"), fileMenu != nullptr ? static_cast<QWidget*>(fileMenu) : &window);
  recent_->setObjectName("recientes");
  if (fileMenu != nullptr) {
    // After the window's own Abrir... when it has one, else at the top.
    QAction* before = fileMenu->actions().isEmpty() ? nullptr : fileMenu->actions().front();
    for (QAction* action : fileMenu->actions()) {
      if (action->objectName() == "sepAbrir") before = action;
    }
    QList<QAction*> added;
    if (openItem) {
      auto* open = new QAction(QStringLiteral("&Abrir..."), fileMenu);
      open->setObjectName("abrir");
      open->setShortcut(QKeySequence::Open);
      QObject::connect(open, &QAction::triggered, &window, [this] {
        const QString path = QFileDialog::getOpenFileName(
            &window_, QStringLiteral("Abrir"), QString(),
            QStringLiteral("Ficheros que se pueden ver (*.eje *.ras *.tra *.pun *.per *.sup *.dxf *.shp *.xml);;Todos (*)"));
        if (!path.isEmpty()) Open(path);
      });
      fileMenu->insertAction(before, open);
      added << open;
    }
    fileMenu->insertMenu(before, recent_);
    QAction* log = dock->toggleViewAction();
    log->setText(QStringLiteral("Re&gistro"));
    fileMenu->insertAction(before, log);
    added << recent_->menuAction() << log;
    if (openItem) added << fileMenu->insertSeparator(before);
    // Marked, so that what the command table puts in the menu can be told from these.
    for (QAction* action : added) action->setProperty(kViewsItem, true);
  }
  RebuildRecent();

  if (openItem) {
    dropFilter_ = std::make_unique<DropFilter>(*this);
    window.setAcceptDrops(true);
    window.installEventFilter(dropFilter_.get());
  }
}

bool WindowViews::Show(const QString& path) {
  std::string error;
  if (!panel_->OpenFile(Local(path), error)) return false;
  stack_->setCurrentWidget(panel_);
  Remember(path);
  return true;
}

bool WindowViews::Open(const QString& path) {
  std::string error;
  if (!panel_->OpenFile(Local(path), error)) {
    Log(QStringLiteral("No se puede ver ") + path + QStringLiteral(": ") + Text(error));
    QMessageBox::warning(&window_, window_.windowTitle(), Text(error));
    return false;
  }
  stack_->setCurrentWidget(panel_);
  Remember(path);
  return true;
}

void WindowViews::ConversionFinished(const QString& caption, bool converted, const QString& target,
                                     const QString& failure, const QString& summary) {
  if (converted) {
    Log(caption + QStringLiteral(": generado ") + target + (summary.isEmpty() ? QString() : QStringLiteral(": ") + summary));
    std::string error;
    // The target is shown when it is a file the views know (a native file, a drawing, a
    // LandXML document...); other targets stay in the log.
    if (!target.isEmpty() && panel_->OpenFile(Local(target), error)) {
      stack_->setCurrentWidget(panel_);
      Remember(target);
    }
  } else {
    Log(caption + QStringLiteral(": ") + (failure.isEmpty() ? QStringLiteral("no completada") : failure));
  }
}

void WindowViews::Log(const QString& text) {
  log_->addItem(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + text);
  log_->scrollToBottom();
}

QStringList WindowViews::RecentFiles() const {
  return QSettings().value(QStringLiteral("recientes")).toStringList();
}

void WindowViews::Remember(const QString& path) {
  QStringList files = RecentFiles();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kMaxRecent) files.removeLast();
  QSettings().setValue(QStringLiteral("recientes"), files);
  RebuildRecent();
}

void WindowViews::RebuildRecent() {
  recent_->clear();
  const QStringList files = RecentFiles();
  for (int k = 0; k < files.size(); ++k) {
    const QString path = files[k];
    QAction* action = recent_->addAction(QStringLiteral("&%1 %2").arg(k + 1).arg(QFileInfo(path).fileName()));
    action->setToolTip(path);
    QObject::connect(action, &QAction::triggered, &window_, [this, path] { Open(path); });
  }
  recent_->setEnabled(!files.isEmpty());
}

namespace {

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

bool MeasureView(WindowViews& views, const QString& path) {
  QElapsedTimer wall;
  wall.start();
  const double cpu = ProcessorSeconds();
  if (!views.Open(path)) return false;
  ViewCanvas* canvas = views.panel()->canvas();
  canvas->repaint();
  QCoreApplication::processEvents();
  std::printf("apertura: %.3f s reales, %.3f s de procesador\n", wall.nsecsElapsed() / 1e9, ProcessorSeconds() - cpu);

  // A pan: the mouse pressed in the middle, moved in 20 steps, let go.
  const QPointF middle(canvas->width() / 2.0, canvas->height() / 2.0);
  auto send = [canvas](QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, canvas->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  };
  send(QEvent::MouseButtonPress, middle, Qt::LeftButton);
  double slowest = 0;
  wall.restart();
  for (int step = 1; step <= 20; ++step) {
    QElapsedTimer one;
    one.start();
    send(QEvent::MouseMove, middle + QPointF(step * 6, step * 4), Qt::LeftButton);
    canvas->repaint();
    slowest = std::max(slowest, one.nsecsElapsed() / 1e6);
  }
  std::printf("desplazamiento: %.1f ms por paso de media, %.1f ms el más lento\n", wall.nsecsElapsed() / 1e6 / 20,
              slowest);
  wall.restart();
  send(QEvent::MouseButtonRelease, middle + QPointF(120, 80), Qt::NoButton);
  canvas->repaint();
  std::printf("redibujado al soltar: %.1f ms\n", wall.nsecsElapsed() / 1e6);
  // The line under the drawing follows the mouse: what lies under it.
  wall.restart();
  for (int step = 0; step < 20; ++step) send(QEvent::MouseMove, middle + QPointF(step * 3, -step * 2), Qt::NoButton);
  std::printf("descripción bajo el cursor: %.1f ms por movimiento\n", wall.nsecsElapsed() / 1e6 / 20);
  return true;
}

}  // namespace view_widgets
