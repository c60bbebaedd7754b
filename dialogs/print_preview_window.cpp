// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/print_preview_window.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "ui/app_pictures.h"
#include "ui/qt_bitmap.h"

namespace gt {

void PagePictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (thumbnail_.isNull() || place_.width <= 0 || place_.height <= 0) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(place_.left, place_.top, place_.width, place_.height), thumbnail_);
}

PrintPreviewWindow::PrintPreviewWindow(PrintPreviewHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    useTiledPalette(this);
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    useFixedSizeFrame(this);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowOpacity(245.0 / 255.0);

    auto label = [this](QWidget* parentWidget, int x, int y, const QString& text = {}) {
        auto* l = new QLabel(text, parentWidget);
        l->move(x, y);
        return l;
    };
    Label6 = label(this, 8, 10);
    Memo1 = new QLineEdit(QStringLiteral("Imprimante par défaut"), this);
    Memo1->setReadOnly(true);
    Memo1->setGeometry(8, 28, 180, 22);
    Memo1->installEventFilter(this);
    BitBtn1 = new QPushButton(QStringLiteral("..."), this);
    BitBtn1->setGeometry(192, 28, 26, 22);

    orientationBox_ = new QGroupBox(QStringLiteral("Orientation "), this);
    orientationBox_->setGeometry(6, 56, 212, 62);
    RadioButton4 = new QRadioButton(orientationBox_);
    RadioButton4->move(10, 18);
    RadioButton5 = new QRadioButton(orientationBox_);
    RadioButton5->move(10, 38);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(6, 124, 212, 198);
    RadioButton1 = new QRadioButton(GroupBox1);
    RadioButton1->move(10, 18);
    RadioButton2 = new QRadioButton(GroupBox1);
    RadioButton2->move(10, 38);
    RadioButton2->setChecked(true);
    RadioButton3 = new QRadioButton(GroupBox1);
    RadioButton3->move(10, 58);
    // The rows sit a little closer than the window's first drawing had them, so that the note under
    // the scale has two lines' room.
    Label2 = label(GroupBox1, 12, 84, QStringLiteral("X :    "));
    Label3 = label(GroupBox1, 44, 84, QStringLiteral("0"));
    Label3->setMinimumWidth(36);
    UpDown2 = new UpDownControl(GroupBox1);
    UpDown2->setGeometry(84, 80, 48, 22);
    UpDown2->setRange(-200, 200);
    Label5 = label(GroupBox1, 12, 108, QStringLiteral("Y :     "));
    Label4 = label(GroupBox1, 44, 108, QStringLiteral("0"));
    Label4->setMinimumWidth(36);
    UpDown3 = new UpDownControl(GroupBox1);
    UpDown3->setGeometry(84, 104, 48, 22);
    UpDown3->setRange(-200, 200);
    Label1 = label(GroupBox1, 12, 128);
    Edit1 = new QLineEdit(QStringLiteral("100%"), GroupBox1);
    Edit1->setGeometry(12, 145, 66, 22);
    UpDown1 = new UpDownControl(GroupBox1);
    UpDown1->setGeometry(84, 145, 48, 22);
    UpDown1->setRange(5, 1000);
    UpDown1->setPosition(100);
    scaleNote_ = label(GroupBox1, 12, 168);
    scaleNote_->setStyleSheet(QStringLiteral("color: #a00000"));
    scaleNote_->setWordWrap(true);
    scaleNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont noteFont = scaleNote_->font();
    noteFont.setPixelSize(11);
    scaleNote_->setFont(noteFont);
    scaleNote_->setGeometry(12, 168, 194, 28);

    Shape1 = new QWidget(this);
    Shape1->setAutoFillBackground(true);
    QPalette silver = Shape1->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    Shape1->setPalette(silver);
    Image1 = new PagePictureWidget(this);
    // Above the page picture, where no page reaches.
    printerNote_ = new QLabel(this);
    printerNote_->setObjectName(QStringLiteral("printerNote"));
    printerNote_->setWordWrap(true);
    printerNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    printerNote_->setGeometry(228, 6, kClientWidth - 228 - 8, 44);
    printerNote_->hide();

    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setGeometry(296, 296, 72, 26);
    Button3 = new QPushButton(this);
    Button3->setGeometry(376, 296, 72, 26);
    // Enter in the scale box sets the scale; it neither prints nor opens the printer's set-up.
    for (QPushButton* b : {BitBtn1, Button2, Button3}) b->setAutoDefault(false);

    connect(Button2, &QPushButton::clicked, this, &PrintPreviewWindow::printDrawing);
    connect(Button3, &QPushButton::clicked, this, &PrintPreviewWindow::cancel);
    connect(BitBtn1, &QPushButton::clicked, this, &PrintPreviewWindow::setUpPrinter);
    connect(RadioButton1, &QRadioButton::clicked, this, &PrintPreviewWindow::fullPageChosen);
    connect(RadioButton2, &QRadioButton::clicked, this, &PrintPreviewWindow::centreChosen);
    connect(RadioButton4, &QRadioButton::clicked, this, &PrintPreviewWindow::portraitChosen);
    connect(RadioButton5, &QRadioButton::clicked, this, &PrintPreviewWindow::landscapeChosen);
    connect(UpDown1, &UpDownControl::clicked, this, &PrintPreviewWindow::scaleStepped);
    connect(UpDown2, &UpDownControl::clicked, this, &PrintPreviewWindow::offsetXStepped);
    connect(UpDown3, &UpDownControl::clicked, this, &PrintPreviewWindow::offsetYStepped);
    connect(Edit1, &QLineEdit::textChanged, this, &PrintPreviewWindow::scaleTyped);
    connect(Edit1, &QLineEdit::editingFinished, this, &PrintPreviewWindow::scaleConfirmed);

    const std::pair<QWidget*, const char*> named[] = {
        {Label6, "Label6"}, {Memo1, "Memo1"}, {BitBtn1, "BitBtn1"}, {RadioButton4, "RadioButton4"}, {RadioButton5, "RadioButton5"},
        {GroupBox1, "GroupBox1"}, {RadioButton1, "RadioButton1"}, {RadioButton2, "RadioButton2"}, {RadioButton3, "RadioButton3"},
        {Label2, "Label2"}, {Label3, "Label3"}, {UpDown2, "UpDown2"}, {Label5, "Label5"}, {Label4, "Label4"}, {UpDown3, "UpDown3"},
        {Label1, "Label1"}, {Edit1, "Edit1"}, {UpDown1, "UpDown1"}, {Image1, "Image1"}, {Shape1, "Shape1"}, {Button2, "Button2"},
        {Button3, "Button3"}};
    for (const auto& [widget, name] : named) widget->setObjectName(QString::fromLatin1(name));

    choosePdfFile = [this] {
        const QString start = lastPdf_.isEmpty()
                                  ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("drawing.pdf"))
                                  : lastPdf_;
        QString name = QFileDialog::getSaveFileName(this, TextTable::of(language_).text(QStringLiteral("Form6.PdfTitle")), start,
                                                    QStringLiteral("PDF (*.pdf)"));
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".pdf");
        return name;
    };

    // Creation: the system's default printer, if there is one; else a PDF file.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    usePrinter(info.isNull() ? nullptr : std::make_unique<QPrinter>(info, QPrinter::HighResolution));
    applyTexts(TextTable::of(Language::French), Language::French);
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::applyTexts(const TextTable& table, Language language) {
    language_ = language;
    if (const auto caption = table.find(QStringLiteral("Form6.caption"))) setWindowTitle(*caption);
    auto set = [&](const char* key, auto* control) {
        if (const auto t = table.find(QStringLiteral("Form6.") + QLatin1String(key))) {
            QString shown = *t;
            if constexpr (!std::is_same_v<std::remove_pointer_t<decltype(control)>, QLabel>) shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
            control->setText(shown);
            control->adjustSize();
        }
    };
    set("Label6", Label6);
    set("Label1", Label1);
    set("Label3", Label3);
    set("Label4", Label4);
    showOffsets();  // the labels show the offsets, whatever the table's placeholder
    set("Label2", Label2);
    set("Label5", Label5);
    set("Button2", Button2);
    set("Button3", Button3);
    set("BitBtn1", BitBtn1);
    set("RadioButton4", RadioButton4);
    set("RadioButton5", RadioButton5);
    set("RadioButton1", RadioButton1);
    set("RadioButton2", RadioButton2);
    set("RadioButton3", RadioButton3);
    if (const auto t = table.find(QStringLiteral("Form6.GroupBox1"))) GroupBox1->setTitle(*t);
    if (const auto t = table.find(QStringLiteral("Form6.Orientation"))) orientationBox_->setTitle(*t);
    for (QPushButton* b : {Button2, Button3}) b->resize(72, 26);
    BitBtn1->resize(26, 22);
    if (!scaleNote_->text().isEmpty()) scaleNote_->setText(table.text(QStringLiteral("Form6.NotANumber")));
    printerNote_->setText(table.text(QStringLiteral("Form6.NoPrinter")));
    showPrinterName();
}

