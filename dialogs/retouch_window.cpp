// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/retouch_window.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include "ui/app_pictures.h"
#include "ui/qt_bitmap.h"
#include "ui/widgets.h"

namespace gt {


// ---- The window -------------------------------------------------------------------------------

RetouchWindow::RetouchWindow(RetouchWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Modifications de l'image source"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setModal(false);
    leftButtonDown = [] { return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0; };

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    grid->setContentsMargins(14, 14, 14, 14);
    Image1 = new PreviewImage(kRetouchPreviewSize, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    grid->addWidget(Image1, 0, 0, 5, 1, Qt::AlignCenter);

    const struct {
        const char* caption;
        int minimum, maximum;
    } sliders[5] = {{"Luminosité           ", -100, 100},
                    {"Contraste           ", -100, 100},
                    {"Saturation           ", -100, 100},
                    {"Flou/Netteté         ", -5, 5},
                    {"Simplification (filtre médian)   ", 0, 9}};
    for (int i = 0; i < 5; ++i) {
        CaptionLabels[i] = new QLabel(QString::fromUtf8(sliders[i].caption), this);
        CaptionLabels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 7));
        TrackBars[i] = new QSlider(Qt::Horizontal, this);
        TrackBars[i]->setObjectName(QStringLiteral("TrackBar%1").arg(i + 1));
        TrackBars[i]->setRange(sliders[i].minimum, sliders[i].maximum);
        TrackBars[i]->setValue(0);
        TrackBars[i]->setMinimumWidth(200);
        TrackBars[i]->setPageStep(sliders[i].maximum - sliders[i].minimum > 20 ? 10 : 1);
        ValueLabels[i] = new QLabel(QStringLiteral("0"), this);
        ValueLabels[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        ValueLabels[i]->setMinimumWidth(32);
        ValueLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(CaptionLabels[i], i, 1);
        grid->addWidget(TrackBars[i], i, 2);
        grid->addWidget(ValueLabels[i], i, 3);
        const int n = i + 1;
        connect(TrackBars[i], &QSlider::valueChanged, this, [this, n] { sliderMoved(n); });
        connect(TrackBars[i], &QSlider::sliderReleased, this, [this, n] { sliderReleased(n); });
    }

    Button3 = new QPushButton(QStringLiteral("Remise à zéro"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button1 = new QPushButton(QStringLiteral("Annuler"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Appliquer les changements"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button2, Button3}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->setRowMinimumHeight(5, 8);
    grid->addLayout(buttons, 6, 0, 1, 4);
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->hide();

    connect(Button1, &QPushButton::clicked, this, [this] { cancel(); });
    connect(Button2, &QPushButton::clicked, this, [this] { applyToPhoto(); });
    connect(Button3, &QPushButton::clicked, this, [this] { resetSliders(); });
    connect(Image1, &PreviewImage::pressed, this, [this](int x, int y) { previewPressed(x, y); });
    connect(Image1, &PreviewImage::moved, this, [this](int x, int y) { previewMoved(x, y); });
    connect(Image1, &PreviewImage::released, this, [this] { previewReleased(); });
    previewTimer.setSingleShot(true);
    connect(&previewTimer, &QTimer::timeout, this, [this] { previewTick(); });
}

void RetouchWindow::applyTexts(const TextTable& table, Language) {
    if (const auto caption = table.find(QStringLiteral("Form11.caption"))) setWindowTitle(*caption);
    for (int i = 0; i < 5; ++i)
        if (const auto t = table.find(QStringLiteral("Form11.Label%1").arg(i + 7))) CaptionLabels[i]->setText(*t);
    const std::pair<const char*, QPushButton*> buttons[] = {{"Button1", Button1}, {"Button2", Button2}, {"Button3", Button3}};
    for (const auto& [name, button] : buttons)
        if (const auto t = table.find(QStringLiteral("Form11.") + QLatin1String(name))) button->setText(*t);
}

RetouchSettings RetouchWindow::settings() const {
    return {TrackBars[0]->value(), TrackBars[1]->value(), TrackBars[2]->value(), TrackBars[3]->value(), TrackBars[4]->value()};
}

// ---- Handlers ---------------------------------------------------------------------------------

void RetouchWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowShown();
}

void RetouchWindow::windowShown() {
    lastChanged_ = -1;
    // The top-left corner shows first; the crop keeps the place it had last time.
    showPicture(rawRetouchPreview(host_.sourceImage(), 0, 0));
    resetSliders();
}

void RetouchWindow::sliderMoved(int n) {
    ValueLabels[n - 1]->setText(QString::number(TrackBars[n - 1]->value()));
    // While the slider is dragged nothing is scheduled; its release is.
    if (leftButtonDown()) return;
    lastChanged_ = n;
    previewTimer.start(kTimerInterval);
}

void RetouchWindow::sliderReleased(int n) {
    lastChanged_ = n;
    previewTimer.start(kTimerInterval);
}

void RetouchWindow::previewTick() {
    previewTimer.stop();
    // The photo is being changed or drawn: the preview comes once that is over.
    if (host_.busy()) {
        previewTimer.start(kTimerInterval);
        return;
    }
    drawPreview();
}

void RetouchWindow::drawPreview() {
    const RetouchSettings s = settings();
    const Bitmap& source = host_.sourceImage();
    if (!(CheckBox1->isChecked() && lastChanged_ > 0)) {
        showPicture(RetouchPreview(source, crop_.PreviewLeft, crop_.PreviewTop, s));
        emit previewDrawn();
        return;
    }
    // Every slider at 0 changes nothing: no step for the photo's history.
    if (s == RetouchSettings{}) {
        lastChanged_ = -1;
        return;
    }
    applying_ = true;
    setControlsEnabled(false);
    host_.retouchSource(s, [this](bool changed) {
        applying_ = false;
        setControlsEnabled(true);
        CheckBox1->setChecked(false);
        if (!changed) return;
        showPicture(rawRetouchPreview(host_.sourceImage(), crop_.PreviewLeft, crop_.PreviewTop));
        lastChanged_ = -1;
        host_.setParameterPreviewTimer(100);
        previewTimer.stop();
        hide();
    });
}

void RetouchWindow::cancel() { reject(); }

void RetouchWindow::applyToPhoto() {
    if (applying_) return;
    // The whole photo changes on the worker when a slider moved: the window closes once that is done
    // (or stays, with its sliders, after a cancel).
    const bool wholePhoto = lastChanged_ > 0 && !(settings() == RetouchSettings{});
    CheckBox1->setChecked(true);
    drawPreview();
    if (wholePhoto) return;
    CheckBox1->setChecked(false);
    previewTimer.stop();
    hide();
}

void RetouchWindow::resetSliders() {
    for (QSlider* t : TrackBars) t->setValue(0);
}

void RetouchWindow::reject() {
    // During the whole-photo step, Escape and closing stop that step; the window stays.
    if (applying_) {
        host_.cancelLongStep();
        return;
    }
    previewTimer.stop();
    QDialog::reject();
}

// ---- The crop ---------------------------------------------------------------------------------

void RetouchWindow::previewPressed(int x, int y) { startPreviewDrag(crop_, x, y); }

void RetouchWindow::previewMoved(int x, int y) {
    if (!crop_.PreviewDragging) return;
    const Bitmap& source = host_.sourceImage();
    dragCrop(crop_, x, y, source.width(), source.height(), kRetouchPreviewSize);
    showPicture(rawRetouchPreview(source, crop_.PreviewLeft, crop_.PreviewTop));
}

void RetouchWindow::previewReleased() {
    endPreviewDrag(crop_);
    previewTimer.start(kTimerInterval);
}

// ---- Small helpers ----------------------------------------------------------------------------

void RetouchWindow::showPicture(const Bitmap& picture) { Image1->setPicture(toQImage(picture)); }

void RetouchWindow::setControlsEnabled(bool enabled) {
    for (QSlider* t : TrackBars) t->setEnabled(enabled);
    Button2->setEnabled(enabled);
    Button3->setEnabled(enabled);
    Image1->setEnabled(enabled);
}

void RetouchWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
