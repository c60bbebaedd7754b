// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-bench --viewer (bench/bench_main.cpp): the real main window on the offscreen platform, with an 8000 x 6000
// photo (the sample photo enlarged), driven by the events a user's mouse and keys would send. Each
// input is timed from the event to the end of its repaint on the interface thread; the memory is the
// growth of the process's resident memory from the window with its built-in samples to the window
// with the photo (after opening it, and after one rendering), per photo pixel.

#include "bench/viewer_bench.h"

#include <malloc.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "imaging/io/picture_io.h"
#include "imaging/parallel.h"
#include "mainwindow/full_screen_window.h"
#include "mainwindow/startup.h"
#include "pipeline/window/parameter_window.h"
#include "ui/qt_bitmap.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// The processor time of the whole process (the interface thread and the workers it waits for): what
// a step costs on an idle machine, whatever else runs on this one.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long long residentBytes() {
    malloc_trim(0);
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmRSS:") == 0) return std::stoll(line.substr(7)) * 1024;
    return -1;
}

// Everything the event queue holds, repaints included.
void drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Series {
    std::string name;
    std::vector<double> ms, cpu;
    double max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double maxCpu() const { return cpu.empty() ? 0 : *std::max_element(cpu.begin(), cpu.end()); }
    double mean() const {
        double s = 0;
        for (double m : ms) s += m;
        return ms.empty() ? 0 : s / ms.size();
    }
};

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(to->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &e);
}

}  // namespace

