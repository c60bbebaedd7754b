// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProxyStyle>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStyleFactory>
#include <QToolTip>
#include <QWheelEvent>
#include <exception>

#include "batch/batch_window.h"
#include "finishing/add_text_window.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/full_screen_picture.h"
#include "mainwindow/full_screen_window.h"
#include "ui/app_pictures.h"
#include "ui/language.h"
#include "ui/qt_bitmap.h"
#include "version.h"

namespace gt {

namespace {

// Tooltips show after the mouse rests 500 ms on a control.
class HintTimingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

const QString kSilverLabel = QStringLiteral("color: rgb(192, 192, 192);");
const QString kBlackLabel = QStringLiteral("color: black;");

}  // namespace

MainWindow::MainWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Graphitello - Version " GT_VERSION));
    const QImage icon = AppPictures::get().appIcon(64);
    if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    try {
        resources_ = loadBuiltinPictures();
    } catch (const std::exception& e) {
        resourceError_ = QString::fromUtf8(e.what());
    }
    askOkCancel = [this](const QString& question) {
        return QMessageBox::warning(this, windowTitle(), question, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    };
    showMessage = [this](const QString& message) {
        QMessageBox::warning(this, messageTitle_.isEmpty() ? windowTitle() : messageTitle_, message);
    };
    job_ = new RenderJob(resources_, CancelRequested, this);
    connect(job_, &RenderJob::progress, this, &MainWindow::ProgressReport);
    connect(job_, &RenderJob::finished, this, &MainWindow::renderDone);
    sourceJob_ = new SourceJob(CancelRequested, this);
    connect(sourceJob_, &SourceJob::progress, this, &MainWindow::ProgressReport);
    connect(sourceJob_, &SourceJob::finished, this, &MainWindow::sourceStepDone);
    createWidgets();
}

MainWindow::~MainWindow() {
    if (windows.batchWindow) windows.batchWindow->stopRun();
    CancelRequested.store(true);
    readingStop_.store(true);
    job_->wait();
    sourceJob_->wait();
    wallpaperStop_.store(true);
    wallpaperWorker_.wait();
    preloadWorker_.wait();
}

void MainWindow::createWidgets() {
    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);
    // The panes, the toolbar and the status strip keep their white and dark text on any desktop.
    QPalette pal = tiledPalette();
    pal.setColor(QPalette::Window, Qt::white);
    client_->setPalette(pal);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    buildMenus();
    buildToolbar();
    buildPanes();

    SplitOffset = 0;
    SavedZoom = 100;
    ShowDrawingHint = true;
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(237, 237, 237));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    if (!dynamic_cast<HintTimingStyle*>(QApplication::style()))
        QApplication::setStyle(new HintTimingStyle(QStyleFactory::create(QApplication::style()->name())));

    // Escape anywhere in the window cancels a running rendering.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { keyPressed(Qt::Key_Escape); });

    renderTimer.setSingleShot(true);
    connect(&renderTimer, &QTimer::timeout, this, [this] { renderTimerFired(); });
    panInertiaTimer.setInterval(100);
    connect(&panInertiaTimer, &QTimer::timeout, this, [this] { panInertiaTick(); });
    heldZoomTimer.setInterval(10);
    connect(&heldZoomTimer, &QTimer::timeout, this, [this] { heldZoomTick(); });
    fullScreenBlockTimer.setSingleShot(true);
    connect(&fullScreenBlockTimer, &QTimer::timeout, this, [this] { fullScreenBlockEnded(); });

    // The built-in samples: a photo on the left and a drawing made from it on the right.
    const QImage photo = AppPictures::resource(QStringLiteral("sample_photo.jpg"));
    const QImage drawing = AppPictures::resource(QStringLiteral("sample_drawing.jpg"));
    setSource(photo.isNull() ? Bitmap(400, 300) : fromQImage(photo));
    if (!drawing.isNull()) {
        DrawingImage = fromQImage(drawing);
        drawingOrigin_ = DrawingOrigin{DrawingOrigin::Kind::WithoutCommand, {}, "Sample"};
        DrawingWidth = DrawingImage.width();
        DrawingHeight = DrawingImage.height();
        showPictures();
    }
    Busy = false;
    FullScreenShown = false;
    statusStrip_->Label2->hide();
    // The smallest window leaves this much below the menu bar.
    client_->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
}

