// SPDX-License-Identifier: GPL-3.0-or-later
// graphitello-assetgen: draws the built-in pictures into a folder, the same bytes on every run.
//
//   graphitello-assetgen [--only TEXT] [--photo PNG] [--contact-sheet FILE] FOLDER
//
// --only TEXT          writes only the files whose names contain TEXT
// --photo PNG          also converts the sample photograph (sample_photo.jpg, sample_drawing.jpg)
// --contact-sheet FILE afterwards lays the pictures of FOLDER out on one sheet for a look at them
// --list               prints the names of the files it would write, one a line, and stops

#include "contact_sheet.h"
#include "generators.h"

#include <QGuiApplication>

#include <cstdio>
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

int usage() {
    std::fprintf(stderr,
                 "usage: graphitello-assetgen [--only TEXT] [--photo PNG] [--contact-sheet FILE] [--list] FOLDER\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string only, photo, sheet, folder;
    bool listOnly = false;
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