QString PrintPreviewWindow::controlText(const QString& name) const {
    QWidget* w = findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    return {};
}

void PrintPreviewWindow::usePrinter(std::unique_ptr<QPrinter> printer) {
    worker_.wait();
    noPrinter_ = printer == nullptr;
    if (noPrinter_) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
    }
    printer_ = std::move(printer);
    printerNote_->setVisible(noPrinter_);
    showPrinterName();
    updatePreview();
}

bool PrintPreviewWindow::printsToPdf() const { return printer_->outputFormat() == QPrinter::PdfFormat; }

void PrintPreviewWindow::showPrinterName() {
    if (!printer_) return;
    QString name = printer_->printerName();
    if (printsToPdf()) {
        const QString file = QFileInfo(printer_->outputFileName()).fileName();
        name = noPrinter_ || file.isEmpty() ? TextTable::of(language_).text(QStringLiteral("Form6.PdfPrinter")) : file;
    }
    Memo1->setText(name);
    Memo1->setCursorPosition(0);
}

PageDevice PrintPreviewWindow::pageDevice() const {
    PageDevice page;
    if (!printer_) return page;
    page.PW = printer_->width();
    page.PH = printer_->height();
    const int screenX = screenDpi_.value_or(logicalDpiX()), screenY = screenDpi_.value_or(logicalDpiY());
    page.DX = {printer_->logicalDpiX(), screenX};
    page.DY = {printer_->logicalDpiY(), screenY};
    return page;
}