// ---- Menus and toolbar --------------------------------------------------------------------------

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto entry = [this](QMenu* menu, const char* name, const char* caption, QKeySequence keys, auto handler) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, handler);
        menuEntries_.insert(QString::fromLatin1(name), a);
        return a;
    };
    auto menu = [this, bar](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        menuEntries_.insert(QString::fromLatin1(name), m->menuAction());
        normalMenus_ << m->menuAction();
        return m;
    };

    fileMenu_ = menu("File1", "&Fichier");
    entry(fileMenu_, "Openpicture1", "&Ouvrir une image...", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openPicture(); });
    entry(fileMenu_, "Savepicture1", "&Enregistrer le dessin...", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { savePicture(); });
    entry(fileMenu_, "EnregistrerenfonddcranWindows1", "Mettre le dessin en fond d'écran", QKeySequence(Qt::CTRL | Qt::Key_W),
          [this] { setWallpaper(); });
    entry(fileMenu_, "Batchprocessing1", "Conversions multiples...", QKeySequence(Qt::CTRL | Qt::Key_B), [this] { openBatchWindow(); });
    entry(fileMenu_, "Imprimer1", "&Imprimer", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { openPrintPreview(); });
    entry(fileMenu_, "Quit1", "&Quitter", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { quitProgram(); });
    QAction* rule = entry(fileMenu_, "N1", "___________________", QKeySequence(), [] {});
    rule->setEnabled(false);
    QMenu* languages = fileMenu_->addMenu(QStringLiteral("&Choix de la langue..."));
    languages->menuAction()->setObjectName(QStringLiteral("Changelangage1"));
    menuEntries_.insert(QStringLiteral("Changelangage1"), languages->menuAction());
    entry(languages, "English1", "繁中", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), [this] { switchToChinese(); });
    entry(languages, "Franais1", "&Français", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), [this] { switchToFrench(); });
    // English1 is the Chinese entry (it kept its name when its caption changed); English is English2.
    // Each entry is written in its own language, so it can be found from any interface.
    entry(languages, "English2", "English", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), [this] { switchToEnglish(); });

    QMenu* edit = menu("Edit1", "&Edit");
    entry(edit, "Redimensionnerlimagesource1", "Redimensionner l'image source", QKeySequence(Qt::CTRL | Qt::Key_R),
          [this] { openResizeWindow(); });
    entry(edit, "ModifySourceImage1", "&Modifier l'image source", QKeySequence(Qt::Key_F9), [this] { openRetouchWindow(); });
    entry(edit, "Copierledessindanslepressepapier1", "&Copier le dessin dans le presse-papier", QKeySequence(Qt::CTRL | Qt::Key_C),
          [this] { copyDrawing(); });
    entry(edit, "Copyascommandline1", "Copier comme ligne de commande", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
          [this] { copyCommandLine(); });
    entry(edit, "Colleruneimagedepuislepressepapier1", "Coller une &image depuis le presse-papier", QKeySequence(Qt::CTRL | Qt::Key_V),
          [this] { pasteFromClipboard(); });
    entry(edit, "Swap1", "Swap", QKeySequence(Qt::Key_F12), [this] { swapPictures(); });
    entry(edit, "Ajoutdetexte1", "Ajout de texte", QKeySequence(Qt::CTRL | Qt::Key_T), [this] { addText(); });
    entry(edit, "Reverttooriginalsourceimage1", "Annuler tous les &changements", QKeySequence(Qt::CTRL | Qt::Key_Z),
          [this] { revertToOriginalSource(); })
        ->setEnabled(false);
    // Undo and redo of the changes to the photo; Ctrl+Z stays Revert's.
    entry(edit, "Undosourcechange1", "&Défaire la dernière modification de l'image source", QKeySequence(Qt::ALT | Qt::Key_Backspace),
          [this] { undoSourceChange(); })
        ->setEnabled(false);
    entry(edit, "Redosourcechange1", "&Refaire la modification de l'image source", QKeySequence(Qt::CTRL | Qt::Key_Y),
          [this] { redoSourceChange(); })
        ->setEnabled(false);
    // Their keys work during a run too, while the cancel menu stands in for this one: they then say
    // why they wait.
    addAction(menuEntry(QStringLiteral("Undosourcechange1")));
    addAction(menuEntry(QStringLiteral("Redosourcechange1")));
    entry(edit, "Sketchit1", "&Paramètres de dessin...", QKeySequence(Qt::Key_F10), [this] { sketchIt(); });
    // The source-image enhancements are reached through the retouch window; the submenu stays hidden
    // and its entries keep their shortcuts, through the window.
    QMenu* improve = edit->addMenu(QStringLiteral("&Améliorer l'image source"));
    improve->menuAction()->setObjectName(QStringLiteral("Improvesourceimage1"));
    improve->menuAction()->setVisible(false);
    menuEntries_.insert(QStringLiteral("Improvesourceimage1"), improve->menuAction());
    const struct { const char* name; const char* caption; int key; void (MainWindow::*handler)(); } enhancements[] = {
        {"Softensourceimage1", "A&doucir l'image source", Qt::Key_F1, &MainWindow::softenSource},
        {"Augmenterlanettet1", "Augmenter la &netteté", Qt::Key_F2, &MainWindow::sharpenSource},
        {"Increasecoloursaturation1", "&Augmenter la saturation des couleurs", Qt::Key_F3, &MainWindow::increaseSaturation},
        {"Increasebrightness1", "Augmenter la &luminosité", Qt::Key_F4, &MainWindow::increaseBrightness},
        {"Increasecontrast1", "Augmenter le &contraste", Qt::Key_F5, &MainWindow::increaseContrast},
        {"Rduirelebruit1", "&Simplifier l'image", Qt::Key_F6, &MainWindow::reduceNoise},
    };
    for (const auto& e : enhancements) {
        QAction* a = entry(improve, e.name, e.caption, QKeySequence(Qt::CTRL | e.key), [this, h = e.handler] { (this->*h)(); });
        addAction(a);
    }

    QMenu* help = menu("About1", "&Aide");
    entry(help, "Aideenligne1", "Aide en ligne", QKeySequence(Qt::Key_F1), [this] { openOnlineHelp(); });
    entry(help, "About2", "&A propos de Graphitello", QKeySequence(), [this] { showAbout(); });

    // The processing menu bar: its only entry, shown in place of the others during a run.
    cancelAction_ = bar->addAction(QStringLiteral("Cancel operation"));
    cancelAction_->setObjectName(QStringLiteral("Canceloperation1"));
    connect(cancelAction_, &QAction::triggered, this, [this] { cancelOperation(); });
    menuEntries_.insert(QStringLiteral("Canceloperation1"), cancelAction_);
    showMenuBar(false);
}

