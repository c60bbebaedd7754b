// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing-parameters window: the style list, the five sliders with their captions and values,
// the soften, texture, frame and text options, the live preview on a 200 x 200 crop of the photo,
// "Sketch", the menu that loads, saves and resets the per-style table, and the strip of presets
// under it, each shown as its preview of the crop. Its behaviour lives in ParameterWindowLogic; the
// window forwards its events there and shows the result.

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/resources.h"
#include "pipeline/parameter_window_logic.h"
#include "pipeline/parameters.h"
#include "pipeline/presets.h"
#include "pipeline/preview.h"
#include "ui/language.h"
#include "ui/widgets.h"
#include "ui/worker.h"

class QScrollArea;
class QHBoxLayout;

namespace gt {

// What the window needs from the main window.
class StyleGalleryWindow;

class ParameterWindowHost {
public:
    virtual ~ParameterWindowHost() = default;
    virtual const Bitmap& sourceImage() const = 0;  // SourceImage
    virtual bool busy() const = 0;                   // Busy
    virtual bool batchVisible() const = 0;
    virtual void startDrawing() = 0;                 // "Sketch"
    virtual void showFramesWindow() = 0;
    virtual void showAddTextWindow() = 0;
    virtual void showError(const QString& message) = 0;
    // Every setting as a rendering reads it now, frame and text included (saved as a preset).
    virtual DrawingParameters drawingParameters() = 0;
    // A preset's finishing: its frame settings when its frame is on, its text when its text is on.
    virtual void showFinishing(const DrawingParameters& parameters) = 0;
};


class ParameterWindow : public TiledWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 461;
    static constexpr int kClientHeight = 628;
    static constexpr int kPresetIconSize = 64;

    ParameterWindow(ParameterWindowHost& host, const Resources& resources, QWidget* parent = nullptr);
    ~ParameterWindow() override;

    // ---- State read by the rest of the program ----
    const ParameterWindowLogic& logic() const { return logic_; }
    int DrawingStyle() const { return logic_.controls.ComboBox1; }
    // The controls as a rendering reads them (the frame and text settings are the caller's).
    DrawingControls controls() const { return logic_.controls; }
    // Brings the sliders to the chosen style's stored values, as the next preview would; a
    // rendering started before that preview then draws with the values the style shows.
    void loadStyleSliders();
    const PreviewCrop& crop() const { return crop_; }
    // The item texts of the style list, as the parameter files write them.
    StyleNames styleNames() const;
    Language language() const { return language_; }
    const QString& captionCell(int style, int slot) const { return CaptionTable[style][slot]; }

    // ---- What other windows ask of it ----
    // Sets the preview timer's interval (the causes of the main window: 300 ms for a new source,
    // 200 ms for a revert or a drop); 0 stops it.
    void setPreviewTimer(int interval);
    int previewTimerInterval() const { return logic_.previewInterval; }
    bool previewTimerActive() const { return previewTimer.isActive(); }
    // A new source: the crop goes back to the middle and the preview is scheduled in 300 ms.
    void resetPreview();
    // The crop's place on a resized photo (the next preview shows it).
    void setPreviewCrop(int left, int top) {
        crop_.PreviewLeft = left;
        crop_.PreviewTop = top;
    }
    // The language switch's part for this window.
    void applyTexts(const TextTable& table, Language language);

    // ---- Handlers (public so that tests can drive them as the events do) ----
    void chooseStyle(int index);
    void sliderMoved(int slot, int position);
    void sliderReleased(int slot);
    void smoothLinesToggled();
    void textureToggled();
    void chooseTextureStrength(int index);
    void chooseTexture(int position);
    void startDrawing();
    void chooseFrame();
    void chooseText();
    void previewTick();
    void windowActivated();
    void openParameters();
    void saveParametersAs();
    void restoreDefaults();
    // Reads a parameter file into the table and the style names, then activates the window (the
    // main window's start-up argument uses it too). Shows "檔案沒有找到" for a missing file (French
    // and Chinese alike; English has its own words).
    bool loadParameters(const QString& path);
    // The nine styles side by side, in their own window; a click there chooses the style here.
    void showStyleGallery();
    StyleGalleryWindow* styleGallery() const { return styleGallery_; }
    void saveParameters(const QString& path);

    // ---- Presets: built-in first, then the user's ----
    const std::vector<PresetEntry>& presets() const { return presets_; }
    // A preset's preview of the crop (null until made), and how many of the last start's are done
    // (made or failed).
    const QImage& presetPicture(int index) const { return presetImages_[std::size_t(index)]; }
    int presetPicturesDone() const { return presetPicturesDone_; }
    int selectedPreset() const { return selectedPreset_; }
    // A click on a thumbnail: the preset's controls, style and finishing, as --preset gives them.
    void applyPreset(int index);
    void savePreset();            // the current settings under a name asked for
    void renameSelectedPreset();  // the user's presets only
    void deleteSelectedPreset();
    void resetStyle();            // the chosen style's sliders back to their defaults
    // Drops the thumbnails and the gallery's pictures still coming and waits for those being made:
    // the owner of the resources calls it before they go.
    void stopPictures();