// ---- Showing and the preview --------------------------------------------------------------------

void PrintPreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowShown();
    updatePreview();
}

void PrintPreviewWindow::windowShown() {
    if (worker_.running()) return;
    const QSize drawing = host_.drawingSize();
    const bool landscape = landscapeFor(drawing.width(), drawing.height());
    setOrientation(landscape);
    (landscape ? RadioButton5 : RadioButton4)->setChecked(true);
}

void PrintPreviewWindow::setOrientation(bool landscape) {
    if (printer_) printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void PrintPreviewWindow::drawingChanged() {
    thumbnailStale_ = true;
    if (isVisible()) updatePreview();
}

void PrintPreviewWindow::updateThumbnail() {
    if (!thumbnailStale_) return;
    thumbnailStale_ = false;
    // A few hundred pixels are plenty for a page picture of 130: they are picked from the drawing
    // itself, which costs the same whatever its size, and the page picture smooths them.
    constexpr int kLongest = 520;
    const Bitmap& drawing = host_.drawingImage();
    const int W = drawing.width(), H = drawing.height();
    if (drawing.empty()) {
        thumbnail_ = QImage();
        return;
    }
    const int longest = std::max(W, H);
    const int tw = longest > kLongest ? std::max(1, int(qint64(W) * kLongest / longest)) : W;
    const int th = longest > kLongest ? std::max(1, int(qint64(H) * kLongest / longest)) : H;
    thumbnail_ = QImage(tw, th, QImage::Format_BGR888);
    for (int y = 0; y < th; ++y) {
        const std::uint8_t* from = drawing.row(int(qint64(y) * H / th));
        std::uint8_t* to = thumbnail_.scanLine(y);
        for (int x = 0; x < tw; ++x) std::memcpy(to + 3 * x, from + 3 * (qint64(x) * W / tw), 3);
    }
}

// Full page: the scale follows the page and the drawing.
void PrintPreviewWindow::followFullPage() {
    if (!RadioButton1->isChecked()) return;
    const QSize drawing = host_.drawingSize();
    const int s = fullPageScale(pageDevice(), drawing.width(), drawing.height());
    if (Edit1->text() != QString::number(s) + QLatin1Char('%')) setScaleText(s);
}

void PrintPreviewWindow::updatePreview() {
    // While a page is being printed the printer belongs to the worker.
    if (!printer_ || worker_.running()) return;
    followFullPage();
    const PageDevice page = pageDevice();
    picture_ = pagePicture(page, printer_->pageLayout().orientation() == QPageLayout::Landscape);
    const PrintRect place = pagePicturePlace(picture_, width(), height());
    Image1->setGeometry(place.left, place.top, place.width, place.height);
    Shape1->setGeometry(place.left + 7, place.top + 7, place.width, place.height);
    const QSize drawing = host_.drawingSize();
    updateThumbnail();
    Image1->setDrawing(thumbnail_, previewRect(page, picture_, drawing.width(), drawing.height(), scale(), offsetX(), offsetY()));
}

void PrintPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(223, 223, 223));
    paintTiled(painter, rect(), AppPictures::get().background());
}

// ---- Placement and scale ------------------------------------------------------------------------

void PrintPreviewWindow::setOffsets(int x, int y) {
    offsetX_ = x;
    offsetY_ = y;
    showOffsets();
}

void PrintPreviewWindow::showOffsets() {
    Label3->setText(QString::number(offsetX_));
    Label4->setText(QString::number(offsetY_));
}