void MainWindow::showMenuBar(bool cancelOnly) {
    for (QAction* a : normalMenus_) a->setVisible(!cancelOnly);
    cancelAction_->setVisible(cancelOnly);
}

bool MainWindow::cancelMenuShown() const { return cancelAction_->isVisible(); }

void MainWindow::buildToolbar() {
    toolbar_ = new QFrame(client_);
    toolbar_->setFrameShape(QFrame::Box);
    toolbar_->setAutoFillBackground(true);
    QPalette pal = toolbar_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    toolbar_->setPalette(pal);

    struct Button { const char* name; const char* picture; int left; std::function<void()> action; };
    const Button buttons[] = {
        {"Image5", "open", 5, [this] { openPicture(); }},
        {"Image6", "save", 42, [this] { if (!Busy) savePicture(); }},
        {"Image7", "copy", 79, [this] { copyDrawing(); }},
        {"Image8", "paste", 119, [this] { pasteFromClipboard(); }},
        {"Image9", "retouch", 157, [this] { openRetouchWindow(); }},
        {"Image11", "revert", 193, [this] { revertToOriginalSource(); }},
        {"Image12", "parameters", 228, [this] { changeParameters(); }},
        {"Image18", "text", 266, [this] { addText(); }},
        {"Image14", "print", 304, [this] { openPrintPreview(); }},
        {"Image13", "about", 342, [this] { showAbout(); }},
        {"Image21", "help", 380, [this] { openOnlineHelp(); }},
        {"Image20", "coffee", 420, [this] { showDonation(); }},
        // The zoom buttons act on press and release (below).
        {"Image15", "zoom_out", 0, [] {}},
        {"Image16", "fit", 0, [this] { setZoom(100); centerPictures(); }},
        {"Image17", "zoom_in", 0, [] {}},
    };
    for (const Button& b : buttons) {
        auto* button = new PictureButton(AppPictures::get().toolButton(QString::fromLatin1(b.picture)), toolbar_);
        button->setObjectName(QString::fromLatin1(b.name));
        button->place(b.left, 6);
        button->setToolTipDuration(2500);
        connect(button, &PictureButton::clicked, this, b.action);
        toolButtons_.insert(QString::fromLatin1(b.name), button);
    }
    for (const auto& [name, direction] : {std::pair{"Image15", kZoomOut}, std::pair{"Image17", kZoomIn}}) {
        PictureButton* button = toolButtons_.value(QString::fromLatin1(name));
        connect(button, &PictureButton::pressed, this, [this, d = direction](Qt::MouseButton b) { zoomButtonDown(d, b); });
        connect(button, &PictureButton::released, this, [this, d = direction](Qt::MouseButton b) { zoomButtonUp(d, b); });
    }
    PictureButton* fit = toolButtons_.value(QStringLiteral("Image16"));
    connect(fit, &PictureButton::pressed, this, [this] { fitButtonDown(); });
    connect(fit, &PictureButton::released, this, [this](Qt::MouseButton b) { fitButtonUp(b); });
    zoomLabel_ = new QLabel(QStringLiteral("100 %"), toolbar_);
    QFont font = zoomLabel_->font();
    font.setPixelSize(12);
    zoomLabel_->setFont(font);
    zoomLabel_->setStyleSheet(kSilverLabel);
    zoomLabel_->resize(46, 20);
    zoomEdit_ = new QLineEdit(QStringLiteral("100"), toolbar_);
    zoomEdit_->setMaxLength(4);
    zoomEdit_->resize(40, 22);
    zoomEdit_->setAccessibleName(QStringLiteral("Zoom %"));
    zoomEdit_->hide();
    // The toolbar and everything on it report the mouse's moves (the zoom box hides) and the zoom
    // buttons their hovering (the zoom label darkens).
    toolbar_->setMouseTracking(true);
    toolbar_->installEventFilter(this);
    for (QWidget* child : toolbar_->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    connect(zoomEdit_, &QLineEdit::returnPressed, this, [this] { zoomEditKey(Qt::Key_Return); });
}

void MainWindow::buildPanes() {
    sourcePane_ = new PicturePane(client_);
    drawingPane_ = new PicturePane(client_);
    sourcePane_->setObjectName(QStringLiteral("ScrollBox1"));
    drawingPane_->setObjectName(QStringLiteral("ScrollBox2"));
    sourcePane_->setCursor(AppPictures::get().handCursor());
    drawingPane_->setCursor(AppPictures::get().handCursor());
    sourcePane_->setAcceptsFiles(true);
    connect(sourcePane_, &PicturePane::filesDropped, this, &MainWindow::filesDropped);
    for (PicturePane* pane : {sourcePane_, drawingPane_}) {
        const bool drawing = pane == drawingPane_;
        pane->setToolTipDuration(2500);
        connect(pane, &PicturePane::pressed, this, [this, drawing](Qt::MouseButton b, QPoint g, QPoint) { panePressed(b, g, drawing); });
        connect(pane, &PicturePane::moved, this, [this, drawing](Qt::MouseButtons, QPoint g, QPoint) { paneMoved(g, drawing); });
        connect(pane, &PicturePane::released, this, [this, drawing](Qt::MouseButton, QPoint, QPoint) { paneReleased(drawing); });
        connect(pane, &PicturePane::doubleClicked, this, [this, drawing] { fullScreen(drawing); });
        connect(pane, &PicturePane::wheelTurned, this, &MainWindow::zoomByWheel);
    }
    // The add-text window's text is dragged on the drawing, and previewed again on a new drawing.
    drawingPane_->setMouseTracking(true);
    connect(drawingPane_, &PicturePane::moved, this, [this](Qt::MouseButtons, QPoint g, QPoint) { textHovered(g); });
    connect(drawingPane_, &PicturePane::pictureChanged, this, [this] {
        if (addTextVisible()) windows.addTextWindow->drawingReplaced();
    });
    divider_ = new PaneDivider(client_);
    connect(divider_, &PaneDivider::dragged, this, &MainWindow::dividerDragged);
    connect(divider_, &PaneDivider::dropped, this, &MainWindow::dividerDropped);
    connect(divider_, &PaneDivider::doubleClicked, this, [this] { SplitOffset = kSplitCentreMarker; });
    statusStrip_ = new StatusStrip(client_);
    statusStrip_->setSlice(AppPictures::get().progressSlice());
    connect(statusStrip_, &StatusStrip::runStarted, this, [this] { showMenuBar(true); });
    connect(statusStrip_, &StatusStrip::runEnded, this, [this] { showMenuBar(false); });
}

// ---- Start-up -----------------------------------------------------------------------------------

void MainWindow::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect work = screen->availableGeometry();
        const Rect r = restoredGeometry(work.width(), work.height());
        setGeometry(work.left() + r.left, work.top() + r.top, r.width, r.height);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

// ---- Layout -------------------------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutPanes();
}

