// The program's entry: the splash window, every window created once, the fade, the message loop.
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <exception>
#include <memory>

#include "mainwindow/splash_window.h"
#include "mainwindow/startup.h"
#include "ui/language.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    auto splash = std::make_unique<gt::SplashWindow>();
    splash->show();
    QApplication::setApplicationName(QStringLiteral("Graphitello"));
    splash->repaint();
    QApplication::processEvents();

    std::unique_ptr<gt::MainWindow> window;
    try {
        window = gt::createWindows(gt::languageForLocale(QLocale::system()));
    } catch (const std::exception& e) {
        splash.reset();
        QMessageBox::critical(nullptr, QStringLiteral("Graphitello"), QString::fromUtf8(e.what()));
        return 1;
    }
    QThread::msleep(500);
    splash->fadeOut();
    splash.reset();

    window->placeOnScreen();
    window->show();
    const QStringList arguments = QApplication::arguments();
    const QString first = arguments.size() > 1 ? arguments[1] : QString();
    QTimer::singleShot(0, window.get(), [&window, first] { window->FormShow(first); });
    return app.exec();
}
