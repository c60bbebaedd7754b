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
    FormCreate();
}

MainWindow::~MainWindow() {
    CancelRequested.store(true);
    job_->wait();
    sourceJob_->wait();
    wallpaperStop_.store(true);
    if (wallpaperThread_) {
        wallpaperThread_->wait();
        delete wallpaperThread_;
    }
}

void MainWindow::FormCreate() {
    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);
    QPalette pal = client_->palette();
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
    QToolTip::setPalette(tips);
    if (!dynamic_cast<HintTimingStyle*>(QApplication::style()))
        QApplication::setStyle(new HintTimingStyle(QStyleFactory::create(QApplication::style()->name())));

    // Escape anywhere in the window cancels a running rendering.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { FormKeyPress(Qt::Key_Escape); });

    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    AccelTimer.setInterval(100);
    connect(&AccelTimer, &QTimer::timeout, this, [this] { AccelTimerTimer(); });
    Timer3.setInterval(10);
    connect(&Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    Timer2.setSingleShot(true);
    connect(&Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });

    // The built-in samples: a photo on the left and a drawing made from it on the right.
    const QImage photo = AppPictures::resource(QStringLiteral("sample_photo.jpg"));
    const QImage drawing = AppPictures::resource(QStringLiteral("sample_drawing.jpg"));
    setSource(photo.isNull() ? Bitmap(400, 300) : fromQImage(photo));
    if (!drawing.isNull()) {
        DrawingImage = fromQImage(drawing);
        DrawingWidth = DrawingImage.width();
        DrawingHeight = DrawingImage.height();
        showPictures();
    }
    Busy = false;
    FullScreenShown = false;
    Panel2->Label2->hide();
    // The smallest window leaves this much below the menu bar.
    client_->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    updateresizemenu();
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

    File1 = menu("File1", "&Fichier");
    entry(File1, "Openpicture1", "&Ouvrir une image...", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Openpicture1Click(); });
    entry(File1, "Savepicture1", "&Enregistrer le dessin...", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Savepicture1Click(); });
    entry(File1, "EnregistrerenfonddcranWindows1", "Mettre le dessin en fond d'écran", QKeySequence(Qt::CTRL | Qt::Key_W),
          [this] { EnregistrerenfonddcranWindows1Click(); });
    entry(File1, "Batchprocessing1", "Conversions multiples...", QKeySequence(Qt::CTRL | Qt::Key_B), [this] { Batchprocessing1Click(); });
    entry(File1, "Imprimer1", "&Imprimer", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { Imprimer1Click(); });
    entry(File1, "Quit1", "&Quitter", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { Quit1Click(); });
    QAction* rule = entry(File1, "N1", "___________________", QKeySequence(), [] {});
    rule->setEnabled(false);
    QMenu* languages = File1->addMenu(QStringLiteral("&Choix de la langue..."));
    languages->menuAction()->setObjectName(QStringLiteral("Changelangage1"));
    menuEntries_.insert(QStringLiteral("Changelangage1"), languages->menuAction());
    entry(languages, "English1", "繁中", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), [this] { English1Click(); });
    entry(languages, "Franais1", "&Français", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), [this] { Franais1Click(); });
    // English1 is the Chinese entry (it kept its name when its caption changed); English is English2.
    // Each entry is written in its own language, so it can be found from any interface.
    entry(languages, "English2", "English", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), [this] { English2Click(); });

    QMenu* edit = menu("Edit1", "&Edit");
    entry(edit, "Redimensionnerlimagesource1", "Redimensionner l'image source", QKeySequence(Qt::CTRL | Qt::Key_R),
          [this] { Redimensionnerlimagesource1Click(); });
    entry(edit, "ModifySourceImage1", "&Modifier l'image source", QKeySequence(Qt::Key_F9), [this] { ModifySourceImage1Click(); });
    entry(edit, "Copierledessindanslepressepapier1", "&Copier le dessin dans le presse-papier", QKeySequence(Qt::CTRL | Qt::Key_C),
          [this] { Copierledessindanslepressepapier1Click(); });
    entry(edit, "Colleruneimagedepuislepressepapier1", "Coller une &image depuis le presse-papier", QKeySequence(Qt::CTRL | Qt::Key_V),
          [this] { Colleruneimagedepuislepressepapier1Click(); });
    entry(edit, "Swap1", "Swap", QKeySequence(Qt::Key_F12), [this] { Swap1Click(); });
    entry(edit, "Ajoutdetexte1", "Ajout de texte", QKeySequence(Qt::CTRL | Qt::Key_T), [this] { Ajoutdetexte1Click(); });
    entry(edit, "Reverttooriginalsourceimage1", "Annuler tous les &changements", QKeySequence(Qt::CTRL | Qt::Key_Z),
          [this] { Reverttooriginalsourceimage1Click(); })
        ->setEnabled(false);
    // Undo and redo of the changes to the photo; Ctrl+Z stays Revert's.
    entry(edit, "Undosourcechange1", "&Défaire la dernière modification de l'image source", QKeySequence(Qt::ALT | Qt::Key_Backspace),
          [this] { Undosourcechange1Click(); })
        ->setEnabled(false);
    entry(edit, "Redosourcechange1", "&Refaire la modification de l'image source", QKeySequence(Qt::CTRL | Qt::Key_Y),
          [this] { Redosourcechange1Click(); })
        ->setEnabled(false);
    entry(edit, "Sketchit1", "&Paramètres de dessin...", QKeySequence(Qt::Key_F10), [this] { Sketchit1Click(); });
    // The source-image enhancements are reached through the retouch window; the submenu stays hidden
    // and its entries keep their shortcuts, through the window.
    QMenu* improve = edit->addMenu(QStringLiteral("&Améliorer l'image source"));
    improve->menuAction()->setObjectName(QStringLiteral("Improvesourceimage1"));
    improve->menuAction()->setVisible(false);
    menuEntries_.insert(QStringLiteral("Improvesourceimage1"), improve->menuAction());
    const struct { const char* name; const char* caption; int key; void (MainWindow::*handler)(); } enhancements[] = {
        {"Softensourceimage1", "A&doucir l'image source", Qt::Key_F1, &MainWindow::Softensourceimage1Click},
        {"Augmenterlanettet1", "Augmenter la &netteté", Qt::Key_F2, &MainWindow::Augmenterlanettet1Click},
        {"Increasecoloursaturation1", "&Augmenter la saturation des couleurs", Qt::Key_F3, &MainWindow::Increasecoloursaturation1Click},
        {"Increasebrightness1", "Augmenter la &luminosité", Qt::Key_F4, &MainWindow::Increasebrightness1Click},
        {"Increasecontrast1", "Augmenter le &contraste", Qt::Key_F5, &MainWindow::Increasecontrast1Click},
        {"Rduirelebruit1", "&Simplifier l'image", Qt::Key_F6, &MainWindow::Rduirelebruit1Click},
    };
    for (const auto& e : enhancements) {
        QAction* a = entry(improve, e.name, e.caption, QKeySequence(Qt::CTRL | e.key), [this, h = e.handler] { (this->*h)(); });
        addAction(a);
    }

    QMenu* help = menu("About1", "&Aide");
    entry(help, "Aideenligne1", "Aide en ligne", QKeySequence(Qt::Key_F1), [this] { Aideenligne1Click(); });
    entry(help, "About2", "&A propos de Graphitello", QKeySequence(), [this] { About2Click(); });

    // The processing menu bar: its only entry, shown in place of the others during a run.
    Canceloperation1 = bar->addAction(QStringLiteral("Cancel operation"));
    Canceloperation1->setObjectName(QStringLiteral("Canceloperation1"));
    connect(Canceloperation1, &QAction::triggered, this, [this] { Canceloperation1Click(); });
    menuEntries_.insert(QStringLiteral("Canceloperation1"), Canceloperation1);
    showMenuBar(false);
}

