// SPDX-License-Identifier: GPL-3.0-or-later
#include "finishing/frames_window.h"

#include <QColorDialog>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <exception>

#include "pipeline/frames.h"
#include "ui/app_pictures.h"
#include "ui/qt_bitmap.h"

namespace gt {

namespace {

constexpr int kMaximumMargin = 1000;

QColor qcolour(Colour c) { return QColor(c.r, c.g, c.b); }
Colour colourOf(const QColor& c) { return Colour{std::uint8_t(c.blue()), std::uint8_t(c.green()), std::uint8_t(c.red())}; }

}  // namespace

// ---- Plain rules ------------------------------------------------------------------------------

FrameControlsShown frameControlsShown(int style) {
    FrameControlsShown shown;
    shown.fillColour = true;
    shown.lineColour = style == kFrameLined;
    shown.UpDown2 = style == kFrameRealistic;
    shown.UpDown3 = style == kFrameColoured;
    shown.tint = style == kFrameColoured;
    return shown;
}

QString frameEntryName(int style, int number, Language language) {
    const QString entry = TextTable::of(language).text(entryKey(QStringLiteral("Form5.ComboBox1"), style));
    // The English entries end without a blank: the number is set apart all the same.
    return entry + (language == Language::English ? QStringLiteral(" ") : QString()) + QString::number(number);
}

int typedMargin(const QString& typed, int current) {
    const std::string digits = typed.toStdString();
    if (digits.empty() || !IsNumber(digits)) return current;
    const int value = typed.toInt();  // at most four digits
    return value <= kMaximumMargin ? value : current;
}

// ---- The colour swatch ------------------------------------------------------------------------

ColourSwatch::ColourSwatch(QWidget* parent) : QWidget(parent) { setCursor(Qt::PointingHandCursor); }

void ColourSwatch::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

// ---- The window -------------------------------------------------------------------------------

FramesWindow::FramesWindow(FramesWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    useTiledPalette(this);
    useFixedSizeFrame(this);
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Paramètres de cadre"));
    setFixedSize(kClientWidth, kClientHeight);
    chooseColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    };

    Label1 = new QLabel(QStringLiteral("Style de cadre"), this);
    Label1->setGeometry(12, 10, 190, 20);
    ComboBox1 = new QComboBox(this);
    for (const char* entry : {"Cadre simple ", "Cadre avec liseré ", "Cadre réaliste ", "Cadre coloré "})
        ComboBox1->addItem(QString::fromUtf8(entry));
    ComboBox1->setGeometry(12, 30, 164, 26);
    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { chooseFrameStyle(i); });
    // The two picture numbers share one place: only the selected style's is shown.
    UpDown2 = new UpDownControl(this);
    UpDown2->setRange(1, 7);
    UpDown2->setPosition(settings.realisticNumber);
    UpDown3 = new UpDownControl(this);
    UpDown3->setRange(1, 5);
    UpDown3->setPosition(settings.colouredNumber);
    for (UpDownControl* u : {UpDown2, UpDown3}) u->setGeometry(180, 32, 34, 21);
    connect(UpDown2, &UpDownControl::clicked, this, [this](int n) { realisticFrameStepped(n); });
    connect(UpDown3, &UpDownControl::clicked, this, [this](int n) { colouredFrameStepped(n); });

    Label2 = new QLabel(QStringLiteral("Marge"), this);
    Label2->setGeometry(12, 66, 190, 20);
    Edit1 = new QLineEdit(QString::number(settings.margin), this);
    Edit1->setMaxLength(4);
    Edit1->setGeometry(12, 86, 56, 24);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textEdited, this, [this] { marginTyped(); });
    connect(Edit1, &QLineEdit::editingFinished, this, [this] { Edit1->setText(QString::number(settings.margin)); });
    UpDown1 = new UpDownControl(this);
    UpDown1->setRange(0, kMaximumMargin);
    UpDown1->setPosition(settings.margin);
    UpDown1->setGeometry(72, 88, 34, 21);
    connect(UpDown1, &UpDownControl::clicked, this, [this](int n) { marginStepped(n); });

    Label3 = new QLabel(QStringLiteral("Couleur"), this);
    Label3->setGeometry(12, 122, 120, 20);
    Shape1 = new ColourSwatch(this);
    Shape1->setGeometry(136, 122, 40, 20);
    Shape1->setColour(qcolour(settings.FillColour));
    connect(Shape1, &ColourSwatch::clicked, this, [this] { chooseFillColour(); });
    Label4 = new QLabel(QStringLiteral("Liseré"), this);
    Label4->setGeometry(12, 148, 120, 20);
    Shape2 = new ColourSwatch(this);
    Shape2->setGeometry(136, 148, 40, 20);
    Shape2->setColour(qcolour(settings.LineColour));
    connect(Shape2, &ColourSwatch::clicked, this, [this] { chooseLineColour(); });
    // Each caption names its control for assistive technology.
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(Edit1);
    Label3->setBuddy(Shape1);
    Label4->setBuddy(Shape2);

    // The tint of the coloured frame: a red, a green and a blue marker beside their sliders.
    const QColor markers[3] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const int y = 178 + i * 26;
        tintMarkers[i] = new QLabel(this);
        tintMarkers[i]->setGeometry(12, y + 5, 12, 12);
        tintMarkers[i]->setStyleSheet(QStringLiteral("background: %1; border: 1px solid black;").arg(markers[i].name()));
        tintSliders[i] = new QSlider(Qt::Horizontal, this);
        tintSliders[i]->setRange(-255, 255);
        tintSliders[i]->setValue(0);
        tintSliders[i]->setPageStep(16);
        tintSliders[i]->setToolTip(QStringLiteral("0"));
        tintSliders[i]->setGeometry(30, y, 180, 22);
        connect(tintSliders[i], &QSlider::valueChanged, this, [this, i](int v) { tintChanged(i, v); });
    }

    Image1 = new QLabel(this);
    Image1->setGeometry(228, 12, 200, 200);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(348, 226, 80, 30);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { confirm(); });

    previewTimer.setSingleShot(true);
    connect(&previewTimer, &QTimer::timeout, this, [this] { previewTick(); });

    // Creation: the realistic frame, the preview white inside its two outlines.
    ComboBox1->setCurrentIndex(settings.style);
    Bitmap blank;
    ClearFramePreview(blank);
    showPreview(blank);
    applyVisibility();
}

