// SPDX-License-Identifier: GPL-3.0-or-later
// The print arithmetic with the numbers of the examples, and pages printed into PDF files whose
// drawing is found again with pdftoppm.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app_test_support.h"
#include "dialogs/print_layout.h"
#include "dialogs/print_preview_window.h"
#include "ui/language.h"

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
    explicit Drawing(QSize size) : image_(size.width(), size.height()) { fill(Colour{40, 40, 40}); }
    const Bitmap& drawingImage() const override {
        ++reads;
        return image_;
    }
    QSize drawingSize() const override { return QSize(image_.width(), image_.height()); }
    void fill(Colour c) { image_.fill(c); }
    mutable int reads = 0;  // how often the window read the drawing
private:
    Bitmap image_;
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
    QRect inkOnPage(bool exactPage = true) {
        const QString stem = dir.filePath(QStringLiteral("page"));
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                                                      QStringLiteral("-singlefile"), pdf, stem});
        const QImage page(stem + QStringLiteral(".png"));
        if (exactPage) {
            EXPECT_EQ(page.size(), QSize(480, 660));
        }
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

// Without a printer the window offers a PDF file: it says so plainly, places its page picture, and
// OK writes the page into the file chosen.
TEST_F(PdfPrint, WithoutAPrinterThePageGoesToAPdfFile) {
    window->usePrinter(nullptr);
    EXPECT_FALSE(window->hasPrinter());
    const QString chosen = dir.filePath(QStringLiteral("chosen.pdf"));
    int asked = 0;
    window->choosePdfFile = [&] {
        ++asked;
        return chosen;
    };
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(window->printerNote()->isVisible());
    EXPECT_EQ(window->printerNote()->text(), TextTable::of(Language::French).text(QStringLiteral("Form6.NoPrinter")));
    const PagePicture page = window->pagePictureSize();
    EXPECT_EQ(window->pageWidget()->size(), QSize(page.IW, page.IH));
    EXPECT_GT(window->pageWidget()->x(), 180);
    EXPECT_FALSE(window->pageWidget()->geometry().intersects(window->printerNote()->geometry()));
    for (const Language language : {Language::Chinese, Language::English, Language::French}) {
        window->applyTexts(TextTable::of(language), language);
        EXPECT_EQ(window->printerNote()->text(), TextTable::of(language).text(QStringLiteral("Form6.NoPrinter")));
        EXPECT_FALSE(window->printerNote()->text().isEmpty());
    }
    QSignalSpy printed(window.get(), &PrintPreviewWindow::printed);
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    ASSERT_TRUE(printed.wait(30000));
    EXPECT_TRUE(printed.first().first().toString().isEmpty());
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window->isVisible());
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    pdf = chosen;
    EXPECT_FALSE(inkOnPage(false).isEmpty());

    // No file chosen: nothing is printed and the window stays.
    window->choosePdfFile = [] { return QString(); };
    window->show();
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
}

// The printer set-up dialog's button chooses, it does not print: it says so in each language.
TEST_F(PdfPrint, ThePrinterSetUpButtonSaysWhatItDoes) {
    window->usePrinter(nullptr);
    for (const Language language : {Language::French, Language::Chinese, Language::English}) {
        window->applyTexts(TextTable::of(language), language);
        window->show();
        QString shown;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            seen = true;
            if (auto* box = dialog->findChild<QDialogButtonBox*>())
                if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) shown = ok->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        ASSERT_TRUE(seen);
        EXPECT_EQ(shown, TextTable::of(language).text(QStringLiteral("Form6.SetupOk"))) << int(language);
        window->hide();
    }
}

// The scale box shows the scale in force once typed; typing with "full page" chosen makes the
// placement custom, so the typed scale stays; the arrows repeat while held.
TEST_F(PdfPrint, TheScaleBoxShowsTheScaleInForce) {
    usePdf(QStringLiteral("scale.pdf"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const struct { const char* typed; int scale; } cases[] = {{"99999", 1000}, {"-50", 5}, {"1", 5}, {"250", 250}};
    for (const auto& c : cases) {
        window->Edit1->selectAll();
        QTest::keyClicks(window->Edit1, QString::fromLatin1(c.typed));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        EXPECT_EQ(window->scale(), c.scale) << c.typed;
        EXPECT_EQ(window->Edit1->text(), QString::number(c.scale) + QLatin1Char('%')) << c.typed;
    }
    // While typing, the box is left alone: 150 can be typed through 1 and 15.
    window->Edit1->selectAll();
    QTest::keyClicks(window->Edit1, QStringLiteral("150"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("150"));
    EXPECT_EQ(window->scale(), 150);

    QTest::mouseClick(window->RadioButton1, Qt::LeftButton);
    ASSERT_TRUE(window->RadioButton1->isChecked());
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("68%"));
    window->Edit1->selectAll();
    QTest::keyClicks(window->Edit1, QStringLiteral("40"));
    QTest::qWait(700);
    EXPECT_EQ(window->scale(), 40);
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("40"));
    EXPECT_TRUE(window->RadioButton3->isChecked());

    // The French note fits its box.
    window->Edit1->selectAll();
    QTest::keyClicks(window->Edit1, QStringLiteral("x"));
    ASSERT_FALSE(window->scaleNote_->text().isEmpty());
    EXPECT_TRUE(window->scaleNote_->wordWrap());
    EXPECT_LE(window->scaleNote_->heightForWidth(window->scaleNote_->width()), window->scaleNote_->height());
    EXPECT_TRUE(window->scaleNote_->parentWidget()->rect().contains(window->scaleNote_->geometry()));

    // An arrow held down steps on and on.
    QToolButton* right = window->UpDown2->findChildren<QToolButton*>().value(1);
    ASSERT_NE(right, nullptr);
    EXPECT_TRUE(right->autoRepeat());
    QTest::mousePress(right, Qt::LeftButton);
    QTest::qWait(1500);
    QTest::mouseRelease(right, Qt::LeftButton);
    EXPECT_GT(window->offsetX(), 3);
}

// The page picture is made again when the drawing changes, from the drawing itself, and not on a
// clock: an open window reads nothing while nothing changes.
TEST_F(PdfPrint, ThePagePictureFollowsTheDrawingNotAClock) {
    usePdf(QStringLiteral("clock.pdf"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const int reads = drawing.reads;
    EXPECT_GT(reads, 0);
    QTest::qWait(1300);
    EXPECT_EQ(drawing.reads, reads);
    EXPECT_EQ(qGray(window->pageWidget()->thumbnail().pixel(4, 4)), 40);

    drawing.fill(Colour{230, 230, 230});
    window->drawingChanged();
    EXPECT_GT(qGray(window->pageWidget()->thumbnail().pixel(4, 4)), 200);
    // A layout change redraws the page picture; the thumbnail is not made again.
    const int afterChange = drawing.reads;
    QTest::mouseClick(window->RadioButton5, Qt::LeftButton);
    EXPECT_EQ(drawing.reads, afterChange);
    EXPECT_EQ(window->pagePictureSize().IH, 130);
}

}  // namespace
}  // namespace gt
