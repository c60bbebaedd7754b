// SPDX-License-Identifier: GPL-3.0-or-later
#include "finishing/add_text_window.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHideEvent>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <cstdlib>

#include "imaging/arithmetic.h"
#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

namespace {

// The list as stored with the window; the language switch replaces it before the window shows.
const char* const kDesignPlacements[10] = {
    "position personnalisée", "en haut, à gauche", "en haut, au milieu", "en haut, à droite", "au milieu, à gauche",
    "au centre", "au milieu, à droite", "en bas, à gauche", "en bas, au milieu", "en bas, à droite"};

QColor qcolour(Colour c) { return QColor(c.r, c.g, c.b); }
Colour colourOf(const QColor& c) { return Colour{std::uint8_t(c.blue()), std::uint8_t(c.green()), std::uint8_t(c.red())}; }

// The position a number box holds when it is one the scroll bar takes, else -1.
int typedPosition(const QLineEdit* box, const QScrollBar* bar) {
    return acceptTypedPosition(box->text().toStdString(), -1, bar->maximum());
}

// The family's own name for the style of this weight and slant: the regular or bold weight nearest,
// the plainest name (no "Condensed" variant) among equals; empty when the family has none.
QString styleNamed(const QString& family, bool bold, bool italic) {
    const int wanted = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        // Oblique is a slant as italic is (the database's italic() says no to it).
        const bool slanted = QFontDatabase::font(family, style, 12).style() != QFont::StyleNormal;
        if (slanted != italic || QFontDatabase::bold(family, style) != bold) continue;
        const int distance = std::abs(QFontDatabase::weight(family, style) - wanted);
        if (best.isEmpty() || distance < bestDistance || (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

AddTextWindow::AddTextWindow(AddTextWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    useTiledPalette(this);
    useFixedSizeFrame(this);
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Ajouter du texte   "));
    setFixedSize(kClientWidth, kClientHeight);
    chooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, this);
        if (!ok) return std::nullopt;
        return font;
    };
    chooseColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    };

    Label1 = new QLabel(QStringLiteral("Texte :     "), this);
    Label1->setGeometry(12, 10, 300, 20);
    Edit1 = new QLineEdit(QString::fromStdString(settings.text), this);
    Edit1->setGeometry(12, 30, 446, 26);
    connect(Edit1, &QLineEdit::textChanged, this, [this] {
        if (!updating_) redrawText();
    });

    BitBtn1 = new QPushButton(QStringLiteral(" Police "), this);
    BitBtn1->setGeometry(12, 66, 96, 28);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { pickFont(); });
    BitBtn2 = new QPushButton(QStringLiteral(" Couleur "), this);
    BitBtn2->setGeometry(114, 66, 96, 28);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { pickColour(); });
    CheckBox1 = new QCheckBox(QStringLiteral("Ajouter une ombre au texte"), this);
    CheckBox1->setGeometry(220, 68, 240, 24);
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { shadowToggled(); });
    Label2 = new QLabel(this);
    Label2->setGeometry(12, 98, 446, 18);
    QFont small = Label2->font();
    small.setPixelSize(11);
    Label2->setFont(small);

    ComboBox1 = new QComboBox(this);
    for (const char* entry : kDesignPlacements) ComboBox1->addItem(QString::fromUtf8(entry));
    ComboBox1->setGeometry(12, 124, 228, 26);
    ComboBox1->setMaxVisibleItems(10);
    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { choosePlacement(i); });

    auto positionRow = [this](QScrollBar*& bar, QLineEdit*& box, const char* name, int y) {
        auto* label = new QLabel(QString::fromLatin1(name), this);
        label->setGeometry(12, y + 2, 16, 20);
        bar = new QScrollBar(Qt::Horizontal, this);
        bar->setGeometry(30, y + 2, 352, 20);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->installEventFilter(this);
        box = new QLineEdit(this);
        box->setGeometry(390, y, 68, 24);
        box->installEventFilter(this);
    };
    positionRow(ScrollBar1, Edit2, "x", 160);
    positionRow(ScrollBar2, Edit3, "y", 190);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int v) {
        if (!updating_) xScrolled(v);
    });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int v) {
        if (!updating_) yScrolled(v);
    });
    connect(Edit2, &QLineEdit::textEdited, this, [this] { xTyped(); });
    connect(Edit3, &QLineEdit::textEdited, this, [this] { yTyped(); });

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(286, 224, 82, 30);
    Button1->setDefault(true);  // Enter in the text box writes the text
    connect(Button1, &QPushButton::clicked, this, [this] { writeText(); });
    Button3 = new QPushButton(QStringLiteral("annuler"), this);
    Button3->setGeometry(376, 224, 82, 30);
    connect(Button3, &QPushButton::clicked, this, [this] { cancel(); });

    // Creation: Tahoma 15 in white, the bottom-right place, no preview yet.
    updating_ = true;
    ComboBox1->setCurrentIndex(settings.position);
    updating_ = false;
    showFont();
}

