// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The retouch window of the source picture (retouchWindow): brightness, contrast, saturation, blur or
// sharpness and simplification, previewed on a 110 x 110 crop of the photo while the sliders move,
// then applied to the whole photo. It stays on top and is not modal. The chain itself is the
// pipeline's (pipeline/source_commands.h); the whole photo is changed by the main window, on a copy
// on the worker thread.

#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <functional>

#include "imaging/bitmap.h"
#include "pipeline/preview.h"
#include "pipeline/source_commands.h"
#include "ui/language.h"
#include "ui/widgets.h"

namespace gt {

// What the window needs from the main window.
class RetouchWindowHost {
public:
    virtual ~RetouchWindowHost() = default;
    virtual const Bitmap& sourceImage() const = 0;  // SourceImage
    virtual bool busy() const = 0;                   // Busy
    // The chain on the whole photo, on a copy on the worker; `done(true)` once the new photo is in
    // place, `done(false)` when it was cancelled, refused or failed (the photo is then as it was).
    virtual void retouchSource(const RetouchSettings& settings, std::function<void(bool changed)> done) = 0;
    // The parameter window's preview timer (0 stops it).
    virtual void setParameterPreviewTimer(int interval) = 0;
    // Asks the running long step to stop (the cancel entry's job).
    virtual void cancelLongStep() = 0;
};


class RetouchWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerInterval = 200;

    explicit RetouchWindow(RetouchWindowHost& host, QWidget* parent = nullptr);

    void applyTexts(const TextTable& table, Language language);
    RetouchSettings settings() const;
    int lastChangedSlider() const { return lastChanged_; }
    const PreviewCrop& crop() const { return crop_; }
    bool applying() const { return applying_; }

    // ---- Handlers (public so that tests drive them as the events do) ----
    void windowShown();                      // step list A
    void sliderMoved(int n);           // n = 1..5
    void sliderReleased(int n);
    void previewTick();
    void cancel();                  // close
    void applyToPhoto();                  // apply to the whole photo
    void resetSliders();                  // all sliders to 0
    void drawPreview();
    void previewPressed(int x, int y);
    void previewMoved(int x, int y);
    void previewReleased();

    std::array<QSlider*, 5> TrackBars{};      // TrackBar1 .. TrackBar5
    std::array<QLabel*, 5> ValueLabels{};     // Label1 .. Label5
    std::array<QLabel*, 5> CaptionLabels{};   // Label7 .. Label11
    PreviewImage* Image1 = nullptr;
    QPushButton* Button1 = nullptr;  // "Annuler"
    QPushButton* Button2 = nullptr;  // "Appliquer les changements"
    QPushButton* Button3 = nullptr;  // "Remise à zéro"
    QCheckBox* CheckBox1 = nullptr;  // hidden: drawPreview works on the whole photo
    QTimer previewTimer;

    // Whether the left mouse button is down; tests replace it.
    std::function<bool()> leftButtonDown;

signals:
    void previewDrawn();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showPicture(const Bitmap& picture);
    void setControlsEnabled(bool enabled);

    RetouchWindowHost& host_;
    PreviewCrop crop_;
    int lastChanged_ = -1;
    bool applying_ = false;
};

}  // namespace gt
