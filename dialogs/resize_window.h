// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The resize dialog of the source picture (resizeWindow): a new size in pixels or in percent, the
// proportions kept or the desktop's size taken, then the main window resamples the photo. The
// dialog never touches the picture itself. Its rules live in resize_fields.h; the dialog shows them.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSize>
#include <functional>

#include "dialogs/resize_fields.h"
#include "ui/language.h"

namespace gt {

// What the dialog needs from the main window.
class ResizeWindowHost {
public:
    virtual ~ResizeWindowHost() = default;
    virtual int sourceWidth() const = 0;   // SourceWidth
    virtual int sourceHeight() const = 0;  // SourceHeight
    // Zoom 100 % and both pictures at their natural size, before the resize.
    virtual void showNaturalSize() = 0;
    // Resamples the photo (the work finishes later, on the worker); `done` runs once the new photo
    // is in place.
    virtual void resizeSource(int width, int height, std::function<void()> done) = 0;
    // The parameter window's preview starts again from the new photo.
    virtual void resetParameterPreview() = 0;
};

class ResizeWindow : public QDialog {
    Q_OBJECT
public:
    explicit ResizeWindow(ResizeWindowHost& host, QWidget* parent = nullptr);

    void applyTexts(const TextTable& table, Language language);
    const ResizeFields& fields() const { return fields_; }

    // ---- Handlers (public so that tests drive them as the events do) ----
    void windowActivated();
    void boxTyped(int edit);  // 1..4: Edit1 .. Edit4
    void scrollBarChanged(int side);
    void keepProportionsToggled();
    void desktopSizeToggled();
    void applyResize();

    // The desktop's size in pixels; tests replace it.
    std::function<QSize()> desktopSize;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;  // the note that the ranges were cut
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readBoxes();   // the boxes' texts into the fields
    void showFields();  // the controls follow the fields
    void showLimitNote();

    ResizeWindowHost& host_;
    ResizeFields fields_;
    QString limitNote_;  // "%1 x %2" text of the current language
    bool showing_ = false;
};

}  // namespace gt