void MainWindow::showMenuBar(bool cancelOnly) {
    for (QAction* a : normalMenus_) a->setVisible(!cancelOnly);
    Canceloperation1->setVisible(cancelOnly);
}

bool MainWindow::cancelMenuShown() const { return Canceloperation1->isVisible(); }

void MainWindow::buildToolbar() {
    Panel1 = new QFrame(client_);
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(pal);

    struct Button { const char* name; const char* picture; int left; std::function<void()> action; };
    const Button buttons[] = {
        {"Image5", "open", 5, [this] { Openpicture1Click(); }},
        {"Image6", "save", 42, [this] { if (!Busy) Savepicture1Click(); }},
        {"Image7", "copy", 79, [this] { Copierledessindanslepressepapier1Click(); }},
        {"Image8", "paste", 119, [this] { Colleruneimagedepuislepressepapier1Click(); }},
        {"Image9", "retouch", 157, [this] { ModifySourceImage1Click(); }},
        {"Image11", "revert", 193, [this] { Reverttooriginalsourceimage1Click(); }},
        {"Image12", "parameters", 228, [this] { Changeparameters1Click(); }},
        {"Image18", "text", 266, [this] { Ajoutdetexte1Click(); }},
        {"Image14", "print", 304, [this] { Imprimer1Click(); }},
        {"Image13", "about", 342, [this] { About2Click(); }},
        {"Image21", "help", 380, [this] { Aideenligne1Click(); }},
        {"Image20", "coffee", 420, [this] { DonationClick(); }},
        // The zoom buttons act on press and release (below).
        {"Image15", "zoom_out", 0, [] {}},
        {"Image16", "fit", 0, [this] { setZoom(100); CenterImages(); }},
        {"Image17", "zoom_in", 0, [] {}},
    };
    for (const Button& b : buttons) {
        auto* button = new PictureButton(AppPictures::get().toolButton(QString::fromLatin1(b.picture)), Panel1);
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
    Label3 = new QLabel(QStringLiteral("100 %"), Panel1);
    QFont font = Label3->font();
    font.setPixelSize(12);
    Label3->setFont(font);
    Label3->setStyleSheet(kSilverLabel);
    Label3->resize(46, 20);
    Edit3 = new QLineEdit(QStringLiteral("100"), Panel1);
    Edit3->setMaxLength(4);
    Edit3->resize(40, 22);
    Edit3->hide();
    // The toolbar and everything on it report the mouse's moves (the zoom box hides) and the zoom
    // buttons their hovering (the zoom label darkens).
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);
    for (QWidget* child : Panel1->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    connect(Edit3, &QLineEdit::returnPressed, this, [this] { Edit3KeyPress(Qt::Key_Return); });
}

void MainWindow::buildPanes() {
    ScrollBox1 = new PicturePane(client_);
    ScrollBox2 = new PicturePane(client_);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox1->setCursor(AppPictures::get().handCursor());
    ScrollBox2->setCursor(AppPictures::get().handCursor());
    ScrollBox1->setAcceptsFiles(true);
    connect(ScrollBox1, &PicturePane::filesDropped, this, &MainWindow::filesDropped);
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) {
        const bool drawing = pane == ScrollBox2;
        pane->setToolTipDuration(2500);
        connect(pane, &PicturePane::pressed, this, [this, drawing](Qt::MouseButton b, QPoint g, QPoint) { panePressed(b, g, drawing); });
        connect(pane, &PicturePane::moved, this, [this, drawing](Qt::MouseButtons, QPoint g, QPoint) { paneMoved(g, drawing); });
        connect(pane, &PicturePane::released, this, [this, drawing](Qt::MouseButton, QPoint, QPoint) { paneReleased(drawing); });
        connect(pane, &PicturePane::doubleClicked, this, [this, drawing] { fullScreen(drawing); });
        connect(pane, &PicturePane::wheelTurned, this, &MainWindow::FormMouseWheel);
    }
    // The add-text window's text is dragged on the drawing, and previewed again on a new drawing.
    ScrollBox2->setMouseTracking(true);
    connect(ScrollBox2, &PicturePane::moved, this, [this](Qt::MouseButtons, QPoint g, QPoint) { textHovered(g); });
    connect(ScrollBox2, &PicturePane::pictureChanged, this, [this] {
        if (addTextVisible()) windows.Form9->drawingReplaced();
    });
    ResizeImage = new PaneDivider(client_);
    connect(ResizeImage, &PaneDivider::dragged, this, &MainWindow::dividerDragged);
    connect(ResizeImage, &PaneDivider::dropped, this, &MainWindow::dividerDropped);
    connect(ResizeImage, &PaneDivider::doubleClicked, this, [this] { SplitOffset = kSplitCentreMarker; });
    Panel2 = new StatusStrip(client_);
    Panel2->setSlice(AppPictures::get().progressSlice());
    connect(Panel2, &StatusStrip::runStarted, this, [this] { showMenuBar(true); });
    connect(Panel2, &StatusStrip::runEnded, this, [this] { showMenuBar(false); });
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
    FormResize();
}