void MainWindow::layoutPanes() {
    if (!client_) return;
    layout_ = computeLayout(client_->width(), client_->height(), SplitOffset);
    SplitOffset = layout_.SplitOffset;
    auto apply = [](QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, qMax(0, r.width), qMax(0, r.height)); };
    apply(divider_, layout_.divider);
    apply(toolbar_, layout_.toolbar);
    apply(statusStrip_, layout_.status);
    toolButtons_.value(QStringLiteral("Image15"))->place(layout_.zoomOutLeft, 6);
    toolButtons_.value(QStringLiteral("Image16"))->place(layout_.fitLeft, 6);
    toolButtons_.value(QStringLiteral("Image17"))->place(layout_.zoomInLeft, 6);
    zoomLabel_->move(layout_.zoomLabelLeft, 13);
    // The box opens over the label, so the mouse resting on the label keeps it open, clear of the
    // buttons left of it at every window size.
    zoomEdit_->move(layout_.zoomLabelLeft, 10);
    apply(drawingPane_, layout_.rightPane);
    apply(sourcePane_, layout_.leftPane);
    statusStrip_->Label2->move(layout_.progressLabelLeft, 2);
    centerPictures();
    statusStrip_->markResized();
}

void MainWindow::centerPictures() {
    for (PicturePane* pane : {sourcePane_, drawingPane_}) {
        const QSize s = pane->displaySize();
        pane->setPosition(QPoint(centredPosition(pane->width(), s.width()), centredPosition(pane->height(), s.height())));
        pane->update();
    }
}