    // The controls, named as the rest of the program names them.
    QComboBox* ComboBox1 = nullptr;  // style
    QComboBox* ComboBox2 = nullptr;  // texture strength
    std::array<QSlider*, kSliderCount> sliders{};         // slot order: TrackBar1, 2, 5, 3, 4
    std::array<QLabel*, kSliderCount> valueLabels{};      // Label5, Label6, Label7, Label9, Label15
    std::array<ClickableLabel*, kSliderCount> captionLabels{};  // Label1, Label2, Label4, Label8, Label16
    QCheckBox* CheckBox1 = nullptr;  // frame
    QCheckBox* CheckBox2 = nullptr;  // soften
    QCheckBox* CheckBox3 = nullptr;  // texture
    QCheckBox* CheckBox4 = nullptr;  // text
    ClickableLabel* Label11 = nullptr;
    ClickableLabel* Label12 = nullptr;
    ClickableLabel* Label13 = nullptr;
    ClickableLabel* Label14 = nullptr;
    QLabel* Label10 = nullptr;
    ClickableLabel* Label3 = nullptr;  // link to the web site
    UpDownControl* UpDown1 = nullptr;
    QPushButton* Button1 = nullptr;  // Sketch
    QPushButton* Button2 = nullptr;  // frame "..."
    QPushButton* Button3 = nullptr;  // text "..."
    PictureButton* Image1 = nullptr;  // start drawing, French picture (English: its English one)
    PictureButton* Image3 = nullptr;  // start drawing, Chinese picture
    PreviewImage* Image2 = nullptr;
    QMenuBar* menu = nullptr;
    QAction* Loadparameters1 = nullptr;
    QAction* Saveparameters1 = nullptr;
    QAction* Resetparameters1 = nullptr;
    QPushButton* showStylesButton = nullptr;  // the nine styles side by side
    QPushButton* resetButton = nullptr;       // "ResetButton": the chosen style's defaults
    QLabel* presetsLabel = nullptr;           // "PresetsLabel"
    QPushButton* savePresetButton = nullptr;    // "SavePresetButton"
    QPushButton* renamePresetButton = nullptr;  // "RenamePresetButton"
    QPushButton* deletePresetButton = nullptr;  // "DeletePresetButton"
    QScrollArea* presetStrip = nullptr;         // "PresetStrip": a row of thumbnails
    std::vector<QToolButton*> presetButtons;    // "Preset0", "Preset1" ... in list order
    QTimer previewTimer;

    // CaptionTable: the slider captions per style, filled by the language switch.
    std::array<std::array<QString, kParameterSlots>, kParameterRows> CaptionTable;

signals:
    void previewDrawn();
    void presetPictureMade(int index);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void syncPreviewTimer();    // previewTimer follows the logic's interval
    void showControls();        // the widgets follow the logic's state
    void applyStyleCaptions();  // the sliders' captions for the chosen style
    void drawPreview();
    void previewPressed(int x, int y);
    void previewMoved(int x, int y);
    void previewReleased();
    static bool leftButtonDown();

    void refreshStyleGallery();
    void showSliders();  // only the chosen style's sliders

    // Presets
    void listPresets(bool changed, const std::string& select = {});
    void rebuildPresetButtons();
    void refreshPresetPictures();
    void startPresetPictures();
    void showPresetPicture(unsigned generation, int index, const QImage& image, const QString& failure);
    void selectPreset(int index);
    void showPresetMenu(int index, const QPoint& at);
    QString presetText(const char* key) const;
    // The name a preset's button shows: a built-in preset's in the interface language, a user's as
    // it was given.
    QString presetCaption(std::size_t index) const;
    QString textureCaptionText(int n) const;
    void captionPresetButtons();
    std::optional<QString> askPresetName(const QString& title, const QString& initial);
    bool presetNameUsable(const QString& name);
    bool askYesNo(const QString& question);

    ParameterWindowHost& host_;
    StyleGalleryWindow* styleGallery_ = nullptr;
    const Resources& resources_;
    ParameterWindowLogic logic_;
    PreviewCrop crop_;
    Language language_ = Language::French;
    QString fileFilter_;
    QString fileNotFound_ = QStringLiteral("檔案沒有找到");
    QString label12Table_;
    QString galleryTitle_;  // the texture caption the language sets for texture 1
    bool showing_ = false;  // suppresses change events while the widgets are brought up to date

    std::vector<PresetEntry> presets_;
    std::vector<QImage> presetImages_;
    QHBoxLayout* presetRow_ = nullptr;
    int selectedPreset_ = -1;
    int presetPicturesDone_ = 0;
    unsigned presetGeneration_ = 0;
    bool presetRestart_ = false;  // a start asked while the worker still ran
    Bitmap presetCrop_;           // the crop and photo size the thumbnails were made of
    int presetPhotoWidth_ = 0, presetPhotoHeight_ = 0;
    std::shared_ptr<std::atomic<bool>> presetCancel_;
    std::unique_ptr<Worker> presetWorker_;
};

}  // namespace gt