void MainWindow::FormResize() {
    if (!client_) return;
    layout_ = computeLayout(client_->width(), client_->height(), SplitOffset);
    SplitOffset = layout_.SplitOffset;
    auto apply = [](QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, qMax(0, r.width), qMax(0, r.height)); };
    apply(ResizeImage, layout_.divider);
    apply(Panel1, layout_.toolbar);
    apply(Panel2, layout_.status);
    toolButtons_.value(QStringLiteral("Image15"))->place(layout_.zoomOutLeft, 6);
    toolButtons_.value(QStringLiteral("Image16"))->place(layout_.fitLeft, 6);
    toolButtons_.value(QStringLiteral("Image17"))->place(layout_.zoomInLeft, 6);
    Label3->move(layout_.zoomLabelLeft, 13);
    Edit3->move(layout_.zoomLabelLeft - 5 - Edit3->width(), 10);
    apply(ScrollBox2, layout_.rightPane);
    apply(ScrollBox1, layout_.leftPane);
    Panel2->Label2->move(layout_.progressLabelLeft, 2);
    CenterImages();
    Panel2->markResized();
}

void MainWindow::CenterImages() {
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) {
        const QSize s = pane->displaySize();
        pane->setPosition(QPoint(centredPosition(pane->width(), s.width()), centredPosition(pane->height(), s.height())));
        pane->update();
    }
}

