// SPDX-License-Identifier: GPL-3.0-or-later
// The print arithmetic with the numbers of the examples, and pages printed into PDF files whose
// drawing is found again with pdftoppm.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app_test_support.h"
#include "dialogs/print_layout.h"
#include "dialogs/print_preview_window.h"

namespace gt {
namespace {

const PageDevice kExamplePage{4800, 6600, {600, 100}, {600, 100}};  // six dots per screen pixel

TEST(PrintLayout, FullPageScaleAndPrintedSizeOfTheExample) {
    EXPECT_EQ(fullPageScale(kExamplePage, 1000, 1500), 6600 * 100 / 9000 - 5);
    EXPECT_EQ(fullPageScale(kExamplePage, 1000, 1500), 68);
    const PagePicture portrait = pagePicture(kExamplePage, false);
    EXPECT_EQ(portrait.IW, 130);
    EXPECT_EQ(portrait.IH, 137 * 130 / 100);
    EXPECT_EQ(printRect(kExamplePage, portrait, 1000, 1500, 68, 0, 0), (PrintRect{482, 424, 3835, 5752}));
    EXPECT_EQ(previewRect(kExamplePage, portrait, 1000, 1500, 68, 0, 0), (PrintRect{10, 7, 110, 163}));
    // 200 preview pixels move the print by more than a page width.
    EXPECT_EQ(printRect(kExamplePage, portrait, 1000, 1500, 68, 200, 0).left, 482 + 4800 * 100 * 200 / 130 / 100);
    EXPECT_GT(printRect(kExamplePage, portrait, 1000, 1500, 68, 200, 0).left, 4800);
    const PagePicture landscape = pagePicture(kExamplePage, true);
    EXPECT_EQ(landscape.IH, 130);
    EXPECT_EQ(landscape.IW, 130 * 100 / 137);
    EXPECT_EQ(pagePicturePlace(portrait, 456, 329), (PrintRect{(456 - 130 - 180) / 2 + 180, (329 - 178) / 2, 130, 178}));
    // A drawing of 2000 x 1000 is printed across the paper; 1000 x 2000 and 1000 x 1000 along it.
    EXPECT_TRUE(landscapeFor(2000, 1000));
    EXPECT_FALSE(landscapeFor(1000, 2000));
    EXPECT_FALSE(landscapeFor(1000, 1000));
}

TEST(PrintLayout, FullPageNeverRunsOffThePaper) {
    // A landscape drawing less wide than a landscape page: by its width alone it would be printed
    // 4850 dots high on a page of 4800.
    const PageDevice page{6600, 4800, {6, 1}, {6, 1}};
    EXPECT_EQ(fullPageScale(page, 1200, 1000), 4800 * 100 / 6000 - 5);
    const PrintRect r = printRect(page, pagePicture(page, true), 1200, 1000, fullPageScale(page, 1200, 1000), 0, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.top + r.height, 4800);
    EXPECT_EQ(fullPageScale(page, 1500, 1000), 6600 * 100 / 9000 - 5);  // the width decides
}

TEST(PrintLayout, ADeviceCoarserThanTheScreenStillGetsTheDrawing) {
    // A 72 dpi page on a 96 dpi screen: whole dots per pixel would be 0 and the page empty.
    const PageDevice letter{612, 792, {72, 96}, {72, 96}};
    EXPECT_EQ(printRect(letter, pagePicture(letter, false), 400, 300, 100, 0, 0), (PrintRect{(612 - 282) / 2, (792 - 211) / 2, 282, 211}));
    EXPECT_EQ(fullPageScale(letter, 400, 300), 612 * 100 / 300 - 5);
    EXPECT_GT(previewRect(letter, pagePicture(letter, false), 400, 300, 100, 0, 0).width, 0);
    // Nothing to divide by: nothing drawn, no fault.
    EXPECT_EQ(previewRect(letter, pagePicture(letter, false), 0, 0, 100, 0, 0), PrintRect{});
    EXPECT_EQ(printRect(PageDevice{}, pagePicture(PageDevice{}, false), 10, 10, 100, 0, 0), PrintRect{});
}

class Drawing : public PrintPreviewHost {
public:
    explicit Drawing(QSize size) : image_(size, QImage::Format_RGB32) { image_.fill(QColor(40, 40, 40)); }
    QImage drawingPicture() const override { return image_; }
    QSize drawingSize() const override { return image_.size(); }
private:
    QImage image_;
};

class PdfPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<PrintPreviewWindow>(drawing);
        window->setScreenDpi(100);
    }
    // A 600 dpi PDF printer with an 8 x 11 inch page and no margins: 4800 x 6600 dots.
    void usePdf(const QString& name) {
        pdf = dir.filePath(name);
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setResolution(600);
        printer->setPageSize(QPageSize(QSizeF(8, 11), QPageSize::Inch, QString(), QPageSize::ExactMatch));
        printer->setPageMargins(QMarginsF(0, 0, 0, 0));
        window->usePrinter(std::move(printer));
    }
    bool print() {
        QSignalSpy printed(window.get(), &PrintPreviewWindow::printed);
        window->printDrawing();
        if (!printed.wait(30000)) return false;
        return printed.first().first().toString().isEmpty();
    }
    // The dark rectangle of the page rendered at 60 dpi, in page dots (10 dots a pixel).
    QRect inkOnPage() {
        const QString stem = dir.filePath(QStringLiteral("page"));
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                                                      QStringLiteral("-singlefile"), pdf, stem});
        const QImage page(stem + QStringLiteral(".png"));
        EXPECT_EQ(page.size(), QSize(480, 660));
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
        return QRect(ink.x() * 10, ink.y() * 10, ink.width() * 10, ink.height() * 10);
    }
    static void expectNear(const QRect& found, const PrintRect& expected) {
        EXPECT_NEAR(found.left(), expected.left, 10);
        EXPECT_NEAR(found.top(), expected.top, 10);
        EXPECT_NEAR(found.width(), expected.width, 20);
        EXPECT_NEAR(found.height(), expected.height, 20);
    }

    QTemporaryDir dir;
    Drawing drawing{QSize(1000, 1500)};
    std::unique_ptr<PrintPreviewWindow> window;
    QString pdf;
};