// ---- The preview ------------------------------------------------------------------------------

void AddTextWindow::setRanges() {
    const ScrollRanges r = scrollRanges(settings, host_.placementSizes(), glyphs_);
    updating_ = true;
    ScrollBar1->setRange(r.xMin, r.xMax);
    ScrollBar2->setRange(r.yMin, r.yMax);
    updating_ = false;
}

void AddTextWindow::setPositions(TextPosition p) {
    updating_ = true;
    ScrollBar1->setValue(p.ScrollBar1);
    ScrollBar2->setValue(p.ScrollBar2);
    Edit2->setText(QString::number(ScrollBar1->value()));
    Edit3->setText(QString::number(ScrollBar2->value()));
    updating_ = false;
    settings.x = ScrollBar1->value();
    settings.y = ScrollBar2->value();
}

void AddTextWindow::writePreview() {
    if (!textShown_) return;
    preview_ = PreviewTextOverlay(host_.drawingImage(), settings, position(), glyphs_);
    host_.showTextPreview(preview_);
    emit previewChanged();
}

void AddTextWindow::closePreview() {
    if (textShown_) {
        preview_ = TextOverlayPatch{};
        host_.showTextPreview(preview_);
    }
    textShown_ = false;
    host_.setClipboardShortcuts(true);
}

void AddTextWindow::SetPos() {
    setPositions(gt::SetPos(settings, host_.placementSizes(), position(), glyphs_));
}

void AddTextWindow::showSettings(const TextSettings& chosen) {
    settings = chosen;
    updating_ = true;
    Edit1->setText(QString::fromStdString(settings.text));
    CheckBox1->setChecked(settings.shadow);
    ComboBox1->setCurrentIndex(settings.position);
    updating_ = false;
    setRanges();
    setPositions({settings.x, settings.y});
    settings = chosen;
    showFont();
    writePreview();
}

void AddTextWindow::selectPlacement(int index) {
    if (ComboBox1->currentIndex() != index) ComboBox1->setCurrentIndex(index);
    settings.position = index;
}

void AddTextWindow::showFont() {
    const QString used = QtGlyphRenderer::resolveFamily(settings.fontFamily);
    const QString asked = QString::fromStdString(settings.fontFamily);
    if (QtGlyphRenderer::hasFamily(settings.fontFamily) || fontMissingText_.isEmpty())
        Label2->setText(QStringLiteral("%1, %2").arg(used).arg(settings.fontSize));
    else
        Label2->setText(fontMissingText_.arg(asked, used));
    QPixmap swatch(14, 14);
    swatch.fill(qcolour(settings.colour));
    QPainter(&swatch).drawRect(0, 0, 13, 13);
    BitBtn2->setIcon(QIcon(swatch));
}

// ---- Handlers ---------------------------------------------------------------------------------

void AddTextWindow::windowActivated() {
    if (!textShown_) {
        setRanges();
        textShown_ = true;
        Edit2->setText(QString::number(ScrollBar1->value()));
        Edit3->setText(QString::number(ScrollBar2->value()));
    }
    redrawText();
}

void AddTextWindow::redrawText() {
    settings.text = Edit1->text().toStdString();
    setRanges();
    SetPos();
    writePreview();
}

void AddTextWindow::pickFont() {
    const QString family = QtGlyphRenderer::resolveFamily(settings.fontFamily);
    QFont initial(family);
    initial.setPointSize(std::max(1, settings.fontSize));
    initial.setBold(settings.bold);
    initial.setItalic(settings.italic);
    // The dialog selects the style by its name: without one it takes the first of the family's list
    // that it cannot match ("Oblique" where the upright style is called "Book").
    const QString style = styleNamed(family, settings.bold, settings.italic);
    if (!style.isEmpty()) initial.setStyleName(style);
    initial.setUnderline(settings.underline);
    initial.setStrikeOut(settings.strikeOut);
    const std::optional<QFont> font = chooseFont(initial);
    if (!font) return;
    settings.fontFamily = font->family().toStdString();
    // Sizes are points at 96 dots per inch, as the letters are drawn.
    settings.fontSize = font->pointSize() > 0 ? font->pointSize() : std::max(1, mulDiv(font->pixelSize(), 72, 96));
    settings.bold = font->bold();
    settings.italic = font->italic();
    settings.underline = font->underline();
    settings.strikeOut = font->strikeOut();
    showFont();
    redrawText();
}

void AddTextWindow::pickColour() {
    const std::optional<QColor> colour = chooseColour(qcolour(settings.colour));
    if (!colour) return;
    settings.colour = colourOf(*colour);
    showFont();
    redrawText();
}

void AddTextWindow::shadowToggled() {
    settings.shadow = CheckBox1->isChecked();
    redrawText();
}

void AddTextWindow::choosePlacement(int index) {
    if (index < kPlaceCustom || index > kPlaceBottomRight) return;
    selectPlacement(index);
    redrawText();
}

