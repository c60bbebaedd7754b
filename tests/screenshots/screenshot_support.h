// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every screenshot starts from: the main window on the screen with a photo open, messages
// counted as failures, and the photo drawn in the first style when the picture wants a drawing.
// The pictures go to GT_SCREENSHOT_DIR, or to docs/screenshots of the source tree.

#include <QDir>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "mainwindow/startup.h"
#include "pipeline/window/parameter_window.h"

namespace gt::test {

inline QString screenshotFolder() {
    QString folder = qEnvironmentVariable("GT_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QStringLiteral(GT_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(folder);
    return folder;
}

// Null when the photo could not be opened (the message has failed the test already).
inline std::unique_ptr<MainWindow> screenshotWindow(Language language, const QString& photo, QSize size = QSize(1200, 800)) {
    auto main = createWindows(language);
    main->showMessage = [](const QString& m) { ADD_FAILURE() << m.toStdString(); };
    main->resize(size);
    main->show();
    if (!main->openPictureFile(photo)) return nullptr;
    return main;
}

// The user's presets of the pictures: a folder of their own holding one, so that no machine's own
// presets show.
class ScreenshotPresetFolder {
public:
    ScreenshotPresetFolder() : saved_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
        DrawingParameters mine = defaultParameters(DrawingStyle::PencilDrawingColour);
        mine.CheckBox1 = false;
        mine.UpDown1 = 6;
        writePresetFile(userPresetPath(userPresetFolder(), "Mes crayons"), mine);
    }
    ~ScreenshotPresetFolder() { qputenv("XDG_DATA_HOME", saved_); }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

inline bool waitForPresetPictures(const ParameterWindow& p) {
    return QTest::qWaitFor([&] { return p.presetPicturesDone() == int(p.presets().size()); }, 60000);
}

inline bool drawInFirstStyle(MainWindow& main) {
    ParameterWindow* p = main.windows.parameterWindow;
    p->chooseStyle(0);
    QSignalSpy done(&main, &MainWindow::renderFinished);
    p->Button1->click();
    return done.wait(120000);
}

}  // namespace gt::test