int viewerBenchmark(const std::string& samplePath) {
    // A 1920 x 1080 screen, the size most of our users have.
    QTemporaryDir dir;
    const QString screens = dir.filePath(QStringLiteral("screens.json"));
    {
        QFile f(screens);
        if (f.open(QIODevice::WriteOnly))
            f.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screens.toLocal8Bit());
    // The offscreen platform's notes on what it cannot do (raise a window, size hints) and Qt's on
    // the missing runtime folder are not news here: only the table goes out.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        const bool platformNote = message.startsWith(QLatin1String("This plugin does not support")) ||
                                  message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"));
        if (!platformNote && previous) previous(type, context, message);
    });
    static int argc = 1;
    static char name[] = "graphitello-bench";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    const int W = 8000, H = 6000;
    const QString photoPath = dir.filePath(QStringLiteral("photo.jpg"));
    {
        const QImage sample = gt::toQImage(gt::readPicture(samplePath));
        const gt::Bitmap big = gt::fromQImage(sample.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        if (!gt::writePicture(big, photoPath.toStdString())) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(photoPath));
            return 1;
        }
    }
    const double pixels = double(W) * H;

    auto main = gt::createWindows(gt::Language::French);
    main->showMessage = [](const QString& m) { std::fprintf(stderr, "message: %s\n", qPrintable(m)); };
    main->setGeometry(0, 0, 1920, 1050);
    main->show();
    drain();
    wait(300);
    drain();
    gt::PicturePane* left = main->leftPane();
    gt::PicturePane* right = main->rightPane();
    // The decoding alone, for the table.
    auto td = Clock::now();
    (void)gt::readPicture(photoPath.toStdString());
    const double decodeMs = msSince(td);
    drain();
    const long long before = residentBytes();

    // Open, decode included, to the first painted view of both panes.
    const int paintsBefore = left->paintCount() + right->paintCount();
    const double openCpu0 = cpuMs();
    auto t0 = Clock::now();
    if (!main->openPictureFile(photoPath)) return 1;
    while (left->paintCount() + right->paintCount() < paintsBefore + 2) QApplication::processEvents();
    const double openMs = msSince(t0);
    const double openCpu = cpuMs() - openCpu0;
    // The parameter window's first preview, then out of the way.
    wait(600);
    main->windows.parameterWindow->hide();
    drain();
    const long long afterOpen = residentBytes();

    std::vector<Series> zooms;
    auto timed = [&main](Series& s, const std::function<void()>& input) {
        const int from = main->zoom();
        const double cpu0 = cpuMs();
        const auto start = Clock::now();
        input();
        drain();
        s.ms.push_back(msSince(start));
        s.cpu.push_back(cpuMs() - cpu0);
        if (qEnvironmentVariableIsSet("GT_BENCH_VERBOSE")) std::fprintf(stderr, "%s %d -> %d: %.1f ms\n", s.name.c_str(), from, main->zoom(), s.ms.back());
    };
    const QPoint middle(left->width() / 2, left->height() / 2);
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(middle), QPointF(left->mapToGlobal(middle)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(left, &e);
    };

    Series wheelSteps{"zoom: wheel, 5 % steps", {}, {}};
    while (main->zoom() > 5) timed(wheelSteps, [&] { wheel(120); });
    while (main->zoom() < 1000) timed(wheelSteps, [&] { wheel(-120); });
    while (main->zoom() > 100) timed(wheelSteps, [&] { wheel(120); });
    zooms.push_back(wheelSteps);

    QWidget* zoomOut = main->toolbarButton(QStringLiteral("Image15"));
    QWidget* zoomIn = main->toolbarButton(QStringLiteral("Image17"));
    QWidget* fit = main->toolbarButton(QStringLiteral("Image16"));
    const QPoint centre(16, 16);
    Series held{"zoom: held buttons (ticks)", {}, {}};
    for (QWidget* button : {zoomOut, zoomIn, zoomOut}) {
        send(button, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
        // The ticks are sent here one at a time, each timed alone, rather than by the 10 ms timer.
        main->heldZoomTimer.stop();
        const int target = button == zoomOut ? 5 : 1000;
        for (int tick = 0; tick < 400 && main->zoom() != target; ++tick) timed(held, [&] { main->heldZoomTick(); });
        timed(held, [&] { send(button, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton); });
    }
    zooms.push_back(held);

    Series steps{"zoom: right-button steps", {}, {}};
    auto rightClick = [&](QWidget* button) {
        send(button, QEvent::MouseButtonPress, centre, Qt::RightButton, Qt::RightButton);
        send(button, QEvent::MouseButtonRelease, centre, Qt::RightButton, Qt::NoButton);
    };
    for (int i = 0; i < 12; ++i) timed(steps, [&] { rightClick(zoomIn); });
    for (int i = 0; i < 25 && main->zoom() > 5; ++i) timed(steps, [&] { rightClick(zoomOut); });
    zooms.push_back(steps);

    Series typed{"zoom: typed value", {}, {}};
    for (const char* value : {"5", "17", "33", "50", "77", "100", "250", "999", "1000", "40", "100"}) {
        main->zoomLabelPressed();
        main->zoomEdit()->setText(QString::fromLatin1(value));
        timed(typed, [&] { main->zoomEditKey(Qt::Key_Return); });
    }
    zooms.push_back(typed);

    Series fits{"zoom: fit and actual size", {}, {}};
    for (int i = 0; i < 4; ++i) {
        timed(fits, [&] {
            send(fit, QEvent::MouseButtonPress, centre, Qt::RightButton, Qt::RightButton);
            send(fit, QEvent::MouseButtonRelease, centre, Qt::RightButton, Qt::NoButton);
        });
        timed(fits, [&] {
            send(fit, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
            send(fit, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
        });
    }
    zooms.push_back(fits);

    // Pans: a drag across the photo and back at several zooms, then a fling and its inertia.
    Series drags{"pan: drag frames", {}, {}}, inertia{"pan: inertia ticks", {}, {}};
    for (int zoom : {100, 37, 12, 400, 1000}) {
        main->setZoom(zoom);
        main->centerPictures();
        drain();
        const QPoint start = left->pictureRect().center();
        QPoint at = start;
        send(left, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        for (int frame = 0; frame < 60; ++frame) {
            at += frame < 30 ? QPoint(9, 6) : QPoint(-9, -6);
            timed(drags, [&] { send(left, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); });
        }
        at += QPoint(-20, -14);
        timed(drags, [&] { send(left, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); });
        send(left, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        for (int tick = 0; tick < 40 && main->panInertiaTimer.isActive(); ++tick) timed(inertia, [&] { main->panInertiaTick(); });
        main->panInertiaTimer.stop();
    }

    // The full-screen view of the drawing, at the fit.
    Series full{"full screen: double-click", {}, {}};
    main->setZoom(12);
    drain();
    timed(full, [&] {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(right->pictureRect().center()), QPointF(right->mapToGlobal(right->pictureRect().center())),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(right, &e);
    });
    const QSize screen = main->windows.fullScreenWindow->size();
    main->windows.fullScreenWindow->close();
    drain();

    // Renderings with the grey pencil drawing (among the quickest): the drawing becomes a picture of its
    // own, first with the default frame (which makes it larger than the photo), then without.
    auto render = [&](bool framed) {
        main->windows.parameterWindow->chooseStyle(1);
        if (main->windows.parameterWindow->CheckBox1->isChecked() != framed) main->windows.parameterWindow->CheckBox1->click();
        QEventLoop loop;
        QObject::connect(main.get(), &gt::MainWindow::renderFinished, &loop, &QEventLoop::quit);
        main->startDrawing();
        loop.exec();
        main->windows.parameterWindow->hide();
        wait(300);
        drain();
        return residentBytes();
    };
    const long long afterFramed = render(true);
    const gt::Bitmap& drawing = main->DrawingImage;
    const double framedPixels = double(drawing.width()) * drawing.height();
    const long long afterRender = render(false);

    std::printf("Viewer on a %d x %d photo (%.1f megapixels), window %d x %d, screen %d x %d, offscreen, %d worker threads\n\n", W, H,
                pixels / 1e6, main->width(), main->height(), screen.width(), screen.height(), gt::workerCount());
    std::printf("| %-30s | %6s | %8s | %8s | %11s |\n", "input", "count", "max ms", "mean ms", "max cpu ms");
    std::printf("|%s|\n", std::string(77, '-').c_str());
    std::printf("| %-30s | %6d | %8.1f | %8.1f | %11.1f |\n", "open to first painted view", 1, openMs, openMs, openCpu);
    std::printf("| %-30s | %6d | %8.1f | %8.1f | %11s |\n", "  of which the decoding alone", 1, decodeMs, decodeMs, "");
    double zoomMax = 0;
    for (const Series& s : zooms) {
        std::printf("| %-30s | %6zu | %8.1f | %8.1f | %11.1f |\n", s.name.c_str(), s.ms.size(), s.max(), s.mean(), s.maxCpu());
        zoomMax = std::max(zoomMax, s.max());
    }
    for (const Series* s : {&drags, &inertia, &full})
        std::printf("| %-30s | %6zu | %8.1f | %8.1f | %11.1f |\n", s->name.c_str(), s->ms.size(), s->max(), s->mean(), s->maxCpu());
    const double panMax = std::max(drags.max(), inertia.max());
    const double openPerPx = (afterOpen - before) / pixels, renderPerPx = (afterRender - before) / pixels;
    const std::size_t held_ = main->SourceImage.bytes().size() + main->DrawingImage.bytes().size() + left->cacheBytes() + right->cacheBytes() +
                              (left->pyramid() ? left->pyramid()->bytes() : 0) +
                              (right->pyramid() && right->pyramid() != left->pyramid() ? right->pyramid()->bytes() : 0);
    std::printf("\n| %-30s | %8s |\n", "window memory", "B/px");
    std::printf("|%s|\n", std::string(43, '-').c_str());
    std::printf("| %-30s | %8.2f |\n", "after opening (resident)", openPerPx);
    std::printf("| %-30s | %8.2f |\n", "after a rendering (resident)", renderPerPx);
    std::printf("| %-30s | %8.2f |   (the drawing framed, %.0f %% of the photo's pixels)\n", "after a framed rendering", (afterFramed - before) / pixels,
                100 * framedPixels / pixels);
    std::printf("| %-30s | %8.2f |\n", "after a rendering (counted)", held_ / pixels);
    std::printf("\nviewer: open %.0f ms, zoom step max %.0f ms, pan frame max %.0f ms, window memory %.1f B/px\n", openMs, zoomMax, panMax,
                std::max(openPerPx, renderPerPx));
    main.reset();
    return 0;
}
