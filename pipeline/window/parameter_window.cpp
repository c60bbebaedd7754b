// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/window/parameter_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "imaging/context.h"
#include "pipeline/parameter_file.h"
#include "pipeline/style_gallery.h"
#include "ui/app_pictures.h"
#include "ui/file_names.h"
#include "pipeline/window/style_gallery_window.h"
#include "ui/qt_bitmap.h"

namespace gt {

namespace {

// The list as stored with the window; the language switch replaces it before the window shows.
const char* const kDesignStyleItems[kStyleCount] = {
    "Dessin au crayon", "Dessin au crayon 2 n&b", "Dessin au crayon 2 couleur", "Dessin à l'encre", "Peinture - type 1",
    "Peinture - type 2", "Peinture - type 3", "Peinture - type 4", "Pas de filtre"};

constexpr const char* kWebSite = "https://graphitello.org";

QString nativePath(const QString& path) { return QString::fromLocal8Bit(QFile::encodeName(path)); }

// A thumbnail's picture until its preview comes: the gallery's grey.
QPixmap presetPlaceholder(int size) {
    QPixmap blank(size, size);
    blank.fill(QColor(0xd8, 0xd8, 0xd8));
    return blank;
}

bool sameList(const std::vector<PresetEntry>& a, const std::vector<PresetEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].path != b[i].path) return false;
    return true;
}

}  // namespace


// ---- The window -------------------------------------------------------------------------------

