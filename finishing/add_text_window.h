// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The add-text window: one line of text, its font, colour and shadow, and where it goes on the
// drawing (nine placements, two scroll bars with number boxes, or dragged on the drawing pane).
// While the window is open the text is previewed over the drawing pane, never written into the
// drawing; OK writes it for good, Cancel and closing leave the drawing as it was.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <functional>
#include <optional>

#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/bitmap.h"
#include "pipeline/finishing_settings.h"
#include "pipeline/text_overlay.h"
#include "pipeline/text_preview.h"
#include "ui/language.h"

namespace gt {

// What the window needs from the main window.
class AddTextWindowHost {
public:
    virtual ~AddTextWindowHost() = default;
    virtual const Bitmap& drawingImage() const = 0;  // DrawingImage
    // DrawingWidth, DrawingHeight, SourceWidth, SourceHeight.
    virtual PlacementSizes placementSizes() const = 0;
    // Writes on the drawing for good (OK), then shows the drawing again.
    virtual void writeOnDrawing(const std::function<void(Bitmap&)>& write) = 0;
    // The preview over the drawing pane: `patch` laid on the drawing at (left, top); an empty
    // patch shows none.
    virtual void showTextPreview(const TextOverlayPatch& patch) = 0;
    // The copy and paste commands keep their Ctrl+C and Ctrl+V, or give them to the text box.
    virtual void setClipboardShortcuts(bool on) = 0;
};

class AddTextWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 470;  // the shadow option whole in every language
    static constexpr int kClientHeight = 262;

    explicit AddTextWindow(AddTextWindowHost& host, QWidget* parent = nullptr);

    // What the finishing pass reads (text, font, colour, shadow, placement, scroll positions).
    TextSettings settings;
    // TextShown: a preview of the text is laid over the drawing.
    bool TextShown() const { return textShown_; }
    // The preview as it is laid over the drawing now.
    const TextOverlayPatch& preview() const { return preview_; }
    TextPosition position() const { return {ScrollBar1->value(), ScrollBar2->value()}; }

    // Settings chosen elsewhere (a preset): the controls show them, and the preview when it is on.
    // The settings stay as given, also a place by hand outside the drawing's present size.
    void showSettings(const TextSettings& chosen);

    // The language switch: texts, the ten placements, bottom right selected.
    void applyTexts(const TextTable& table, Language language);

    // The system dialogs; tests put their own answers in their place. Nothing when cancelled.
    std::function<std::optional<QFont>(const QFont& initial)> chooseFont;
    std::function<std::optional<QColor>(const QColor& initial)> chooseColour;

    // ---- What the main window asks of it ----
    // The drawing was replaced (a rendering, a new source, swap, revert...): the preview is made
    // again on the new drawing.
    void drawingReplaced();
    // The text dragged on the drawing pane, in drawing pixels: whether (x, y) is on the text, the
    // press that starts the drag (custom placement), and each move, which centres the text there.
    bool textBoxContains(int x, int y);
    void beginTextDrag();
    void dragTextTo(int x, int y);

    // ---- Handlers (public so that tests can drive them as the events do) ----
    void windowActivated();
    void redrawText();
    void pickFont();
    void pickColour();
    void shadowToggled();
    void choosePlacement(int index);
    void xScrolled(int position);
    void yScrolled(int position);
    void xTyped();
    void yTyped();
    void writeText();  // OK: the text written for good
    void cancel();
    void SetPos();

    // The controls, named as the rest of the program names them.
    QLabel* Label1 = nullptr;     // "Texte :"
    QLineEdit* Edit1 = nullptr;   // the text
    QPushButton* BitBtn1 = nullptr;  // font
    QPushButton* BitBtn2 = nullptr;  // colour
    QLabel* Label2 = nullptr;     // the font in use, or that a missing one was replaced
    QCheckBox* CheckBox1 = nullptr;  // shadow
    QComboBox* ComboBox1 = nullptr;  // placement
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button3 = nullptr;  // cancel

signals:
    void previewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setRanges();               // scroll bar ranges from the text and the drawing
    void setPositions(TextPosition position);
    void writePreview();            // EraseText and WriteText, over the pane
    void closePreview();            // what closing does: the preview goes, the shortcuts come back
    void showFont();
    void selectPlacement(int index);

    AddTextWindowHost& host_;
    QtGlyphRenderer glyphs_;
    TextOverlayPatch preview_;
    bool textShown_ = false;
    bool updating_ = false;  // the controls are being set by the window itself
    QString fontMissingText_;
};

}  // namespace gt
