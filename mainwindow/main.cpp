// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the splash window, every window created once, the fade, the message loop.
#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

#include "mainwindow/splash_window.h"
#include "mainwindow/start_options.h"
#include "mainwindow/startup.h"
#include "ui/file_names.h"
#include "ui/language.h"
#include "version.h"

int main(int argc, char* argv[]) {
    // Answered before any window or display is needed: the help, the version and a wrong option.
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    const gt::StartOptions asked = gt::parseStartOptions(raw);
    if (!asked.error.isEmpty()) {
        std::fprintf(stderr, "graphitello: %s\n", asked.error.toLocal8Bit().constData());
        return 2;
    }
    if (asked.help) {
        std::fputs(gt::startOptionsHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (asked.version) {
        std::printf("Graphitello " GT_VERSION "\n");
        return 0;
    }
    QApplication app(argc, argv);
    // Qt has taken its own options (-platform ...) out of these.
    const gt::StartOptions options = gt::parseStartOptions(QApplication::arguments().mid(1));
    auto splash = std::make_unique<gt::SplashWindow>();
    splash->show();
    QApplication::setApplicationName(QStringLiteral("Graphitello"));
    // The desktop matches the windows to the installed desktop entry, and its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.graphitello.Graphitello"));
    splash->repaint();
    QApplication::processEvents();

    std::unique_ptr<gt::MainWindow> window;
    try {
        window = gt::createWindows(options.language.value_or(gt::startupLanguage()));
    } catch (const std::exception& e) {
        splash.reset();
        QMessageBox::critical(nullptr, QStringLiteral("Graphitello"), QString::fromUtf8(e.what()));
        return 1;
    }
    // The command-line photo decodes while the splash shows.
    const QString first = options.file;
    if (gt::argumentAction(first) == gt::ArgumentAction::OpenPicture) window->preloadPicture(first);
    QThread::msleep(500);
    splash->fadeOut();
    splash.reset();

    window->placeOnScreen();
    window->show();
    QTimer::singleShot(0, window.get(), [&window, first] { window->openStartArgument(first); });
    return app.exec();
}