void MainWindow::boundPictures() {
    for (PicturePane* pane : {sourcePane_, drawingPane_}) {
        const QPoint p = pane->position();
        const QSize s = pane->displaySize();
        pane->setPosition(QPoint(boundedPosition(p.x(), pane->width(), s.width()), boundedPosition(p.y(), pane->height(), s.height())));
    }
}

void MainWindow::dividerDragged(int x) {
    sourcePane_->setGuideLine(x < 0 ? x + sourcePane_->width() : -1);
    drawingPane_->setGuideLine(x >= 0 ? x - 8 : -1);
}

void MainWindow::dividerDropped(int x) {
    sourcePane_->setGuideLine(-1);
    drawingPane_->setGuideLine(-1);
    SplitOffset = splitOffsetAfterDrag(SplitOffset, client_->width(), divider_->x(), x);
    layoutPanes();
}

// ---- Viewer -------------------------------------------------------------------------------------

void MainWindow::setZoom(int zoom) {
    // While Busy a zoom step is refused, not kept for later: both panes and the label keep one zoom.
    if (Busy) return;
    zoom_ = clampZoom(zoom);
    const QSize oldSource = sourcePane_->displaySize();
    const QSize oldDrawing = drawingPane_->displaySize();
    sourcePane_->setZoom(zoom_);
    drawingPane_->setZoom(zoom_);
    zoomLabel_->setText(QString::number(zoom_) + QStringLiteral(" %"));
    zoomLabel_->adjustSize();
    auto keepCentre = [](PicturePane* pane, QSize before) {
        const QSize after = pane->displaySize();
        const QPoint p = pane->position();
        pane->setPosition(QPoint(p.x() - (after.width() - before.width()) / 2, p.y() - (after.height() - before.height()) / 2));
    };
    keepCentre(sourcePane_, oldSource);
    keepCentre(drawingPane_, oldDrawing);
    boundPictures();
    sourcePane_->update();
    drawingPane_->update();
}

