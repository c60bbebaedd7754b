// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures the generator draws, one maker per kind. Each returns the finished picture; main.cpp
// names the files and writes them.

#include "common.h"

#include <QFont>
#include <QImage>

#include <string>
#include <vector>

namespace gt::assets {

QImage makePencilToneStrip();
// index 0..8, from the darkest to the lightest
QImage makeInkTile(int index);
// number 1..10
QImage makePaper(int number);
// number 1..8
QImage makeFrame(int number);

QImage makeBackground();
QImage makeProgressSlice();
// The toolbar buttons, by name without the "tool_" prefix; size 32 or 64.
const std::vector<std::string>& toolButtonNames();
QImage makeToolButton(const std::string& name, int size);
QImage makeAppIcon(int size);
QImage makeHandCursor();
QImage makeSplash();
QImage makeBanner();
// The words of the donate and sketch buttons in a language: "fr", "zh" or "en".
QImage makeDonateButton(const std::string& language);
QImage makeSketchButton(const std::string& language);

// The fonts the pictures use, registered from the system's font files (not by family lookup, so
// no other installed font can change a picture). Throws when a file is missing.
void registerFonts();
enum class Face { Sans, SansBold, Serif, SerifBold, Chinese };
QFont fontOf(Face face, double pixelSize);

}  // namespace gt::assets
