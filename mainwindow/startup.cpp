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
    w.mainWindow = main.get();
    w.resizeWindow = new ResizeWindow(*main, main.get());
    w.retouchWindow = new RetouchWindow(*main, main.get());
    w.addTextWindow = new AddTextWindow(*main, main.get());
    w.donationWindow = new DonationWindow(main.get());
    w.batchWindow = new BatchWindow(*main, main.get());
    QObject::connect(main.get(), &MainWindow::renderFinished, w.batchWindow, &BatchWindow::renderingEnded);
    w.aboutWindow = new AboutWindow(main.get());
    w.parameterWindow = new ParameterWindow(*main, main->resources(), main.get());
    w.framesWindow = new FramesWindow(*main, main.get());
    w.printPreviewWindow = new PrintPreviewWindow(*main, main.get());
    QObject::connect(w.printPreviewWindow, &PrintPreviewWindow::printed, main.get(), [m = main.get()](const QString& error) {
        if (!error.isEmpty()) m->showError(error);
    });
    // The print preview's creation: the print command needs a printer, then the start-up language.
    main->menuEntry(QStringLiteral("Imprimer1"))->setEnabled(w.printPreviewWindow->hasPrinter());
    main->applyLanguage(language);
    w.fullScreenWindow = new FullScreenWindow(main.get());
    QObject::connect(w.fullScreenWindow, &FullScreenWindow::closed, main.get(), [m = main.get()] { m->fullScreenClosed(); });
    return main;
}

}  // namespace gt