void MainWindow::showPictures(bool drawingIsSource, std::shared_ptr<const ViewPyramid> view) {
    // The reduced copies take a single pass over each picture, two workers sharing it.
    auto source = view && view->matches(SourceImage) ? std::move(view)
                                                      : std::make_shared<const ViewPyramid>(buildViewPyramid(SourceImage));
    auto drawing = drawingIsSource ? source : std::make_shared<const ViewPyramid>(buildViewPyramid(DrawingImage));
    sourcePane_->setPicture(&SourceImage, std::move(source));
    drawingPane_->setPicture(&DrawingImage, std::move(drawing));
    if (!Busy) {
        sourcePane_->setZoom(zoom_);
        drawingPane_->setZoom(zoom_);
    }
}

void MainWindow::setSource(Bitmap picture, std::shared_ptr<const ViewPyramid> view) {
    SourceImage = std::move(picture);
    DrawingImage = SourceImage;
    drawingOrigin_ = DrawingOrigin{DrawingOrigin::Kind::Photo, DrawingRecipe{sourceRecipe_}, {}};
    SourceWidth = DrawingWidth = SourceImage.width();
    SourceHeight = DrawingHeight = SourceImage.height();
    zoom_ = 100;
    zoomLabel_->setText(QStringLiteral("100 %"));
    showPictures(true, std::move(view));
}

void MainWindow::zoomByWheel(int delta) { setZoom(wheelZoom(zoom_, delta)); }

void MainWindow::wheelEvent(QWheelEvent* event) {
    zoomByWheel(event->angleDelta().y());
    event->accept();
}

// While a zoom button is held the panes show no shadow: continuous zoom repaints only the pictures.
void MainWindow::setHeldZoomLook(bool held) {
    sourcePane_->setShadowShown(!held);
    drawingPane_->setShadowShown(!held);
}

