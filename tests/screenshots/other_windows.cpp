// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the batch, print preview, About and donation windows in each language, for the
// README (`make screenshots`).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app_test_support.h"
#include "screenshot_support.h"
#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/startup.h"
#include "pipeline/window/style_gallery_window.h"
#include "ui/qt_bitmap.h"

namespace gt {
namespace {

void shoot(QWidget* window, const QString& path) {
    window->show();
    window->raise();
    QTest::qWait(300);
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

void takeWindowScreenshots(Language language, const QString& folder) {
    auto main = test::screenshotWindow(language, QStringLiteral(GT_ASSET_DIR "/sample_drawing.jpg"), QSize(1000, 700));
    ASSERT_TRUE(main);
    main->windows.parameterWindow->hide();
    const QString suffix = languageCode(language);

    BatchWindow* batch = main->windows.batchWindow;
    batch->addFiles({QStringLiteral("/home/anne/Photos/chat.jpg"), QStringLiteral("/home/anne/Photos/jardin.jpg"),
                     QStringLiteral("/home/anne/Photos/plage 2024.jpeg"), QStringLiteral("/home/anne/Photos/portrait.png")});
    shoot(batch, folder + QStringLiteral("/batch_window_") + suffix + QStringLiteral(".png"));

    // The report at the end of a run: two photos drawn, one file that is no picture.
    {
        QTemporaryDir work;
        const QString drawings = work.filePath(QStringLiteral("Drawings"));
        QDir(work.path()).mkdir(QStringLiteral("Drawings"));
        QStringList photos;
        for (const char* name : {"chat.jpg", "jardin.jpg"}) {
            photos << work.filePath(QString::fromLatin1(name));
            writePicture(test::testPhoto(160, 120), photos.last().toStdString());
        }
        photos << work.filePath(QStringLiteral("notes.jpg"));
        QFile notes(photos.last());
        if (notes.open(QIODevice::WriteOnly)) notes.write("not a picture");
        notes.close();
        batch->clearList();
        batch->addFiles(photos);
        batch->setDestination(drawings);
        QString report;
        batch->showReport = [&report](const QString& r) { report = r; };
        QTimer sketch;
        QObject::connect(&sketch, &QTimer::timeout, [&] {
            if (!main->windows.parameterWindow->isVisible()) return;
            sketch.stop();
            QTest::mouseClick(main->windows.parameterWindow->Button1, Qt::LeftButton);
        });
        sketch.start(20);
        QTest::mouseClick(batch->Button5, Qt::LeftButton);
        if (QTest::qWaitFor([&] { return !report.isEmpty(); }, 120000)) {
            QMessageBox box(QMessageBox::Information, batch->windowTitle(), report, QMessageBox::Ok, main.get());
            shoot(&box, folder + QStringLiteral("/batch_summary_") + suffix + QStringLiteral(".png"));
        }
        batch->clearList();
    }
    batch->hide();

    QTemporaryDir dir;
    PrintPreviewWindow* print = main->windows.printPreviewWindow;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    printer->setPageSize(QPageSize(QPageSize::A4));
    print->usePrinter(std::move(printer));
    print->fullPageChosen();
    shoot(print, folder + QStringLiteral("/print_preview_window_") + suffix + QStringLiteral(".png"));
    if (language == Language::French) {
        // The page as printed, at 50 dpi.
        QSignalSpy printed(print, &PrintPreviewWindow::printed);
        print->printDrawing();
        ASSERT_TRUE(printed.wait(30000));
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                                      dir.filePath(QStringLiteral("page.pdf")), folder + QStringLiteral("/printed_page")});
    }
    print->hide();
    // The same window on a system without a printer: the page goes into a PDF file, and it says so.
    print->usePrinter(nullptr);
    print->centreChosen();
    shoot(print, folder + QStringLiteral("/print_preview_no_printer_") + suffix + QStringLiteral(".png"));
    print->hide();

    AboutWindow* about = main->windows.aboutWindow;
    shoot(about, folder + QStringLiteral("/about_window_") + suffix + QStringLiteral(".png"));
    (language == Language::French ? about->Label3 : about->Label2)->clicked();
    shoot(about, folder + QStringLiteral("/about_window_notice_") + suffix + QStringLiteral(".png"));
    about->hide();

    shoot(main->windows.donationWindow, folder + QStringLiteral("/donation_window_") + suffix + QStringLiteral(".png"));
    main->windows.donationWindow->hide();

    // The nine styles of the parameter window's crop, opened with the button under its preview.
    ParameterWindow* parameters = main->windows.parameterWindow;
    parameters->show();
    parameters->showStylesButton->click();
    StyleGalleryWindow* gallery = parameters->styleGallery();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gallery->picturesMade() == kStyleCount; }, 120000));
    parameters->previewTick();
    EXPECT_TRUE(test::waitForPresetPictures(*parameters));
    shoot(parameters, folder + QStringLiteral("/parameter_window_gallery_button_") + suffix + QStringLiteral(".png"));
    shoot(gallery, folder + QStringLiteral("/style_gallery_") + suffix + QStringLiteral(".png"));
    gallery->hide();
    parameters->hide();
}

TEST(Screenshots, BatchPrintAboutAndDonationWindowsInEachLanguage) {
    const QString folder = test::screenshotFolder();
    test::app();
    test::ScreenshotPresetFolder presets;
    takeWindowScreenshots(Language::French, folder);
    takeWindowScreenshots(Language::Chinese, folder);
    takeWindowScreenshots(Language::English, folder);
}

}  // namespace
}  // namespace gt
