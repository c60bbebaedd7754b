// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the batch, print preview, About and donation windows in each language, for the
// README. Runs only when GT_SCREENSHOT_DIR names a folder (docs/screenshots):
//   GT_SCREENSHOT_DIR=docs/screenshots xvfb-run -a test_app --gtest_filter='Screenshots.*'
#include <gtest/gtest.h>

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_test_support.h"
#include "screenshot_support.h"
#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "imaging/io/picture_io.h"
#include "mainwindow/startup.h"
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

    AboutWindow* about = main->windows.aboutWindow;
    shoot(about, folder + QStringLiteral("/about_window_") + suffix + QStringLiteral(".png"));
    (language == Language::French ? about->Label3 : about->Label2)->clicked();
    shoot(about, folder + QStringLiteral("/about_window_notice_") + suffix + QStringLiteral(".png"));
    about->hide();

    shoot(main->windows.donationWindow, folder + QStringLiteral("/donation_window_") + suffix + QStringLiteral(".png"));
    main->windows.donationWindow->hide();
}

TEST(Screenshots, BatchPrintAboutAndDonationWindowsInEachLanguage) {
    const QString folder = qEnvironmentVariable("GT_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "GT_SCREENSHOT_DIR is not set";
    test::app();
    QDir().mkpath(folder);
    takeWindowScreenshots(Language::French, folder);
    takeWindowScreenshots(Language::Chinese, folder);
    takeWindowScreenshots(Language::English, folder);
}

}  // namespace
}  // namespace gt