ParameterWindow::ParameterWindow(ParameterWindowHost& host, const Resources& resources, QWidget* parent)
    : TiledWidget(parent, Qt::Tool), host_(host), resources_(resources) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Paramètres de dessin"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    menu = new QMenuBar(this);
    Loadparameters1 = menu->addAction(QStringLiteral("Charger les paramètres"));
    Saveparameters1 = menu->addAction(QStringLiteral("Enregistrer les paramètres"));
    Resetparameters1 = menu->addAction(QStringLiteral("Paramètres par défaut"));
    connect(Loadparameters1, &QAction::triggered, this, [this] { openParameters(); });
    connect(Saveparameters1, &QAction::triggered, this, [this] { saveParametersAs(); });
    connect(Resetparameters1, &QAction::triggered, this, [this] { restoreDefaults(); });
    // Three entries share a narrow bar: tighter items keep them all in view in both languages.
    menu->setStyleSheet(QStringLiteral("QMenuBar::item { padding: 2px 4px; }"));
    QFont menuFont = menu->font();
    menuFont.setPixelSize(11);
    menu->setFont(menuFont);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setMenuBar(menu);
    frame->addStretch();
    const int top = menu->sizeHint().height();
    setFixedSize(kClientWidth, kClientHeight + top);

    auto at = [top](QWidget* w, int x, int y, int width, int height) { w->setGeometry(x, top + y, width, height); };

    Label10 = new QLabel(QStringLiteral("Style de dessin"), this);
    at(Label10, 14, 14, 120, 20);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setPlaceholderText(QStringLiteral("Choisissez..."));
    ComboBox1->setMaxVisibleItems(12);
    for (const char* item : kDesignStyleItems) ComboBox1->addItem(QString::fromUtf8(item));
    ComboBox1->setCurrentIndex(-1);
    at(ComboBox1, 140, 10, 305, 26);
    connect(ComboBox1, &QComboBox::activated, this, [this](int i) { chooseStyle(i); });

    // The sliders in table-slot order, one row each.
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const int y = 50 + slot * 32;
        captionLabels[slot] = new ClickableLabel(this);
        at(captionLabels[slot], 14, y, 176, 22);
        sliders[slot] = new QSlider(Qt::Horizontal, this);
        captionLabels[slot]->setBuddy(sliders[slot]);
        sliders[slot]->setTickPosition(QSlider::TicksBelow);
        const SliderRange range = sliderRange(-1, slot);
        sliders[slot]->setRange(range.minimum, range.maximum);
        sliders[slot]->setTickInterval(range.tick);
        at(sliders[slot], 192, y - 2, 214, 28);
        valueLabels[slot] = new QLabel(QStringLiteral("0"), this);
        at(valueLabels[slot], 412, y, 40, 22);
        connect(sliders[slot], &QSlider::valueChanged, this, [this, slot](int v) {
            if (!showing_) sliderMoved(slot, v);
        });
        connect(sliders[slot], &QSlider::sliderReleased, this, [this, slot] { sliderReleased(slot); });
    }

    // The options: a check box, its caption as a separate label that toggles it.
    auto option = [&](QCheckBox*& box, ClickableLabel*& label, const char* caption, int y, bool checked) {
        box = new QCheckBox(this);
        box->setChecked(checked);
        at(box, 14, y, 20, 22);
        label = new ClickableLabel(QString::fromUtf8(caption), this);
        at(label, 36, y, 162, 22);
        connect(label, &ClickableLabel::clicked, box, &QCheckBox::click);
        label->setBuddy(box);  // the box has no text of its own: its caption names it
    };
    option(CheckBox2, Label11, "Adoucir les traits       ", 218, true);
    option(CheckBox3, Label12, "Texture 1      ", 248, true);
    option(CheckBox1, Label13, "Ajouter un cadre       ", 308, true);
    option(CheckBox4, Label14, "Ajouter du texte       ", 338, false);
    label12Table_ = Label12->text();
    // Nothing stands beside the softening caption: it has the room up to the preview.
    Label11->resize(204, Label11->height());
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { smoothLinesToggled(); });
    connect(CheckBox3, &QCheckBox::clicked, this, [this] { textureToggled(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this](bool on) { logic_.controls.CheckBox1 = on; });
    connect(CheckBox4, &QCheckBox::clicked, this, [this](bool on) { logic_.controls.CheckBox4 = on; });

    UpDown1 = new UpDownControl(this);
    UpDown1->setRange(0, kPaperTextureCount - 1);
    at(UpDown1, 200, 248, 34, 21);
    connect(UpDown1, &UpDownControl::clicked, this, [this](int n) { chooseTexture(n); });

    ComboBox2 = new QComboBox(this);
    ComboBox2->setPlaceholderText(QStringLiteral("Force..."));
    for (const char* item : {"Texture légère ", "Texture normale ", "Texture accentuée "}) ComboBox2->addItem(QString::fromUtf8(item));
    at(ComboBox2, 36, 276, 198, 24);
    connect(ComboBox2, &QComboBox::activated, this, [this](int i) { chooseTextureStrength(i); });

    Button2 = new QPushButton(QStringLiteral("..."), this);
    at(Button2, 200, 307, 34, 24);
    connect(Button2, &QPushButton::clicked, this, [this] { chooseFrame(); });
    Button3 = new QPushButton(QStringLiteral("..."), this);
    at(Button3, 200, 337, 34, 24);
    connect(Button3, &QPushButton::clicked, this, [this] { chooseText(); });

    Image2 = new PreviewImage(kPreviewSize, this);
    at(Image2, 246, 214, kPreviewSize, kPreviewSize);
    connect(Image2, &PreviewImage::pressed, this, [this](int x, int y) { previewPressed(x, y); });
    connect(Image2, &PreviewImage::moved, this, [this](int x, int y) { previewMoved(x, y); });
    connect(Image2, &PreviewImage::released, this, [this] { previewReleased(); });

    Button1 = new QPushButton(QStringLiteral("Sketch"), this);
    at(Button1, 14, 376, 90, 30);
    connect(Button1, &QPushButton::clicked, this, [this] { startDrawing(); });
    Image1 = new PictureButton(AppPictures::get().sketchButton(Language::French), this);
    Image3 = new PictureButton(AppPictures::get().sketchButton(Language::Chinese), this);
    for (PictureButton* b : {Image1, Image3}) {
        const QSize size = b->size().boundedTo(QSize(130, 44));
        b->setScaledContents(true);
        b->resize(size);
        b->place(112, top + 370);
        connect(b, &PictureButton::clicked, this, [this] { startDrawing(); });
    }
    Image3->hide();

    Label3 = new ClickableLabel(QStringLiteral("graphitello.org"), this);
    Label3->setCursor(AppPictures::get().handCursor());
    Label3->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160); text-decoration: underline;"));
    at(Label3, 14, 446, 200, 20);
    // Under the preview: the same crop in all nine styles, in a window of its own.
    showStylesButton = new QPushButton(QStringLiteral("Tous les styles…"), this);
    showStylesButton->setObjectName(QStringLiteral("StylesButton"));
    at(showStylesButton, 246, 420, kPreviewSize, 24);
    connect(showStylesButton, &QPushButton::clicked, this, [this] { showStyleGallery(); });
    connect(Label3, &ClickableLabel::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSite)));
        close();
    });
    // Beside it, under "Sketch": the chosen style's sliders back to their defaults.
    resetButton = new QPushButton(QStringLiteral("Réinitialiser ce style"), this);
    resetButton->setObjectName(QStringLiteral("ResetButton"));
    at(resetButton, 14, 420, 228, 24);
    connect(resetButton, &QPushButton::clicked, this, [this] { resetStyle(); });

    // The presets, under everything else: a title with the save, rename and delete buttons, then
    // the thumbnails in a row that scrolls sideways.
    auto* presetHeader = new QWidget(this);
    at(presetHeader, 14, 474, 433, 26);
    auto* header = new QHBoxLayout(presetHeader);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(6);
    presetsLabel = new QLabel(QStringLiteral("Préréglages"), presetHeader);
    presetsLabel->setObjectName(QStringLiteral("PresetsLabel"));
    header->addWidget(presetsLabel);
    header->addStretch();
    savePresetButton = new QPushButton(QStringLiteral("Enregistrer…"), presetHeader);
    savePresetButton->setObjectName(QStringLiteral("SavePresetButton"));
    renamePresetButton = new QPushButton(QStringLiteral("Renommer…"), presetHeader);
    renamePresetButton->setObjectName(QStringLiteral("RenamePresetButton"));
    deletePresetButton = new QPushButton(QStringLiteral("Supprimer…"), presetHeader);
    deletePresetButton->setObjectName(QStringLiteral("DeletePresetButton"));
    for (QPushButton* b : {savePresetButton, renamePresetButton, deletePresetButton}) header->addWidget(b);
    connect(savePresetButton, &QPushButton::clicked, this, [this] { savePreset(); });
    connect(renamePresetButton, &QPushButton::clicked, this, [this] { renameSelectedPreset(); });
    connect(deletePresetButton, &QPushButton::clicked, this, [this] { deleteSelectedPreset(); });

    presetStrip = new QScrollArea(this);
    presetStrip->setObjectName(QStringLiteral("PresetStrip"));
    presetStrip->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    presetStrip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    presetStrip->setWidgetResizable(true);
    presetStrip->setFrameShape(QFrame::NoFrame);
    presetStrip->viewport()->setAutoFillBackground(false);
    auto* row = new QWidget;
    row->setAutoFillBackground(false);
    presetRow_ = new QHBoxLayout(row);
    presetRow_->setContentsMargins(0, 2, 0, 2);
    presetRow_->setSpacing(4);
    presetRow_->addStretch();
    presetStrip->setWidget(row);
    at(presetStrip, 14, 504, 433, 116);
    presetWorker_ = std::make_unique<Worker>();

    previewTimer.setSingleShot(true);
    connect(&previewTimer, &QTimer::timeout, this, [this] { previewTick(); });

    // Creation: the first crop, the default table through the reset, normal texture strength.
    crop_ = initialPreviewCrop(host_.sourceImage().width());
    Image2->setPicture(toQImage(rawPreview(host_.sourceImage(), crop_.PreviewLeft, crop_.PreviewTop)));
    logic_ = createParameterWindowLogic();
    showControls();
    syncPreviewTimer();
    listPresets(true);
    Button1->setFocus();
}

