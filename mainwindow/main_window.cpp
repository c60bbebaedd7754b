#include "mainwindow/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>
#include <exception>

#include "batch/batch_window.h"
#include "finishing/add_text_window.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/full_screen_window.h"
#include "ui/app_pictures.h"
#include "ui/language.h"
#include "ui/qt_bitmap.h"

namespace gt {

MainWindow::MainWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Graphitello - Version 1.85"));
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
    showMessage = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
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

    // Escape anywhere in the window cancels a running rendering.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { FormKeyPress(Qt::Key_Escape); });

    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

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
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
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
        {"Image15", "zoom_out", 0, [this] { setZoom(zoom_ > 100 ? zoom_ - 100 : zoom_ >= 15 ? zoom_ - 10 : zoom_); }},
        {"Image16", "fit", 0, [this] { setZoom(100); CenterImages(); }},
        {"Image17", "zoom_in", 0, [this] { if (zoom_ <= 900) setZoom(zoom_ + 100); }},
    };
    for (const Button& b : buttons) {
        auto* button = new PictureButton(AppPictures::get().toolButton(QString::fromLatin1(b.picture)), Panel1);
        button->setObjectName(QString::fromLatin1(b.name));
        button->place(b.left, 6);
        button->setToolTipDuration(2500);
        connect(button, &PictureButton::clicked, this, b.action);
        toolButtons_.insert(QString::fromLatin1(b.name), button);
    }
    Label3 = new QLabel(QStringLiteral("100 %"), Panel1);
    QFont font = Label3->font();
    font.setPixelSize(12);
    Label3->setFont(font);
    Label3->setStyleSheet(QStringLiteral("color: rgb(160, 160, 160);"));
    Label3->resize(46, 20);
    Edit3 = new QLineEdit(QStringLiteral("100"), Panel1);
    Edit3->setMaxLength(4);
    Edit3->resize(40, 22);
    Edit3->hide();
    Label3->installEventFilter(this);
    Edit3->installEventFilter(this);
    connect(Edit3, &QLineEdit::returnPressed, this, [this] {
        Edit3->hide();
        bool ok = false;
        const int z = Edit3->text().toInt(&ok);
        if (ok && z >= kMinimumZoom && z <= kMaximumZoom) setZoom(z);
    });
}

void MainWindow::buildPanes() {
    ScrollBox1 = new PicturePane(client_);
    ScrollBox2 = new PicturePane(client_);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox1->setCursor(AppPictures::get().handCursor());
    ScrollBox2->setCursor(AppPictures::get().handCursor());
    ScrollBox1->setAcceptsFiles(true);
    ScrollBox2->setToolTipDuration(2500);
    connect(ScrollBox1, &PicturePane::filesDropped, this, &MainWindow::filesDropped);
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) {
        const bool drawing = pane == ScrollBox2;
        connect(pane, &PicturePane::pressed, this, [this, drawing](Qt::MouseButton b, QPoint g) { panePressed(b, g, drawing); });
        connect(pane, &PicturePane::moved, this, &MainWindow::paneMoved);
        connect(pane, &PicturePane::released, this, [this] { paneReleased(); });
        connect(pane, &PicturePane::doubleClicked, this, [this, drawing] { fullScreen(drawing); });
        connect(pane, &PicturePane::wheelTurned, this, [this](int delta) {
            if (delta > 0) setZoom(zoom_ - 5);
            else if (delta < 0) setZoom(zoom_ + 5);
        });
    }
    // The add-text window's text is dragged on the drawing, and previewed again on a new drawing.
    ScrollBox2->setMouseTracking(true);
    connect(ScrollBox2, &PicturePane::moved, this, &MainWindow::textHovered);
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
    const QSize newSource(zoomed(SourceWidth, zoom_), zoomed(SourceHeight, zoom_));
    const QSize newDrawing(zoomed(DrawingWidth, zoom_), zoomed(DrawingHeight, zoom_));
    ScrollBox1->setDisplaySize(newSource);
    ScrollBox2->setDisplaySize(newDrawing);
    Label3->setText(QString::number(zoom_) + QStringLiteral(" %"));
    Label3->adjustSize();
    auto keepCentre = [](PicturePane* pane, QSize before, QSize after) {
        const QPoint p = pane->position();
        pane->setPosition(QPoint(p.x() - (after.width() - before.width()) / 2, p.y() - (after.height() - before.height()) / 2));
    };
    keepCentre(ScrollBox1, oldSource, newSource);
    keepCentre(ScrollBox2, oldDrawing, newDrawing);
    BoundImages();
    ScrollBox1->update();
    ScrollBox2->update();
}

void MainWindow::showPictures() {
    ScrollBox1->setPicture(toQImage(SourceImage));
    ScrollBox2->setPicture(toQImage(DrawingImage));
    ScrollBox1->setDisplaySize(QSize(zoomed(SourceWidth, zoom_), zoomed(SourceHeight, zoom_)));
    ScrollBox2->setDisplaySize(QSize(zoomed(DrawingWidth, zoom_), zoomed(DrawingHeight, zoom_)));
}

void MainWindow::setSource(Bitmap picture) {
    SourceImage = std::move(picture);
    DrawingImage = SourceImage;
    SourceWidth = DrawingWidth = SourceImage.width();
    SourceHeight = DrawingHeight = SourceImage.height();
    zoom_ = 100;
    Label3->setText(QStringLiteral("100 %"));
    showPictures();
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

void MainWindow::paneMoved(QPoint global) {
    if (DraggingText) {
        textDragged(global);
        return;
    }
    if (!Dragging) return;
    const int dx = global.x() - LastCursorX;
    const int dy = global.y() - LastCursorY;
    for (PicturePane* pane : {ScrollBox1, ScrollBox2}) pane->setPosition(pane->position() + QPoint(dx, dy));
    PanVelocityX = 2 * dx;
    PanVelocityY = 2 * dy;
    BoundImages();
    LastCursorX = global.x();
    LastCursorY = global.y();
}

void MainWindow::paneReleased() {
    Dragging = false;
    DraggingText = false;
}

void MainWindow::fullScreen(bool drawingPane) {
    if (Busy || !windows.Form7) return;
    if (drawingPane) {
        ShowDrawingHint = false;
        updateDrawingHint();
    }
    Dragging = false;
    DraggingText = false;
    FullScreenShown = true;
    windows.Form7->showPicture(drawingPane ? ScrollBox2->picture() : ScrollBox1->picture());
    // The click that closed the view must not start a pan.
    QTimer::singleShot(300, this, [this] {
        FullScreenShown = false;
        Dragging = false;
        DraggingText = false;
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3 && event->type() == QEvent::MouseButtonPress) {
        QString shown = Label3->text();
        shown.chop(2);
        Edit3->setText(shown);
        Edit3->show();
        Edit3->setFocus();
        Edit3->selectAll();
        return true;
    }
    if (watched == Edit3 && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Edit3->hide();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CancelRequested.store(true);
    job_->wait();
    sourceJob_->wait();
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
