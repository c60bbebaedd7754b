// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The letters of the text overlay, drawn by Qt's font engine. Needs a QGuiApplication (the command
// line starts one on the offscreen platform with startHeadlessFontEngine).

#include <QFont>
#include <QString>
#include <memory>
#include <string>

#include "pipeline/text_overlay.h"

class QGuiApplication;

namespace gt {

class QtGlyphRenderer : public GlyphRenderer {
public:
    TextExtent measure(const FontSpec& font, const std::string& text) override;
    void drawText(Bitmap& target, int x, int y, const FontSpec& font, Colour colour, const std::string& text) override;

    // The font for a spec: the size in points at 96 dots per inch (15 points are 20 pixels), the
    // family or, when it is missing, the closest one present; greyscale smoothing only, so that a
    // letter's edge never takes a colour of its own.
    static QFont qfont(const FontSpec& font);
    static bool hasFamily(const std::string& family);
    // The family that is used for a requested one.
    static QString resolveFamily(const std::string& family);
};

// A QGuiApplication on the offscreen platform when none runs yet (null when one already does).
// Create it on the main thread before the first text is measured.
std::unique_ptr<QGuiApplication> startHeadlessFontEngine();

}  // namespace gt