ParameterWindow::~ParameterWindow() { stopPictures(); }

void ParameterWindow::stopPictures() {
    presetRestart_ = false;
    if (presetCancel_) presetCancel_->store(true);
    presetWorker_->wait();
    if (styleGallery_) styleGallery_->stopWorker();
}

bool ParameterWindow::leftButtonDown() { return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0; }

void ParameterWindow::syncPreviewTimer() {
    if (logic_.previewInterval > 0) previewTimer.start(logic_.previewInterval);
    else previewTimer.stop();
}

void ParameterWindow::setPreviewTimer(int interval) {
    logic_.previewInterval = interval;
    syncPreviewTimer();
}

StyleNames ParameterWindow::styleNames() const {
    StyleNames names;
    for (int i = 0; i < kStyleCount; ++i) names[i] = ComboBox1->itemText(i).toStdString();
    return names;
}

void ParameterWindow::showControls() {
    showing_ = true;
    const DrawingControls& c = logic_.controls;
    const int style = c.ComboBox1;
    if (ComboBox1->currentIndex() != style) ComboBox1->setCurrentIndex(style >= 0 && style < kStyleCount ? style : -1);
    for (int slot = 0; slot < kSliderCount; ++slot) {
        const SliderRange range = sliderRange(style, slot);
        sliders[slot]->setRange(range.minimum, range.maximum);
        sliders[slot]->setTickInterval(range.tick);
        sliders[slot]->setPageStep(range.tick);
        sliders[slot]->setValue(sliderValue(c, slot));
        valueLabels[slot]->setText(QString::number(sliderValue(c, slot)));
    }
    CheckBox1->setChecked(c.CheckBox1);
    CheckBox2->setChecked(c.CheckBox2);
    CheckBox3->setChecked(c.CheckBox3);
    CheckBox4->setChecked(c.CheckBox4);
    ComboBox2->setEnabled(c.CheckBox3);
    ComboBox2->setCurrentIndex(c.ComboBox2);
    UpDown1->setPosition(c.UpDown1);
    showing_ = false;
}

void ParameterWindow::applyStyleCaptions() {
    const int s = logic_.controls.ComboBox1;
    if (s < 0 || s >= kParameterRows) return;
    for (int slot = 0; slot < kSlotTrackBar4; ++slot) captionLabels[slot]->setText(CaptionTable[s][slot]);
    if (s == 0 || s == 2) captionLabels[kSlotTrackBar4]->setText(CaptionTable[s][kSlotTrackBar4]);
}

// ---- Handlers ---------------------------------------------------------------------------------

void ParameterWindow::chooseStyle(int index) {
    selectStyle(logic_, index);
    applyStyleCaptions();
    showControls();
    syncPreviewTimer();
}

void ParameterWindow::sliderMoved(int slot, int position) {
    const bool held = leftButtonDown();
    sliderChanged(logic_, slot, position, held);
    valueLabels[slot]->setText(QString::number(position));
    if (!held) syncPreviewTimer();
}

void ParameterWindow::sliderReleased(int slot) {
    sliderChanged(logic_, slot, sliders[slot]->value(), false);
    syncPreviewTimer();
}

void ParameterWindow::smoothLinesToggled() {
    logic_.controls.CheckBox2 = CheckBox2->isChecked();
    optionChanged(logic_);
    syncPreviewTimer();
}