TEST_F(PdfPrint, FullPageCentredAndMovedPagesShowTheDrawingWhereTheNumbersSay) {
    usePdf(QStringLiteral("full.pdf"));
    EXPECT_EQ(window->pageDevice().PW, 4800);
    EXPECT_EQ(window->pageDevice().PH, 6600);
    window->show();
    EXPECT_TRUE(window->RadioButton4->isChecked());  // a portrait drawing
    window->fullPageChosen();
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("68%"));
    EXPECT_EQ(window->scale(), 68);
    ASSERT_TRUE(print());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->lastPrint(), (PrintRect{482, 424, 3835, 5752}));
    expectNear(inkOnPage(), window->lastPrint());

    // Centred at 50 %, typed.
    usePdf(QStringLiteral("centred.pdf"));
    window->show();
    window->centreChosen();
    window->Edit1->setText(QStringLiteral("50%"));
    EXPECT_EQ(window->scale(), 50);
    ASSERT_TRUE(print());
    EXPECT_EQ(window->lastPrint(), (PrintRect{990, 1185, 2820, 4230}));
    expectNear(inkOnPage(), window->lastPrint());

    // Moved by hand: 10 preview pixels right, 5 up.
    usePdf(QStringLiteral("moved.pdf"));
    window->show();
    for (int i = 0; i < 10; ++i) window->UpDown2->stepBy(1);
    for (int i = 0; i < 5; ++i) window->UpDown3->stepBy(-1);
    EXPECT_TRUE(window->RadioButton3->isChecked());
    EXPECT_EQ(window->controlText(QStringLiteral("Label3")), QStringLiteral("10"));
    ASSERT_TRUE(print());
    EXPECT_EQ(window->lastPrint(), (PrintRect{990 + 4800 * 100 * 10 / 130 / 100, 1185 + 6600 * 100 * -5 / 178 / 100, 2820, 4230}));
    expectNear(inkOnPage(), window->lastPrint());
}

TEST_F(PdfPrint, ATypedScaleThatIsNoNumberKeepsTheScaleAndSaysSo) {
    usePdf(QStringLiteral("any.pdf"));
    window->show();
    window->Edit1->setText(QStringLiteral("120%"));
    EXPECT_EQ(window->scale(), 120);
    window->Edit1->setText(QStringLiteral("12a%"));
    EXPECT_EQ(window->scale(), 120);
    EXPECT_FALSE(window->scaleNote_->text().isEmpty());
    window->Edit1->setText(QStringLiteral("4000"));
    EXPECT_EQ(window->scale(), 1000);
    EXPECT_TRUE(window->scaleNote_->text().isEmpty());
    // A landscape drawing turns the paper.
    Drawing wide{QSize(2000, 1000)};
    PrintPreviewWindow other(wide);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(dir.filePath(QStringLiteral("wide.pdf")));
    other.usePrinter(std::move(printer));
    other.show();
    EXPECT_TRUE(other.RadioButton5->isChecked());
    EXPECT_EQ(other.pagePictureSize().IH, 130);
    EXPECT_GT(other.pageDevice().PW, other.pageDevice().PH);
}

}  // namespace
}  // namespace gt
