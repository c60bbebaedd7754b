// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print preview window: the printer, the paper's orientation, how the drawing is placed on the
// page (full page, centred, or moved by hand) and scaled, a small page picture drawn again whenever
// the drawing or the layout changes, and OK, which prints one page and closes the window. Creating
// it looks for the system's default printer; without one the page goes into a PDF file, and the
// window says so. The arithmetic is in print_layout.h; the printing itself runs on a worker.

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "dialogs/print_layout.h"
#include "imaging/bitmap.h"
#include "ui/language.h"
#include "ui/widgets.h"
#include "ui/worker.h"

class QPrinter;
class QGroupBox;

namespace gt {

// What the window needs from the main window.
class PrintPreviewHost {
public:
    virtual ~PrintPreviewHost() = default;
    virtual const Bitmap& drawingImage() const = 0;  // DrawingImage itself, at its own size (BW x BH)
    virtual QSize drawingSize() const = 0;      // DrawingWidth, DrawingHeight
};

// The white page with the drawing where it will be printed.
class PagePictureWidget : public QWidget {
public:
    using QWidget::QWidget;
    void setDrawing(const QImage& thumbnail, const PrintRect& place) {
        thumbnail_ = thumbnail;
        place_ = place;
        update();
    }
    const PrintRect& place() const { return place_; }
    const QImage& thumbnail() const { return thumbnail_; }
protected:
    void paintEvent(QPaintEvent* event) override;
private:
    QImage thumbnail_;
    PrintRect place_;
};

class PrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 456;
    static constexpr int kClientHeight = 329;

    PrintPreviewWindow(PrintPreviewHost& host, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    void applyTexts(const TextTable& table, Language language);
    // Whether the system has a printer; without one the page goes into a PDF file.
    bool hasPrinter() const { return !noPrinter_; }
    // Prints to this printer from now on (the tests' PDF printer); none: into a PDF file, as on a
    // system without a printer.
    void usePrinter(std::unique_ptr<QPrinter> printer);
    // The file a page goes into when there is no printer (the save dialog; tests put their own
    // answer); empty: nothing is printed.
    std::function<QString()> choosePdfFile;
    // The drawing was replaced or written on: the page picture is made again from it.
    void drawingChanged();
    QLabel* printerNote() const { return printerNote_; }
    // The screen's pixels per inch the window counts with; the window's own when not set.
    void setScreenDpi(std::optional<int> dpi) { screenDpi_ = dpi; }
    PageDevice pageDevice() const;
    // A control's shown text, by its name.
    QString controlText(const QString& name) const;

    // ---- Handlers ----
    void windowShown();
    void updatePreview();  // the page picture drawn again
    void printDrawing();   // OK
    void cancel() { close(); }
    void setUpPrinter();   // the printer set-up dialog
    void fullPageChosen();
    void centreChosen();
    void portraitChosen();
    void landscapeChosen();
    void scaleStepped(int position);
    void offsetXStepped(int position);
    void offsetYStepped(int position);
    void scaleTyped(const QString& text);
    void scaleConfirmed();  // the scale box was left or Enter pressed in it

    int scale() const { return UpDown1->position(); }
    int offsetX() const { return offsetX_; }
    int offsetY() const { return offsetY_; }
    PagePicture pagePictureSize() const { return picture_; }
    const PagePictureWidget* pageWidget() const { return Image1; }
    // Where the last print put the drawing, in page dots.
    const PrintRect& lastPrint() const { return lastPrint_; }

    QLineEdit* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    UpDownControl* UpDown1 = nullptr;
    UpDownControl* UpDown2 = nullptr;
    UpDownControl* UpDown3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* scaleNote_ = nullptr;  // says when the typed scale is not a number
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

signals:
    // A print has ended; `error` is empty when the page went to the printer.
    void printed(const QString& error);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setOrientation(bool landscape);
    void setScaleText(int scale);
    void setOffsets(int x, int y);  // the place on the page, shown by Label3 and Label4
    void showOffsets();
    void updateThumbnail();
    void followFullPage();
    void showPrinterName();
    bool printsToPdf() const;

    PrintPreviewHost& host_;
    Language language_ = Language::French;
    std::unique_ptr<QPrinter> printer_;
    bool noPrinter_ = false;
    QString lastPdf_;
    std::optional<int> screenDpi_;
    PagePicture picture_;
    PrintRect lastPrint_;
    QImage thumbnail_;
    bool thumbnailStale_ = true;
    bool settingScale_ = false;
    int offsetX_ = 0, offsetY_ = 0;
    Worker worker_;

    QLabel* Label6 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* orientationBox_ = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QWidget* Shape1 = nullptr;
    PagePictureWidget* Image1 = nullptr;
    QLabel* printerNote_ = nullptr;  // says that there is no printer
};

}  // namespace gt
