// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object the window tests need, made once on the offscreen platform, and small
// pictures made in code.

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "imaging/bitmap.h"
#include "imaging/view_scaling.h"
#include "mainwindow/picture_pane.h"

namespace gt::test {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        // The screenshots run on a real display; everything else offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *instance;
}

// A photo-like picture: smooth gradients with a few hard edges.
inline Bitmap testPhoto(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool square = (x / 40 + y / 40) % 2 == 0;
            b.setColour(x, y, {std::uint8_t((x * 255) / width), std::uint8_t(square ? 200 : 60), std::uint8_t((y * 255) / height)});
        }
    return b;
}

// The reduced copies a pane draws from are those of the picture it shows, whichever thread made them.
inline void expectViewOf(const PicturePane& pane, const Bitmap& picture) {
    ASSERT_EQ(pane.picture(), &picture);
    ASSERT_NE(pane.pyramid(), nullptr);
    ASSERT_TRUE(pane.pyramid()->matches(picture));
    const ViewPyramid expected = buildViewPyramid(picture);
    for (int level = 2; level < kViewLevels; ++level) EXPECT_EQ(pane.pyramid()->levels[level], expected.levels[level]) << level;
}

}  // namespace gt::test