void FramesWindow::restartPreviewTimer(int interval) { previewTimer.start(interval); }

void FramesWindow::applyVisibility() {
    const FrameControlsShown shown = frameControlsShown(settings.style);
    UpDown2->setVisible(shown.UpDown2);
    UpDown3->setVisible(shown.UpDown3);
    Shape2->setVisible(shown.lineColour);
    Label4->setVisible(shown.lineColour);
    Shape1->setVisible(shown.fillColour);
    Label3->setVisible(shown.fillColour);
    for (int i = 0; i < 3; ++i) {
        tintMarkers[i]->setVisible(shown.tint);
        tintSliders[i]->setVisible(shown.tint);
    }
}

void FramesWindow::showPreview(const Bitmap& picture) {
    preview_ = toQImage(picture);
    Image1->setPixmap(QPixmap::fromImage(preview_));
}

// ---- Handlers ---------------------------------------------------------------------------------

void FramesWindow::chooseFrameStyle(int index) {
    if (index < kFrameSimple || index > kFrameColoured) return;
    settings.style = index;
    if (ComboBox1->currentIndex() != index) ComboBox1->setCurrentIndex(index);
    applyVisibility();
    restartPreviewTimer(kWaitAfterChoice);
}

void FramesWindow::marginTyped() {
    settings.margin = typedMargin(Edit1->text(), settings.margin);
    UpDown1->setPosition(settings.margin);
    restartPreviewTimer(kWaitAfterTyping);
}

void FramesWindow::marginEntered() {
    Edit1->setText(QString::number(settings.margin));
    close();
}

void FramesWindow::marginStepped(int position) {
    settings.margin = position;
    UpDown1->setPosition(position);
    Edit1->setText(QString::number(position));
    restartPreviewTimer(kWaitAfterArrows);
}

void FramesWindow::realisticFrameStepped(int position) {
    settings.realisticNumber = position;
    UpDown2->setPosition(position);
    restartPreviewTimer(kWaitAfterArrows);
    if (settings.style == kFrameRealistic) {
        ComboBox1->setItemText(kFrameRealistic, frameEntryName(kFrameRealistic, position, language_));
        ComboBox1->setCurrentIndex(kFrameRealistic);
    }
}

void FramesWindow::colouredFrameStepped(int position) {
    settings.colouredNumber = position;
    UpDown3->setPosition(position);
    restartPreviewTimer(kWaitAfterArrows);
    if (settings.style == kFrameColoured) {
        ComboBox1->setItemText(kFrameColoured, frameEntryName(kFrameColoured, position, language_));
        ComboBox1->setCurrentIndex(kFrameColoured);
    }
}

