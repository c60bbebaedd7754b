// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-assetgen: draws the built-in pictures into a folder, the same bytes on every run.
//
//   graphitello-assetgen [--only TEXT] [--photo PNG] [--contact-sheet FILE] FOLDER
//
// --only TEXT          writes only the files whose names contain TEXT
// --photo PNG          also converts the sample photograph (sample_photo.jpg, sample_drawing.jpg)
// --contact-sheet FILE afterwards lays the pictures of FOLDER out on one sheet for a look at them
// --list               prints the names of the files it would write, one a line, and stops
// --compare A B        compares two pictures drawn with Qt's painter, with the tolerance below

#include "contact_sheet.h"
#include "generators.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <vector>

using namespace gt::assets;

namespace {

struct Output {
    std::string name;
    std::function<void(const std::string& path)> write;
};

std::vector<Output> outputs() {
    std::vector<Output> list;
    auto png = [&](std::string name, std::function<QImage()> make) {
        list.push_back({std::move(name), [make](const std::string& path) { savePng(make(), path); }});
    };
    auto jpeg = [&](std::string name, std::function<QImage()> make) {
        list.push_back({std::move(name), [make](const std::string& path) { saveJpeg(make(), path, 92); }});
    };

    png("pencil_tone_strip.png", makePencilToneStrip);
    for (int i = 0; i < 9; ++i) png("ink_tile_" + std::to_string(i) + ".png", [i] { return makeInkTile(i); });
    for (int i = 1; i <= 10; ++i) {
        std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        png("paper_" + n + ".png", [i] { return makePaper(i); });
    }
    for (int i = 1; i <= 8; ++i) jpeg("frame_" + std::to_string(i) + ".jpg", [i] { return makeFrame(i); });
    png("background.png", makeBackground);
    png("progress_slice.png", makeProgressSlice);
    for (const std::string& tool : toolButtonNames()) {
        png("tool_" + tool + ".png", [tool] { return makeToolButton(tool, 32); });
        png("tool_" + tool + "@2x.png", [tool] { return makeToolButton(tool, 64); });
    }
    png("splash.png", makeSplash);
    png("banner.png", makeBanner);
    for (const std::string language : {"fr", "zh", "en"})
        png("donate_" + language + ".png", [language] { return makeDonateButton(language); });
    png("hand_cursor.png", makeHandCursor);
    // The hicolor theme's sizes, 16 to 512: the window's icon and the installed application icon.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512})
        png("icon_" + std::to_string(size) + ".png", [size] { return makeAppIcon(size); });
    for (const std::string language : {"fr", "zh", "en"})
        png("sketch_button_" + language + ".png", [language] { return makeSketchButton(language); });
    return list;
}

// Qt's painter does not give the same bytes on every processor: its anti-aliasing and its blending
// take other paths with other vector units, and edge pixels come out a level or two apart. Pictures
// drawn with it are alike when they have the same size and every channel of every pixel (alpha
// included) is within kLevels, and no more than kPixels pixels, or kShare of them in a large
// picture, differ at all.
constexpr int kLevels = 4;
constexpr long long kPixels = 64;
constexpr double kShare = 0.02;

int comparePictures(const std::string& committed, const std::string& made) {
    const QImage a = QImage(QString::fromStdString(committed)).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage(QString::fromStdString(made)).convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || b.isNull() || a.size() != b.size()) {
        std::printf("%s: not readable or not the same size\n", made.c_str());
        return 1;
    }
    long long differing = 0;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (p[x] == q[x]) continue;
            ++differing;
            for (int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int((p[x] >> shift) & 0xff) - int((q[x] >> shift) & 0xff)));
        }
    }
    const long long allowed = std::max(kPixels, static_cast<long long>(kShare * a.width() * a.height()));
    const bool alike = largest <= kLevels && differing <= allowed;
    if (!alike || differing > 0)
        std::printf("%s: %lld pixels differ, by up to %d levels (allowed: %lld pixels, %d levels)\n", made.c_str(),
                    differing, largest, allowed, kLevels);
    return alike ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: graphitello-assetgen [--only TEXT] [--photo PNG] [--contact-sheet FILE] [--list] FOLDER\n"
                 "       graphitello-assetgen --compare COMMITTED MADE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string only, photo, sheet, folder;
    bool listOnly = false;
    if (argc == 4 && std::string(argv[1]) == "--compare") return comparePictures(argv[2], argv[3]);
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--only" || a == "--photo" || a == "--contact-sheet") && i + 1 < argc) {
            (a == "--only" ? only : a == "--photo" ? photo : sheet) = argv[++i];
        } else if (a == "--list") {
            listOnly = true;
        } else if (!a.empty() && a[0] != '-' && folder.empty()) {
            folder = a;
        } else {
            return usage();
        }
    }
    if (listOnly) {
        for (const Output& o : outputs()) std::printf("%s\n", o.name.c_str());
        return 0;
    }
    if (folder.empty()) return usage();

    // Text is drawn off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        registerFonts();
        for (const Output& o : outputs()) {
            if (!only.empty() && o.name.find(only) == std::string::npos) continue;
            o.write(joinPath(folder, o.name));
        }
        if (!photo.empty()) writeSamplePhoto(photo, folder);
        if (!sheet.empty()) writeContactSheet(folder, sheet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "graphitello-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