void MainWindow::BoundImages() {
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) {
        const QPoint p = pane->position();
        const QSize s = pane->displaySize();
        pane->setPosition(QPoint(boundedPosition(p.x(), pane->width(), s.width()), boundedPosition(p.y(), pane->height(), s.height())));
    }
}

void MainWindow::dividerDragged(int x) {
    ScrollBox1->setGuideLine(x < 0 ? x + ScrollBox1->width() : -1);
    ScrollBox2->setGuideLine(x >= 0 ? x - 8 : -1);
}

void MainWindow::dividerDropped(int x) {
    ScrollBox1->setGuideLine(-1);
    ScrollBox2->setGuideLine(-1);
    SplitOffset = splitOffsetAfterDrag(SplitOffset, client_->width(), ResizeImage->x(), x);
    FormResize();
}

// ---- Viewer -------------------------------------------------------------------------------------

void MainWindow::setZoom(int zoom) {
    zoom_ = clampZoom(zoom);
    if (Busy) return;
    const QSize oldSource = ScrollBox1->displaySize();
    const QSize oldDrawing = ScrollBox2->displaySize();
    ScrollBox1->setZoom(zoom_);
    ScrollBox2->setZoom(zoom_);
    Label3->setText(QString::number(zoom_) + QStringLiteral(" %"));
    Label3->adjustSize();
    auto keepCentre = [](PicturePane* pane, QSize before) {
        const QSize after = pane->displaySize();
        const QPoint p = pane->position();
        pane->setPosition(QPoint(p.x() - (after.width() - before.width()) / 2, p.y() - (after.height() - before.height()) / 2));
    };
    keepCentre(ScrollBox1, oldSource);
    keepCentre(ScrollBox2, oldDrawing);
    BoundImages();
    ScrollBox1->update();
    ScrollBox2->update();
}