void ParameterWindow::textureToggled() {
    logic_.controls.CheckBox3 = CheckBox3->isChecked();
    ComboBox2->setEnabled(CheckBox3->isChecked());
    optionChanged(logic_);
    syncPreviewTimer();
}

void ParameterWindow::chooseTextureStrength(int index) {
    logic_.controls.ComboBox2 = index;
    optionChanged(logic_);
    syncPreviewTimer();
}

void ParameterWindow::chooseTexture(int position) {
    textureChosen(logic_, position);
    UpDown1->setPosition(position);
    Label12->setText(textureCaptionText(position));
    syncPreviewTimer();
}

void ParameterWindow::startDrawing() { host_.startDrawing(); }

void ParameterWindow::chooseFrame() {
    CheckBox1->setChecked(true);
    logic_.controls.CheckBox1 = true;
    host_.showFramesWindow();
}

void ParameterWindow::chooseText() {
    CheckBox4->setChecked(true);
    logic_.controls.CheckBox4 = true;
    host_.showAddTextWindow();
}

void ParameterWindow::previewTick() {
    const bool draw = previewTimerTick(logic_, host_.busy(), isVisible(), leftButtonDown());
    if (draw) {
        showControls();
        showSliders();
        drawPreview();
    }
    syncPreviewTimer();
}

void ParameterWindow::showSliders() {
    const auto visible = sliderVisibility(logic_.controls.ComboBox1);
    for (int slot = 0; slot < kSliderCount; ++slot) {
        sliders[slot]->setVisible(visible[slot]);
        valueLabels[slot]->setVisible(visible[slot]);
        captionLabels[slot]->setVisible(visible[slot]);
    }
}

void ParameterWindow::loadStyleSliders() {
    loadSlidersFromTable(logic_.controls, logic_.table);
    showControls();
}

void ParameterWindow::drawPreview() {
    DrawingParameters p;
    static_cast<DrawingControls&>(p) = logic_.controls;
    RenderContext ctx;
    ctx.Busy = false;
    ctx.parameterWindowVisible = true;
    try {
        const Bitmap picture = renderPreview(host_.sourceImage(), crop_.PreviewLeft, crop_.PreviewTop, p, resources_, ctx);
        Image2->setPicture(toQImage(picture));
        refreshStyleGallery();
        refreshPresetPictures();
    } catch (const std::exception& e) {
        previewTimer.stop();
        host_.showError(QString::fromUtf8(e.what()));
    }
    emit previewDrawn();
}

void ParameterWindow::showStyleGallery() {
    if (!styleGallery_) {
        styleGallery_ = new StyleGalleryWindow(resources_, this);
        connect(styleGallery_, &StyleGalleryWindow::styleChosen, this, [this](int style) {
            ComboBox1->setCurrentIndex(style);
            chooseStyle(style);
        });
        if (!galleryTitle_.isEmpty()) styleGallery_->setWindowTitle(galleryTitle_);
    }
    styleGallery_->show();
    styleGallery_->raise();
    refreshStyleGallery();
}

void ParameterWindow::refreshStyleGallery() {
    if (!styleGallery_ || !styleGallery_->isVisible()) return;
    QStringList names;
    for (int i = 0; i < kStyleCount; ++i) names << ComboBox1->itemText(i);
    styleGallery_->setStyleNames(names);
    const Bitmap& source = host_.sourceImage();
    styleGallery_->showStyles(copyPreviewCrop(source, crop_.PreviewLeft, crop_.PreviewTop), source.width(), source.height(),
                              controlsForEveryStyle(logic_));
}

void ParameterWindow::windowActivated() {
    const int before = logic_.controls.ComboBox1;
    activateParameterWindow(logic_);
    if (before != logic_.controls.ComboBox1) {
        applyStyleCaptions();
        syncPreviewTimer();
    }
    showControls();
}

void ParameterWindow::showEvent(QShowEvent* event) {
    TiledWidget::showEvent(event);
    listPresets(false);  // files the command line or another program left meanwhile
    setPreviewTimer(kPreviewIntervalOnShow);
    windowActivated();
}

bool ParameterWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) windowActivated();
    return TiledWidget::event(event);
}

// ---- The crop ---------------------------------------------------------------------------------

void ParameterWindow::resetPreview() {
    const Bitmap& source = host_.sourceImage();
    crop_ = PreviewCrop{};
    crop_.PreviewLeft = source.width() > kPreviewSize ? source.width() / 2 - 100 : 0;
    crop_.PreviewTop = source.height() > kPreviewSize ? source.height() / 2 - 100 : 0;
    Image2->setPicture(toQImage(rawPreview(source, crop_.PreviewLeft, crop_.PreviewTop)));
    setPreviewTimer(300);
}

void ParameterWindow::previewPressed(int x, int y) { startPreviewDrag(crop_, x, y); }

void ParameterWindow::previewMoved(int x, int y) {
    if (!crop_.PreviewDragging) return;
    const Bitmap& source = host_.sourceImage();
    dragPreviewCrop(crop_, x, y, source.width(), source.height());
    Image2->setPicture(toQImage(rawPreview(source, crop_.PreviewLeft, crop_.PreviewTop)));
}