void MainWindow::zoomButtonDown(int direction, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::MiddleButton) return;
    panInertiaTimer.stop();
    ZoomDirection = direction;
    heldZoomTimer.start();
    setHeldZoomLook(true);
}

void MainWindow::zoomButtonUp(int direction, Qt::MouseButton button) {
    ZoomDirection = kZoomNone;
    ZoomTicks = 1;
    heldZoomTimer.stop();
    setHeldZoomLook(false);
    if (button == Qt::RightButton) setZoom(rightClickZoom(zoom_, direction));
    sourcePane_->update();
    drawingPane_->update();
}

void MainWindow::heldZoomTick() {
    if (Busy || ZoomDirection == kZoomNone) return;
    setZoom(heldZoom(zoom_, ZoomDirection, ZoomTicks));
    ++ZoomTicks;
}

void MainWindow::fitButtonDown() { panInertiaTimer.stop(); }

void MainWindow::fitButtonUp(Qt::MouseButton button) {
    if (button != Qt::RightButton) return;
    // The wider pane decides: the left one when the right one is narrower.
    const bool left = drawingPane_->width() < sourcePane_->width();
    const PicturePane* pane = left ? sourcePane_ : drawingPane_;
    setZoom(fitZoom(pane->width(), pane->height(), left ? SourceWidth : DrawingWidth, left ? SourceHeight : DrawingHeight));
    centerPictures();
}

void MainWindow::moveBothPictures(int dx, int dy) {
    for (PicturePane* pane : {sourcePane_, drawingPane_}) pane->setPosition(pane->position() + QPoint(dx, dy));
    boundPictures();
}

void MainWindow::panePressed(Qt::MouseButton button, QPoint global, bool drawingPane) {
    if (FullScreenShown) return;
    if (drawingPane) {
        ShowDrawingHint = false;
        updateDrawingHint();
    }
    if (drawingPane && button == Qt::LeftButton && textPressed(global)) return;
    if (button == Qt::LeftButton) Dragging = true;
    PanVelocityX = PanVelocityY = 0;
    LastCursorX = global.x();
    LastCursorY = global.y();
    if (button == Qt::RightButton && !Busy) fileMenu_->popup(global);
}

void MainWindow::paneMoved(QPoint global, bool drawingPane) {
    if (drawingPane) updateDrawingHint();
    if (DraggingText) {
        textDragged(global);
        return;
    }
    if (!Dragging) return;
    const int dx = global.x() - LastCursorX;
    const int dy = global.y() - LastCursorY;
    moveBothPictures(dx, dy);
    PanVelocityX = 2 * dx;
    PanVelocityY = 2 * dy;
    LastCursorX = global.x();
    LastCursorY = global.y();
}

void MainWindow::paneReleased(bool drawingPane) {
    const bool flung = Dragging && flingStartsInertia(PanVelocityX, PanVelocityY, drawingPane);
    Dragging = false;
    DraggingText = false;
    if (flung) panInertiaTimer.start();
}

void MainWindow::panInertiaTick() {
    if (Dragging || DraggingText) return;
    if (inertiaEnds(PanVelocityX, PanVelocityY)) panInertiaTimer.stop();
    moveBothPictures(PanVelocityX, PanVelocityY);
    PanVelocityX = decayedVelocity(PanVelocityX);
    PanVelocityY = decayedVelocity(PanVelocityY);
}

