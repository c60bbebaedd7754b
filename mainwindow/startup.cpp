// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/startup.h"

#include "batch/batch_window.h"
#include "dialogs/about_window.h"
#include "dialogs/donation_window.h"
#include "dialogs/print_preview_window.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/full_screen_window.h"

namespace gt {

QStringList windowCreationOrder() {
    return {QStringLiteral("Form1"), QStringLiteral("Form10"), QStringLiteral("Form11"), QStringLiteral("Form9"),
            QStringLiteral("Form8"), QStringLiteral("Form2"),  QStringLiteral("Form3"),  QStringLiteral("Form4"),
            QStringLiteral("Form5"), QStringLiteral("Form6"),  QStringLiteral("Form7")};
}

std::unique_ptr<MainWindow> createWindows(Language language) {
    auto main = std::make_unique<MainWindow>();
    AppWindows& w = main->windows;
    w.Form1 = main.get();
    w.Form10 = new ResizeWindow(*main, main.get());
    w.Form11 = new RetouchWindow(*main, main.get());
    w.Form9 = new AddTextWindow(*main, main.get());
    w.Form8 = new DonationWindow(main.get());
    w.Form2 = new BatchWindow(*main, main.get());
    QObject::connect(main.get(), &MainWindow::renderFinished, w.Form2, &BatchWindow::renderingEnded);
    w.Form3 = new AboutWindow(main.get());
    w.Form4 = new ParameterWindow(*main, main->resources(), main.get());
    w.Form5 = new FramesWindow(*main, main.get());
    w.Form6 = new PrintPreviewWindow(*main, main.get());
    QObject::connect(w.Form6, &PrintPreviewWindow::printed, main.get(), [m = main.get()](const QString& error) {
        if (!error.isEmpty()) m->showError(error);
    });
    // The print preview's page picture follows the drawing (every new or written drawing reaches the
    // right pane). Printing works without a printer too: into a PDF file.
    QObject::connect(main->rightPane(), &PicturePane::pictureChanged, w.Form6, &PrintPreviewWindow::drawingChanged);
    main->applyLanguage(language);
    w.Form7 = new FullScreenWindow(main.get());
    QObject::connect(w.Form7, &FullScreenWindow::closed, main.get(), [m = main.get()] { m->fullScreenClosed(); });
    return main;
}

}  // namespace gt