void FramesWindow::chooseFillColour() {
    if (const auto chosen = chooseColour(qcolour(settings.FillColour))) settings.FillColour = colourOf(*chosen);
    Shape1->setColour(qcolour(settings.FillColour));
    restartPreviewTimer(kWaitAfterChoice);
}

void FramesWindow::chooseLineColour() {
    if (const auto chosen = chooseColour(qcolour(settings.LineColour))) settings.LineColour = colourOf(*chosen);
    Shape2->setColour(qcolour(settings.LineColour));
    restartPreviewTimer(kWaitAfterChoice);
}

void FramesWindow::tintChanged(int which, int position) {
    int* shift[3] = {&settings.tintRed, &settings.tintGreen, &settings.tintBlue};
    *shift[which] = position;
    // The slider's hint says its position, shown at once where the mouse is.
    const QString hint = QString::number(position);
    tintSliders[which]->setToolTip(hint);
    if (tintSliders[which]->isSliderDown()) QToolTip::showText(QCursor::pos(), hint, tintSliders[which]);
    restartPreviewTimer(kWaitAfterChoice);
}

void FramesWindow::showSettings(const FrameSettings& chosen) {
    settings = chosen;
    UpDown1->setPosition(settings.margin);
    Edit1->setText(QString::number(settings.margin));
    UpDown2->setPosition(settings.realisticNumber);
    UpDown3->setPosition(settings.colouredNumber);
    // The chosen picture's number shows in its entry, as after the arrows.
    if (settings.style == kFrameRealistic)
        ComboBox1->setItemText(kFrameRealistic, frameEntryName(kFrameRealistic, settings.realisticNumber, language_));
    if (settings.style == kFrameColoured)
        ComboBox1->setItemText(kFrameColoured, frameEntryName(kFrameColoured, settings.colouredNumber, language_));
    ComboBox1->setCurrentIndex(settings.style);
    Shape1->setColour(qcolour(settings.FillColour));
    Shape2->setColour(qcolour(settings.LineColour));
    const int shifts[3] = {settings.tintRed, settings.tintGreen, settings.tintBlue};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(tintSliders[i]);
        tintSliders[i]->setValue(shifts[i]);
        tintSliders[i]->setToolTip(QString::number(shifts[i]));
    }
    applyVisibility();
    if (isVisible()) restartPreviewTimer(kWaitAfterChoice);
}

void FramesWindow::confirm() { close(); }

void FramesWindow::previewTick() {
    previewTimer.stop();
    Bitmap picture;
    try {
        DrawFramePreview(picture, host_.sourceImage(), settings, host_.framePictures());
    } catch (const std::exception&) {
        // A frame picture that is missing leaves the preview as blank as at creation; the
        // rendering says what is wrong.
        ClearFramePreview(picture);
    }
    showPreview(picture);
    emit previewDrawn();
}

void FramesWindow::windowActivated() {
    applyVisibility();
    restartPreviewTimer(kWaitAfterChoice);
}

// ---- Events -----------------------------------------------------------------------------------

void FramesWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

void FramesWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowActivated();
}

void FramesWindow::hideEvent(QHideEvent* event) {
    previewTimer.stop();
    QDialog::hideEvent(event);
}

bool FramesWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && isVisible()) windowActivated();
    return QDialog::event(event);
}

bool FramesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            marginEntered();
            return true;  // swallowed
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Language ---------------------------------------------------------------------------------

void FramesWindow::applyTexts(const TextTable& t, Language language) {
    language_ = language;
    auto set = [&t](const QString& key, auto&& apply) {
        if (const auto text = t.find(key)) apply(*text);
    };
    set(QStringLiteral("Form5.caption"), [this](const QString& s) { setWindowTitle(s); });
    set(QStringLiteral("Form5.Label1"), [this](const QString& s) { Label1->setText(s); });
    set(QStringLiteral("Form5.Label2"), [this](const QString& s) { Label2->setText(s); });
    set(QStringLiteral("Form5.Label3"), [this](const QString& s) { Label3->setText(s); });
    set(QStringLiteral("Form5.Label4"), [this](const QString& s) { Label4->setText(s); });
    for (int i = 0; i < ComboBox1->count(); ++i)
        set(entryKey(QStringLiteral("Form5.ComboBox1"), i), [this, i](const QString& s) { ComboBox1->setItemText(i, s); });
    // The switch also selects the realistic frame.
    ComboBox1->setCurrentIndex(kFrameRealistic);
    settings.style = kFrameRealistic;
    applyVisibility();
}

}  // namespace gt