void MainWindow::fullScreen(bool drawingPane) {
    if (Busy || !windows.fullScreenWindow) return;
    if (drawingPane) {
        ShowDrawingHint = false;
        updateDrawingHint();
    }
    Dragging = false;
    DraggingText = false;
    const PicturePane* pane = drawingPane ? drawingPane_ : sourcePane_;
    const Bitmap* picture = pane->picture();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!picture || !screen) return;
    const QRect desktop = screen->geometry();
    const Rect place = fullScreenPlacement(pane->displaySize().width(), pane->displaySize().height(), desktop.width(), desktop.height());
    if (place.width <= 0 || place.height <= 0) return;
    const QImage shown = fullScreenPicture(*picture, place.width, place.height);
    FullScreenShown = true;
    windows.fullScreenWindow->showPicture(shown, place, desktop);
}

// The input block runs from the view's closing, so the click that closed it cannot start a pan.
void MainWindow::fullScreenClosed() {
    Dragging = false;
    fullScreenBlockTimer.start(300);
}

void MainWindow::fullScreenBlockEnded() {
    fullScreenBlockTimer.stop();
    FullScreenShown = false;
    Dragging = false;
    DraggingText = false;
}

void MainWindow::zoomLabelPressed() {
    zoomEdit_->setText(QString::number(zoom_));
    zoomEdit_->show();
    zoomEdit_->setFocus();
    zoomEdit_->selectAll();
}

void MainWindow::zoomEditKey(int key) {
    if (key == Qt::Key_Escape) {
        zoomEdit_->hide();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        zoomEdit_->hide();
        if (const std::optional<int> zoom = typedZoom(zoomEdit_->text())) setZoom(*zoom);
    }
}

void MainWindow::toolbarMouseMoved(int x) {
    if (zoomEdit_->isVisible() && (x < zoomEdit_->x() - 20 || x > zoomEdit_->x() + zoomEdit_->width())) zoomEdit_->hide();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // The filter sees events of widgets made before the toolbar itself.
    const bool onToolbar = widget && toolbar_ && (widget == toolbar_ || toolbar_->isAncestorOf(widget));
    if (onToolbar && event->type() == QEvent::MouseMove)
        toolbarMouseMoved(widget->mapTo(toolbar_, static_cast<QMouseEvent*>(event)->position().toPoint()).x());
    if (watched == zoomLabel_ && event->type() == QEvent::MouseButtonPress) {
        zoomLabelPressed();
        return true;
    }
    // Escape in the box is the box's: the window's Escape (cancel a run) does not take it first.
    if (watched == zoomEdit_ && event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (watched == zoomEdit_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        zoomEditKey(Qt::Key_Escape);
        return true;
    }
    const bool zoomButton = widget && (widget == toolButtons_.value(QStringLiteral("Image15")) ||
                                       widget == toolButtons_.value(QStringLiteral("Image16")) ||
                                       widget == toolButtons_.value(QStringLiteral("Image17")));
    if (zoomButton && event->type() == QEvent::Enter) zoomLabel_->setStyleSheet(kBlackLabel);
    if (zoomButton && event->type() == QEvent::Leave) zoomLabel_->setStyleSheet(kSilverLabel);
    return QMainWindow::eventFilter(watched, event);
}

// Closing during a rendering does not wait for it: the flag stops the worker at its next row, and
// the window goes at once (its destruction collects the worker).
void MainWindow::closeEvent(QCloseEvent* event) {
    CancelRequested.store(true);
    wallpaperStop_.store(true);
    readingStop_.store(true);
    QMainWindow::closeEvent(event);
    qApp->quit();
}

// ---- Small helpers ------------------------------------------------------------------------------

bool MainWindow::batchVisible() const { return windows.batchWindow && windows.batchWindow->isVisible(); }
bool MainWindow::addTextVisible() const { return windows.addTextWindow && windows.addTextWindow->isVisible(); }
bool MainWindow::parameterWindowVisible() const { return windows.parameterWindow && windows.parameterWindow->isVisible(); }

void MainWindow::showError(const QString& message) { showMessage(message); }

QString MainWindow::text(const QString& key) const { return TextTable::of(language_).text(key); }

void MainWindow::setStatusText(const QString& status) {
    statusStrip_->Label1->setText(status);
}

}  // namespace gt