void MainWindow::showPictures(bool drawingIsSource, std::shared_ptr<const ViewPyramid> view) {
    // The reduced copies take a single pass over each picture, two workers sharing it.
    auto source = view && view->matches(SourceImage) ? std::move(view)
                                                      : std::make_shared<const ViewPyramid>(buildViewPyramid(SourceImage));
    auto drawing = drawingIsSource ? source : std::make_shared<const ViewPyramid>(buildViewPyramid(DrawingImage));
    ScrollBox1->setPicture(&SourceImage, std::move(source));
    ScrollBox2->setPicture(&DrawingImage, std::move(drawing));
    if (!Busy) {
        ScrollBox1->setZoom(zoom_);
        ScrollBox2->setZoom(zoom_);
    }
}

void MainWindow::setSource(Bitmap picture, std::shared_ptr<const ViewPyramid> view) {
    SourceImage = std::move(picture);
    DrawingImage = SourceImage;
    SourceWidth = DrawingWidth = SourceImage.width();
    SourceHeight = DrawingHeight = SourceImage.height();
    zoom_ = 100;
    Label3->setText(QStringLiteral("100 %"));
    showPictures(true, std::move(view));
}

void MainWindow::FormMouseWheel(int delta) { setZoom(wheelZoom(zoom_, delta)); }

void MainWindow::wheelEvent(QWheelEvent* event) {
    FormMouseWheel(event->angleDelta().y());
    event->accept();
}

// While a zoom button is held the panes show no shadow: continuous zoom repaints only the pictures.
void MainWindow::setHeldZoomLook(bool held) {
    ScrollBox1->setShadowShown(!held);
    ScrollBox2->setShadowShown(!held);
}

void MainWindow::zoomButtonDown(int direction, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::MiddleButton) return;
    AccelTimer.stop();
    ZoomDirection = direction;
    Timer3.start();
    setHeldZoomLook(true);
}

void MainWindow::zoomButtonUp(int direction, Qt::MouseButton button) {
    ZoomDirection = kZoomNone;
    ZoomTicks = 1;
    Timer3.stop();
    setHeldZoomLook(false);
    if (button == Qt::RightButton) setZoom(rightClickZoom(zoom_, direction));
    ScrollBox1->update();
    ScrollBox2->update();
}

void MainWindow::Timer3Timer() {
    if (Busy || ZoomDirection == kZoomNone) return;
    setZoom(heldZoom(zoom_, ZoomDirection, ZoomTicks));
    ++ZoomTicks;
}

void MainWindow::fitButtonDown() { AccelTimer.stop(); }

void MainWindow::fitButtonUp(Qt::MouseButton button) {
    if (button != Qt::RightButton) return;
    // The wider pane decides: the left one when the right one is narrower.
    const bool left = ScrollBox2->width() < ScrollBox1->width();
    const PicturePane* pane = left ? ScrollBox1 : ScrollBox2;
    setZoom(fitZoom(pane->width(), pane->height(), left ? SourceWidth : DrawingWidth, left ? SourceHeight : DrawingHeight));
    CenterImages();
}

void MainWindow::moveBothPictures(int dx, int dy) {
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) pane->setPosition(pane->position() + QPoint(dx, dy));
    BoundImages();
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
    if (button == Qt::RightButton && !Busy) File1->popup(global);
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
    if (flung) AccelTimer.start();
}

void MainWindow::AccelTimerTimer() {
    if (Dragging || DraggingText) return;
    if (inertiaEnds(PanVelocityX, PanVelocityY)) AccelTimer.stop();
    moveBothPictures(PanVelocityX, PanVelocityY);
    PanVelocityX = decayedVelocity(PanVelocityX);
    PanVelocityY = decayedVelocity(PanVelocityY);
}