void AddTextWindow::xScrolled(int position) {
    updating_ = true;
    Edit2->setText(QString::number(position));
    updating_ = false;
    settings.x = position;
    redrawText();
}

void AddTextWindow::yScrolled(int position) {
    updating_ = true;
    Edit3->setText(QString::number(position));
    updating_ = false;
    settings.y = position;
    redrawText();
}

void AddTextWindow::xTyped() {
    const int typed = typedPosition(Edit2, ScrollBar1);
    if (typed < 0) {
        Edit2->setText(QString::number(ScrollBar1->value()));
        return;
    }
    if (typed == ScrollBar1->value()) return;
    ScrollBar1->setValue(typed);  // which redraws
}

void AddTextWindow::yTyped() {
    const int typed = typedPosition(Edit3, ScrollBar2);
    if (typed < 0) {
        Edit3->setText(QString::number(ScrollBar2->value()));
        return;
    }
    if (typed == ScrollBar2->value()) return;
    ScrollBar2->setValue(typed);
}

void AddTextWindow::writeText() {
    settings.text = Edit1->text().toStdString();
    const TextPosition at = position();
    // The preview goes first, so that the drawing shown again after the writing has no preview
    // to lay over it.
    preview_ = TextOverlayPatch{};
    if (textShown_) host_.showTextPreview(preview_);
    textShown_ = false;
    host_.writeOnDrawing([this, at](Bitmap& drawing) { WriteTextAt(drawing, settings, at, glyphs_); });
    close();
}

void AddTextWindow::cancel() { close(); }

// ---- What the main window asks ------------------------------------------------------------------

void AddTextWindow::drawingReplaced() {
    if (!isVisible() || !textShown_) return;
    redrawText();
}

bool AddTextWindow::textBoxContains(int x, int y) {
    if (!textShown_) return false;
    const TextExtent e = glyphs_.measure(fontOf(settings), settings.text);
    const int left = ScrollBar1->value() - 1, top = ScrollBar2->value() - 5;
    return x >= left && x < left + e.width && y >= top && y < top + e.height;
}

void AddTextWindow::beginTextDrag() { selectPlacement(kPlaceCustom); }

void AddTextWindow::dragTextTo(int x, int y) {
    if (!textShown_) return;
    selectPlacement(kPlaceCustom);
    const TextExtent e = glyphs_.measure(fontOf(settings), settings.text);
    const ScrollRanges r = scrollRanges(settings, host_.placementSizes(), glyphs_);
    setPositions(clampToRanges(TextPosition{x - e.width / 2, y - e.height / 2}, r));
    writePreview();
}

// ---- Events -----------------------------------------------------------------------------------

void AddTextWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

void AddTextWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) host_.setClipboardShortcuts(false);
    windowActivated();
    Edit1->setFocus();
}

void AddTextWindow::hideEvent(QHideEvent* event) {
    // A window the desktop hides with its owner (minimised) keeps its preview.
    if (!event->spontaneous()) closePreview();
    QDialog::hideEvent(event);
}

bool AddTextWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && isVisible() && textShown_) redrawText();
    return QDialog::event(event);
}

bool AddTextWindow::eventFilter(QObject* watched, QEvent* event) {
    // Entering a scroll bar or a number box places the text by hand.
    const bool positionControl = watched == ScrollBar1 || watched == ScrollBar2 || watched == Edit2 || watched == Edit3;
    if (positionControl && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
        selectPlacement(kPlaceCustom);
    return QDialog::eventFilter(watched, event);
}

// ---- Language ---------------------------------------------------------------------------------

void AddTextWindow::applyTexts(const TextTable& t, Language) {
    auto set = [&t](const QString& key, auto&& apply) {
        if (const auto text = t.find(key)) apply(*text);
    };
    set(QStringLiteral("Form9.caption"), [this](const QString& s) { setWindowTitle(s); });
    set(QStringLiteral("Form9.Label1"), [this](const QString& s) { Label1->setText(s); });
    set(QStringLiteral("Form9.BitBtn1"), [this](const QString& s) { BitBtn1->setText(s); });
    set(QStringLiteral("Form9.BitBtn2"), [this](const QString& s) { BitBtn2->setText(s); });
    set(QStringLiteral("Form9.CheckBox1"), [this](const QString& s) { CheckBox1->setText(s); });
    set(QStringLiteral("Form9.Button3"), [this](const QString& s) { Button3->setText(s); });
    set(QStringLiteral("Form9.FontMissing"), [this](const QString& s) { fontMissingText_ = s; });
    for (int i = 0; i < ComboBox1->count(); ++i)
        set(entryKey(QStringLiteral("Form9.ComboBox1"), i), [this, i](const QString& s) { ComboBox1->setItemText(i, s); });
    // The switch also selects the bottom-right place.
    selectPlacement(kPlaceBottomRight);
    showFont();
    if (isVisible() && textShown_) redrawText();
}

}  // namespace gt