void ParameterWindow::previewReleased() {
    endPreviewDrag(crop_);
    BumpPreviewTimer(logic_);
    syncPreviewTimer();
}

// ---- Parameter files --------------------------------------------------------------------------

void ParameterWindow::openParameters() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), qtNameFilter(fileFilter_));
    if (!path.isEmpty()) loadParameters(path);
}

bool ParameterWindow::loadParameters(const QString& path) {
    if (!QFile::exists(path)) {
        host_.showError(fileNotFound_);
        return false;
    }
    StyleNames names = styleNames();
    bool ok = true;
    try {
        const ParameterFileLoad load =
            loadParameterFile(localPath(path), language_, logic_.table, names);
        std::string warnings = load.warning;
        for (const std::string& line : load.clamped) warnings += (warnings.empty() ? "" : "\n") + line;
        if (!warnings.empty()) host_.showError(QString::fromStdString(warnings));
    } catch (const std::exception& e) {
        ok = false;
        host_.showError(QString::fromUtf8(e.what()));
    }
    // What was read stays, names included, also when the file stopped the load.
    for (int i = 0; i < kStyleCount; ++i) ComboBox1->setItemText(i, QString::fromStdString(names[i]));
    windowActivated();
    return ok;
}

void ParameterWindow::saveParametersAs() {
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString::fromLatin1(kDefaultParameterFileName),
                                                      qtNameFilter(fileFilter_));
    if (path.isEmpty()) return;
    try {
        saveParameters(QString::fromStdString(withGtlExtension(path.toStdString())));
    } catch (const std::exception& e) {
        host_.showError(QString::fromUtf8(e.what()));
    }
}

void ParameterWindow::saveParameters(const QString& path) {
    saveParameterFile(localPath(nativePath(path)), logic_.table, styleNames());
}

void ParameterWindow::restoreDefaults() {
    resetParameters(logic_);
    applyStyleCaptions();
    showControls();
    syncPreviewTimer();
}

// ---- Presets ----------------------------------------------------------------------------------

QString ParameterWindow::presetText(const char* key) const {
    return TextTable::of(language_).text(QStringLiteral("Form4.") + QLatin1String(key));
}

// The list from the built-in presets and the user's folder. Unless `changed` (a save, rename or
// delete), an unchanged list keeps its buttons and pictures. The thumbnails are made while the
// window shows.
void ParameterWindow::listPresets(bool changed, const std::string& select) {
    std::vector<PresetEntry> fresh = allPresets(userPresetFolder());
    if (!changed && sameList(fresh, presets_)) return;
    const std::string selectedName =
        !select.empty() ? select : selectedPreset_ >= 0 ? presets_[std::size_t(selectedPreset_)].name : std::string();
    presets_ = std::move(fresh);
    ++presetGeneration_;  // pictures of the old list are dropped
    presetPicturesDone_ = 0;
    if (presetCancel_) presetCancel_->store(true);
    rebuildPresetButtons();
    int found = -1;
    for (std::size_t i = 0; i < presets_.size(); ++i)
        if (presets_[i].name == selectedName) found = int(i);
    selectPreset(found);
    presetCrop_ = Bitmap();
    refreshPresetPictures();
}

void ParameterWindow::rebuildPresetButtons() {
    // A button may be the one whose menu led here: the old ones go once the event is over.
    for (QToolButton* b : presetButtons) {
        presetRow_->removeWidget(b);
        b->hide();
        b->deleteLater();
    }
    presetButtons.clear();
    presetImages_.assign(presets_.size(), QImage());
    const QPixmap blank = presetPlaceholder(kPresetIconSize);
    QFont small = font();
    small.setPixelSize(11);
    for (std::size_t i = 0; i < presets_.size(); ++i) {
        const int index = int(i);
        auto* b = new QToolButton(presetStrip->widget());
        b->setObjectName(QStringLiteral("Preset%1").arg(index));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIconSize(QSize(kPresetIconSize, kPresetIconSize));
        b->setIcon(QIcon(blank));
        b->setFont(small);
        b->setFixedSize(kPresetIconSize + 20, kPresetIconSize + 34);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QToolButton::clicked, this, [this, index] { applyPreset(index); });
        connect(b, &QToolButton::customContextMenuRequested, this, [this, index, b](const QPoint& at) {
            showPresetMenu(index, b->mapToGlobal(at));
        });
        presetRow_->insertWidget(index, b);
        presetButtons.push_back(b);
    }
    captionPresetButtons();
}

// The texture check box's caption once the arrows have chosen texture n (0..9): "Texture 3" in
// English and French, "質材3" and two blanks in Chinese.
QString ParameterWindow::textureCaptionText(int n) const {
    const QString format = presetText("Label12.n");
    return format.isEmpty() ? QString::number(n + 1) : format.arg(n + 1);
}

QString ParameterWindow::presetCaption(std::size_t index) const {
    const PresetEntry& entry = presets_[index];
    const QString name = QString::fromStdString(entry.name);
    const QString key = QStringLiteral("Form4.Preset.") + name;
    const TextTable& table = TextTable::of(language_);
    return entry.builtIn && table.contains(key) ? table.text(key) : name;
}