void MainWindow::fullScreen(bool drawingPane) {
    if (Busy || !windows.Form7) return;
    if (drawingPane) {
        ShowDrawingHint = false;
        updateDrawingHint();
    }
    Dragging = false;
    DraggingText = false;
    const PicturePane* pane = drawingPane ? ScrollBox2 : ScrollBox1;
    const Bitmap* picture = pane->picture();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!picture || !screen) return;
    const QRect desktop = screen->geometry();
    const Rect place = fullScreenPlacement(pane->displaySize().width(), pane->displaySize().height(), desktop.width(), desktop.height());
    if (place.width <= 0 || place.height <= 0) return;
    const QImage shown = fullScreenPicture(*picture, place.width, place.height);
    FullScreenShown = true;
    windows.Form7->showPicture(shown, place, desktop);
}

// The input block runs from the view's closing, so the click that closed it cannot start a pan.
void MainWindow::fullScreenClosed() {
    Dragging = false;
    Timer2.start(300);
}

void MainWindow::Timer2Timer() {
    Timer2.stop();
    FullScreenShown = false;
    Dragging = false;
    DraggingText = false;
}

void MainWindow::Label3MouseDown() {
    QString shown = Label3->text();
    shown.chop(2);  // the " %"
    Edit3->setText(shown);
    Edit3->show();
    Edit3->setFocus();
    Edit3->selectAll();
}

void MainWindow::Edit3KeyPress(int key) {
    if (key == Qt::Key_Escape) {
        Edit3->hide();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Edit3->hide();
        if (const std::optional<int> zoom = typedZoom(Edit3->text())) setZoom(*zoom);
    }
}

void MainWindow::PaintBox3MouseMove(int x) {
    if (Edit3->isVisible() && (x < Edit3->x() - 20 || x > Edit3->x() + Edit3->width())) Edit3->hide();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // The filter sees events of widgets made before the toolbar itself.
    const bool onToolbar = widget && Panel1 && (widget == Panel1 || Panel1->isAncestorOf(widget));
    if (onToolbar && event->type() == QEvent::MouseMove)
        PaintBox3MouseMove(widget->mapTo(Panel1, static_cast<QMouseEvent*>(event)->position().toPoint()).x());
    if (watched == Label3 && event->type() == QEvent::MouseButtonPress) {
        Label3MouseDown();
        return true;
    }
    if (watched == Edit3 && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Edit3KeyPress(Qt::Key_Escape);
        return true;
    }
    const bool zoomButton = widget && (widget == toolButtons_.value(QStringLiteral("Image15")) ||
                                       widget == toolButtons_.value(QStringLiteral("Image16")) ||
                                       widget == toolButtons_.value(QStringLiteral("Image17")));
    if (zoomButton && event->type() == QEvent::Enter) Label3->setStyleSheet(kBlackLabel);
    if (zoomButton && event->type() == QEvent::Leave) Label3->setStyleSheet(kSilverLabel);
    return QMainWindow::eventFilter(watched, event);
}

// Closing during a rendering does not wait for it: the flag stops the worker at its next row, and
// the window goes at once (its destruction collects the worker).
void MainWindow::closeEvent(QCloseEvent* event) {
    CancelRequested.store(true);
    wallpaperStop_.store(true);
    QMainWindow::closeEvent(event);
    qApp->quit();
}

// ---- Small helpers ------------------------------------------------------------------------------

bool MainWindow::batchVisible() const { return windows.Form2 && windows.Form2->isVisible(); }
bool MainWindow::addTextVisible() const { return windows.Form9 && windows.Form9->isVisible(); }
bool MainWindow::parameterWindowVisible() const { return windows.Form4 && windows.Form4->isVisible(); }

void MainWindow::showError(const QString& message) { showMessage(message); }

QString MainWindow::text(const QString& key) const { return TextTable::of(language_).text(key); }

void MainWindow::setStatusText(const QString& status) {
    Panel2->Label1->setText(status);
}

}  // namespace gt
