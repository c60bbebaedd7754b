// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frames window: the frame style and its settings (margin, frame picture, fill and line
// colours, the tint of the coloured frame) with a 200 x 200 preview of the frame's top-left corner
// around the photo. The finishing pass reads `settings` when a rendering starts.

#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"
#include "pipeline/frames.h"
#include "ui/language.h"
#include "ui/widgets.h"

namespace gt {

// What the window needs from the main window.
class FramesWindowHost {
public:
    virtual ~FramesWindowHost() = default;
    virtual const Bitmap& sourceImage() const = 0;         // SourceImage, shown in the preview
    virtual const FramePictures& framePictures() const = 0;  // Frame1 .. Frame8
};

// Which controls a frame style shows.
struct FrameControlsShown {
    bool UpDown2 = false;     // realistic frame picture
    bool UpDown3 = false;     // coloured frame picture
    bool lineColour = false;  // Shape2 and Label4
    bool fillColour = false;  // Shape1 and Label3
    bool tint = false;        // Shape3 to Shape5, TrackBar1 to TrackBar3
    friend bool operator==(const FrameControlsShown&, const FrameControlsShown&) = default;
};
FrameControlsShown frameControlsShown(int style);

// The style list's entry once a frame picture is chosen: the style's name as the language writes
// it, then the number ("Cadre réaliste 3", "Cadre coloré 2"; in Chinese the number follows the name
// directly, "仿真畫框3").
QString frameEntryName(int style, int number, Language language);

// The margin typed into its box: digits only and at most 1000, else the margin stays as it was.
int typedMargin(const QString& typed, int current);

// A colour swatch (Shape1, Shape2) that reports a click.
class ColourSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
signals:
    void clicked();
protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
private:
    QColor colour_ = Qt::white;
};

class FramesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 440;
    static constexpr int kClientHeight = 268;
    // The preview's waits after a change, in milliseconds.
    static constexpr int kWaitAfterTyping = 500;
    static constexpr int kWaitAfterArrows = 300;
    static constexpr int kWaitAfterChoice = 200;

    explicit FramesWindow(FramesWindowHost& host, QWidget* parent = nullptr);

    // What the finishing pass reads.
    FrameSettings settings;

    // Settings chosen elsewhere (a preset): the controls show them and the preview follows.
    void showSettings(const FrameSettings& chosen);

    // The language switch: caption, labels, the four entries and the realistic frame selected.
    void applyTexts(const TextTable& table, Language language);

    // The colour dialog; tests put their own answer in its place. Nothing when the user cancels.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;

    // ---- Handlers (public so that tests can drive them as the events do) ----
    void chooseFrameStyle(int index);
    void marginTyped();          // typing in the margin box
    void marginEntered();        // Enter in the margin box closes the window
    void marginStepped(int position);
    void realisticFrameStepped(int position);  // the arrows, released: the entry takes the number
    void colouredFrameStepped(int position);
    void chooseFillColour();
    void chooseLineColour();
    void tintChanged(int which, int position);  // which: 0 red, 1 green, 2 blue
    void confirm();
    void previewTick();
    void windowActivated();

    // Restarts the preview timer with `interval` milliseconds.
    void restartPreviewTimer(int interval);
    const QImage& previewPicture() const { return preview_; }

    // The controls, named as the rest of the program names them.
    QLabel* Label1 = nullptr;  // "Style de cadre"
    QLabel* Label2 = nullptr;  // "Marge"
    QLabel* Label3 = nullptr;  // fill colour
    QLabel* Label4 = nullptr;  // line colour
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    UpDownControl* UpDown1 = nullptr;
    UpDownControl* UpDown2 = nullptr;
    UpDownControl* UpDown3 = nullptr;
    ColourSwatch* Shape1 = nullptr;
    ColourSwatch* Shape2 = nullptr;
    std::array<QLabel*, 3> tintMarkers{};       // Shape3, Shape4, Shape5
    std::array<QSlider*, 3> tintSliders{};      // TrackBar1, TrackBar2, TrackBar3
    QLabel* Image1 = nullptr;                   // the preview
    QPushButton* Button1 = nullptr;
    QTimer previewTimer;

signals:
    void previewDrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyVisibility();
    void showPreview(const Bitmap& picture);

    FramesWindowHost& host_;
    QImage preview_;
    Language language_ = Language::French;
};

}  // namespace gt