void PrintPreviewWindow::setScaleText(int s) {
    settingScale_ = true;
    Edit1->setText(QString::number(s) + QLatin1Char('%'));
    settingScale_ = false;
}

void PrintPreviewWindow::fullPageChosen() {
    if (worker_.running()) return;
    RadioButton1->setChecked(true);
    setOffsets(0, 0);
    UpDown2->setPosition(0);
    UpDown3->setPosition(0);
    const QSize drawing = host_.drawingSize();
    setScaleText(fullPageScale(pageDevice(), drawing.width(), drawing.height()));
    updatePreview();
}

void PrintPreviewWindow::centreChosen() {
    RadioButton2->setChecked(true);
    setOffsets(0, 0);
    UpDown2->setPosition(0);
    UpDown3->setPosition(0);
    updatePreview();
}

void PrintPreviewWindow::portraitChosen() {
    setOrientation(false);
    updatePreview();
}

void PrintPreviewWindow::landscapeChosen() {
    setOrientation(true);
    updatePreview();
}

void PrintPreviewWindow::scaleStepped(int position) {
    RadioButton3->setChecked(true);
    setScaleText(position);
    updatePreview();
}

void PrintPreviewWindow::offsetXStepped(int position) {
    RadioButton3->setChecked(true);
    setOffsets(position, offsetY_);
    updatePreview();
}

void PrintPreviewWindow::offsetYStepped(int position) {
    RadioButton3->setChecked(true);
    setOffsets(offsetX_, position);
    updatePreview();
}

void PrintPreviewWindow::scaleTyped(const QString& typed) {
    QString number = typed;
    if (number.endsWith(QLatin1Char('%'))) number.chop(1);
    bool ok = false;
    const int value = number.trimmed().toInt(&ok);
    // A text that is not a number keeps the scale, and the window says so.
    scaleNote_->setText(ok ? QString() : TextTable::of(language_).text(QStringLiteral("Form6.NotANumber")));
    if (!ok) return;
    // A scale typed over "full page" is the one wanted: the placement becomes custom, as the scale's
    // arrows make it, and the page no longer sets the scale.
    if (!settingScale_ && RadioButton1->isChecked()) RadioButton3->setChecked(true);
    UpDown1->setPosition(value);
    updatePreview();
}

void PrintPreviewWindow::scaleConfirmed() {
    // The box shows the scale in force: 99999 becomes 1000, -50 becomes 5.
    const QString shown = QString::number(scale()) + QLatin1Char('%');
    if (Edit1->text() != shown) setScaleText(scale());
}

// ---- The printer and printing -------------------------------------------------------------------

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyPress)) {
        setUpPrinter();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PrintPreviewWindow::setUpPrinter() {
    if (!printer_ || worker_.running()) return;
    QPrintDialog dialog(printer_.get(), this);
    // A PDF file is always offered. The dialog only chooses: the window's OK prints, so its button
    // says so.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(TextTable::of(language_).text(QStringLiteral("Form6.SetupOk")));
    dialog.exec();
    showPrinterName();
    updatePreview();
}

void PrintPreviewWindow::printDrawing() {
    if (!printer_ || worker_.running()) return;
    // Without a printer the page goes into the file the user chooses now; none chosen, no page.
    if (printsToPdf() && (noPrinter_ || printer_->outputFileName().isEmpty())) {
        const QString file = choosePdfFile ? choosePdfFile() : QString();
        if (file.isEmpty()) return;
        lastPdf_ = file;
        printer_->setOutputFileName(file);
    }
    updatePreview();
    const QImage drawing = toQImage(host_.drawingImage());
    const PrintRect r = printRect(pageDevice(), picture_, drawing.width(), drawing.height(), scale(), offsetX(), offsetY());
    lastPrint_ = r;
    auto error = std::make_shared<QString>();
    QPrinter* printer = printer_.get();
    const QString failed = TextTable::of(language_).text(QStringLiteral("Form6.PrintFailed"));
    // The page is drawn on a worker: a large drawing takes a while to send at the printer's
    // resolution. The job is ended on every path.
    setEnabled(false);
    worker_.run([printer, drawing, r, error, failed] {
        QPainter painter;
        if (!painter.begin(printer)) {
            *error = failed;
            return;
        }
        painter.fillRect(QRect(0, 0, printer->width(), printer->height()), Qt::white);
        if (r.width > 0 && r.height > 0) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(r.left, r.top, r.width, r.height), drawing);
        }
        if (!painter.end()) *error = failed;
    }, [this, error](std::exception_ptr) {
        setEnabled(true);
        close();
        emit printed(*error);
    });
}

}  // namespace gt