// The built-in presets' names follow the language; the tooltip keeps the name the command line's
// --preset takes.
void ParameterWindow::captionPresetButtons() {
    for (std::size_t i = 0; i < presetButtons.size() && i < presets_.size(); ++i) {
        QToolButton* b = presetButtons[i];
        const QString caption = presetCaption(i), name = QString::fromStdString(presets_[i].name);
        b->setText(QFontMetrics(b->font()).elidedText(caption, Qt::ElideRight, kPresetIconSize + 6));
        b->setToolTip(caption == name ? name : caption + QStringLiteral(" (--preset ") + name + QLatin1Char(')'));
        b->setAccessibleName(caption);
    }
}

void ParameterWindow::selectPreset(int index) {
    selectedPreset_ = index;
    for (std::size_t i = 0; i < presetButtons.size(); ++i) presetButtons[i]->setChecked(int(i) == index);
    if (index >= 0) presetStrip->ensureWidgetVisible(presetButtons[std::size_t(index)], 0, 0);
    // Only the user's presets can be renamed or deleted: the buttons show while one is selected.
    const bool mine = index >= 0 && !presets_[std::size_t(index)].builtIn;
    renamePresetButton->setVisible(mine);
    deletePresetButton->setVisible(mine);
}

void ParameterWindow::showPresetMenu(int index, const QPoint& at) {
    selectPreset(index);
    QMenu choices(this);
    QAction* apply = choices.addAction(presetText("PresetMenu.apply"));
    QAction* rename = choices.addAction(renamePresetButton->text());
    QAction* remove = choices.addAction(deletePresetButton->text());
    rename->setEnabled(!renamePresetButton->isHidden());
    remove->setEnabled(!deletePresetButton->isHidden());
    QAction* chosen = choices.exec(at);
    if (chosen == apply) applyPreset(index);
    else if (chosen == rename) renameSelectedPreset();
    else if (chosen == remove) deleteSelectedPreset();
}

// The thumbnails are made again when the crop, the photo under it or the list has changed since
// the last start. Comparing the 200 x 200 crop costs nothing beside the preview that runs just
// before.
void ParameterWindow::refreshPresetPictures() {
    if (!isVisible()) return;
    const Bitmap& source = host_.sourceImage();
    Bitmap crop = copyPreviewCrop(source, crop_.PreviewLeft, crop_.PreviewTop);
    if (crop == presetCrop_ && source.width() == presetPhotoWidth_ && source.height() == presetPhotoHeight_) return;
    presetCrop_ = std::move(crop);
    presetPhotoWidth_ = source.width();
    presetPhotoHeight_ = source.height();
    startPresetPictures();
}

void ParameterWindow::startPresetPictures() {
    const unsigned generation = ++presetGeneration_;
    presetPicturesDone_ = 0;
    if (presetCancel_) presetCancel_->store(true);
    if (presetWorker_->running()) {
        presetRestart_ = true;  // the end of the running one starts the new one
        return;
    }
    presetRestart_ = false;
    presetCancel_ = std::make_shared<std::atomic<bool>>(false);
    // The worker gets copies of all it reads: the crop (not the photo) and the list.
    Worker* worker = presetWorker_.get();
    worker->run(
        [this, worker, generation, cancel = presetCancel_, crop = presetCrop_, width = presetPhotoWidth_,
         height = presetPhotoHeight_, entries = presets_] {
            for (std::size_t i = 0; i < entries.size() && !cancel->load(); ++i) {
                QImage image;
                QString failure;
                try {
                    const PresetRead read = readPreset(entries[i]);
                    image = toQImage(renderPreviewOfCrop(crop, width, height, read.parameters, resources_));
                } catch (const std::exception& e) {
                    failure = QString::fromUtf8(e.what());
                }
                worker->post([this, generation, index = int(i), image, failure] {
                    showPresetPicture(generation, index, image, failure);
                });
            }
        },
        [this](std::exception_ptr) {
            if (presetRestart_) startPresetPictures();
        });
}

void ParameterWindow::showPresetPicture(unsigned generation, int index, const QImage& image, const QString& failure) {
    if (generation != presetGeneration_ || index >= int(presetButtons.size())) return;  // an earlier crop or list
    ++presetPicturesDone_;
    presetImages_[std::size_t(index)] = image;
    QToolButton* b = presetButtons[std::size_t(index)];
    if (!image.isNull())
        b->setIcon(QIcon(QPixmap::fromImage(image.scaled(kPresetIconSize, kPresetIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    if (!failure.isEmpty()) b->setToolTip(presetCaption(std::size_t(index)) + QLatin1Char('\n') + failure);
    emit presetPictureMade(index);
}

void ParameterWindow::applyPreset(int index) {
    if (index < 0 || index >= int(presets_.size())) return;
    selectPreset(index);  // also a damaged one, which can then be deleted
    PresetRead read;
    try {
        read = readPreset(presets_[std::size_t(index)]);
    } catch (const std::exception& e) {
        host_.showError(QString::fromUtf8(e.what()));
        return;
    }
    const DrawingParameters& p = read.parameters;
    const int texture = logic_.controls.UpDown1;
    applyPresetControls(logic_, p);
    if (p.UpDown1 != texture) Label12->setText(textureCaptionText(p.UpDown1));
    applyStyleCaptions();
    showControls();
    showSliders();
    host_.showFinishing(p);
    syncPreviewTimer();
}

void ParameterWindow::resetStyle() {
    resetStyleSliders(logic_);
    showControls();
    syncPreviewTimer();
}

std::optional<QString> ParameterWindow::askPresetName(const QString& title, const QString& initial) {
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("PresetNameDialog"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(presetText("PresetName.prompt"));
    dialog.setTextValue(initial);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

bool ParameterWindow::askYesNo(const QString& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("PresetQuestion"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Says why a name cannot be taken; the built-in presets' names are theirs.
bool ParameterWindow::presetNameUsable(const QString& name) {
    const std::string bytes = name.toStdString();
    const char* reason = nullptr;
    switch (presetNameFault(bytes)) {
        case PresetNameFault::None: break;
        case PresetNameFault::Empty: reason = "PresetName.empty"; break;
        case PresetNameFault::TooLong: reason = "PresetName.tooLong"; break;
        case PresetNameFault::Edge: reason = "PresetName.edge"; break;
        case PresetNameFault::Character:
        case PresetNameFault::NotUtf8: reason = "PresetName.character"; break;
    }
    if (reason) {
        host_.showError(presetText(reason));
        return false;
    }
    if (isBuiltInPresetName(bytes)) {
        host_.showError(presetText("PresetName.builtIn").arg(name));
        return false;
    }
    return true;
}

void ParameterWindow::savePreset() {
    const std::string folder = userPresetFolder();
    QString name = selectedPreset_ >= 0 && !presets_[std::size_t(selectedPreset_)].builtIn
                       ? QString::fromStdString(presets_[std::size_t(selectedPreset_)].name)
                       : QString();
    for (;;) {
        const std::optional<QString> asked = askPresetName(presetText("PresetName.saveTitle"), name);
        if (!asked) return;
        name = *asked;
        if (!presetNameUsable(name)) continue;
        const std::string path = userPresetPath(folder, name.toStdString());
        std::error_code ec;
        if (std::filesystem::exists(path, ec) && !askYesNo(presetText("PresetReplace").arg(name))) continue;
        try {
            writePresetFile(path, host_.drawingParameters());  // the folder is made when first needed
        } catch (const std::exception& e) {
            host_.showError(presetText("PresetNotSaved").arg(QString::fromUtf8(e.what())));
            return;
        }
        listPresets(true, name.toStdString());
        return;
    }
}

void ParameterWindow::renameSelectedPreset() {
    if (selectedPreset_ < 0 || presets_[std::size_t(selectedPreset_)].builtIn) return;
    const PresetEntry entry = presets_[std::size_t(selectedPreset_)];
    const std::string folder = std::filesystem::path(entry.path).parent_path().string();
    QString name = QString::fromStdString(entry.name);
    for (;;) {
        const std::optional<QString> asked = askPresetName(presetText("PresetName.renameTitle"), name);
        if (!asked || *asked == QString::fromStdString(entry.name)) return;
        name = *asked;
        if (!presetNameUsable(name)) continue;
        std::error_code ec;
        if (std::filesystem::exists(userPresetPath(folder, name.toStdString()), ec) &&
            !askYesNo(presetText("PresetReplace").arg(name)))
            continue;
        try {
            renameUserPreset(entry, name.toStdString());
        } catch (const std::exception& e) {
            host_.showError(presetText("PresetNotChanged").arg(QString::fromUtf8(e.what())));
            return;
        }
        listPresets(true, name.toStdString());
        return;
    }
}

void ParameterWindow::deleteSelectedPreset() {
    if (selectedPreset_ < 0 || presets_[std::size_t(selectedPreset_)].builtIn) return;
    const PresetEntry entry = presets_[std::size_t(selectedPreset_)];
    if (!askYesNo(presetText("PresetDelete").arg(QString::fromStdString(entry.name)))) return;
    try {
        deleteUserPreset(entry);
    } catch (const std::exception& e) {
        host_.showError(presetText("PresetNotChanged").arg(QString::fromUtf8(e.what())));
    }
    selectedPreset_ = -1;
    listPresets(true);
}

// ---- Language ---------------------------------------------------------------------------------

void ParameterWindow::applyTexts(const TextTable& t, Language language) {
    language_ = language;
    auto set = [&t](const QString& key, auto&& apply) {
        if (const auto text = t.find(key)) apply(*text);
    };
    set(QStringLiteral("Form4.caption"), [this](const QString& s) { setWindowTitle(s); });
    for (int s = 0; s < kParameterRows; ++s)
        for (int n = 0; n < kSliderCount; ++n)
            set(QStringLiteral("Form4.CaptionTable.%1.%2").arg(s).arg(n), [&](const QString& v) { CaptionTable[s][n] = v; });
    // The sliders' labels as the window shows them now. The value labels always show the sliders'
    // positions, so the table's sample values for them are not applied.
    const char* captionKeys[kSliderCount] = {"Label1", "Label2", "Label4", "Label8", "Label16"};
    for (int slot = 0; slot < kSliderCount; ++slot)
        set(QStringLiteral("Form4.") + QLatin1String(captionKeys[slot]), [&](const QString& v) { captionLabels[slot]->setText(v); });
    set(QStringLiteral("Form4.Label10"), [this](const QString& v) { Label10->setText(v); });
    set(QStringLiteral("Form4.Button1"), [this](const QString& v) { Button1->setText(v); });
    set(QStringLiteral("Form4.Label11"), [this](const QString& v) { Label11->setText(v); });
    set(QStringLiteral("Form4.Label13"), [this](const QString& v) { Label13->setText(v); });
    set(QStringLiteral("Form4.Label14"), [this](const QString& v) { Label14->setText(v); });
    // The "..." buttons open the frame and text settings: they are named after their options.
    Button2->setAccessibleName(Label13->text().trimmed());
    Button3->setAccessibleName(Label14->text().trimmed());
    set(QStringLiteral("Form4.Label12"), [this](const QString& v) { label12Table_ = v; });
    // The language's caption names the first texture; any other keeps its number.
    Label12->setText(logic_.controls.UpDown1 == 0 ? label12Table_ : textureCaptionText(logic_.controls.UpDown1));
    set(QStringLiteral("Form4.ComboBox1.text"), [this](const QString& v) { ComboBox1->setPlaceholderText(v); });
    for (int i = 0; i < kStyleCount; ++i)
        set(entryKey(QStringLiteral("Form4.ComboBox1"), i), [&](const QString& v) { ComboBox1->setItemText(i, v); });
    set(QStringLiteral("Form4.ComboBox2.text"), [this](const QString& v) { ComboBox2->setPlaceholderText(v); });
    for (int i = 0; i < 3; ++i)
        set(entryKey(QStringLiteral("Form4.ComboBox2"), i), [&](const QString& v) { ComboBox2->setItemText(i, v); });
    // Image1 is the button in Latin letters: French, or English with its own words.
    Image1->setPixmap(AppPictures::get().sketchButton(language == Language::Chinese ? Language::French : language));
    Image1->setVisible(language != Language::Chinese);
    Image3->setVisible(language == Language::Chinese);
    windowActivated();
    set(QStringLiteral("Form4.Label3.hint"), [this](const QString& v) { Label3->setToolTip(v); });
    set(QStringLiteral("Form4.Label3"), [this](const QString& v) { Label3->setText(v); });
    set(QStringLiteral("Form4.Loadparameters1"), [this](const QString& v) { Loadparameters1->setText(v); });
    set(QStringLiteral("Form4.Saveparameters1"), [this](const QString& v) { Saveparameters1->setText(v); });
    set(QStringLiteral("Form4.Resetparameters1"), [this](const QString& v) { Resetparameters1->setText(v); });
    set(QStringLiteral("Form4.StylesButton"), [this](const QString& v) { showStylesButton->setText(v); });
    set(QStringLiteral("Form4.ResetButton"), [this](const QString& v) { resetButton->setText(v); });
    set(QStringLiteral("Form4.ResetButton.hint"), [this](const QString& v) { resetButton->setToolTip(v); });
    set(QStringLiteral("Form4.PresetsLabel"), [this](const QString& v) { presetsLabel->setText(v); });
    set(QStringLiteral("Form4.PresetStrip.hint"), [this](const QString& v) { presetStrip->setToolTip(v); });
    set(QStringLiteral("Form4.SavePresetButton"), [this](const QString& v) { savePresetButton->setText(v); });
    set(QStringLiteral("Form4.SavePresetButton.hint"), [this](const QString& v) { savePresetButton->setToolTip(v); });
    set(QStringLiteral("Form4.RenamePresetButton"), [this](const QString& v) { renamePresetButton->setText(v); });
    set(QStringLiteral("Form4.RenamePresetButton.hint"), [this](const QString& v) { renamePresetButton->setToolTip(v); });
    set(QStringLiteral("Form4.DeletePresetButton"), [this](const QString& v) { deletePresetButton->setText(v); });
    set(QStringLiteral("Form4.DeletePresetButton.hint"), [this](const QString& v) { deletePresetButton->setToolTip(v); });
    captionPresetButtons();
    set(QStringLiteral("StyleGallery.caption"), [this](const QString& v) { galleryTitle_ = v; });
    if (styleGallery_) {
        styleGallery_->setWindowTitle(galleryTitle_);
        refreshStyleGallery();
    }
    set(QStringLiteral("Form4.filter"), [this](const QString& v) { fileFilter_ = v; });
    set(QStringLiteral("Form4.FileNotFound"), [this](const QString& v) { fileNotFound_ = v; });
    // The labels show the chosen style's captions and the sliders' true positions.
    applyStyleCaptions();
    showControls();
}

}  // namespace gt
