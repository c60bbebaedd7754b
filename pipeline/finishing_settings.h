// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings the finishing pass reads: those of the frames window and of the add-text window.
// The comments name the control each field stands for.

#include <string>

#include "imaging/bitmap.h"

namespace gt {

enum FrameStyle : int {
    kFrameSimple = 0,     // "Cadre simple ": a plain margin
    kFrameLined = 1,      // "Cadre avec liseré ": a margin with a line
    kFrameRealistic = 2,  // "Cadre réaliste ": a frame picture
    kFrameColoured = 3,   // "Cadre coloré ": a tinted frame picture
};

struct FrameSettings {
    int margin = 150;          // UpDown1 with Edit1: margin in pixels, 0..1000
    int style = kFrameRealistic;  // ComboBox1: 0 simple, 1 lined, 2 realistic, 3 coloured
    int realisticNumber = 1;   // UpDown2: frame picture for style 2, 1..7
    int colouredNumber = 1;    // UpDown3: frame picture for style 3, 1..5
    int tintRed = 0;           // TrackBar1: -255..255
    int tintGreen = 0;         // TrackBar2
    int tintBlue = 0;          // TrackBar3
    Colour FillColour{242, 251, 252};  // blue, green, red: a warm paper white
    Colour LineColour = kBlack;

    friend bool operator==(const FrameSettings&, const FrameSettings&) = default;
};

// Placement of the text (ComboBox1 of the add-text window).
enum TextPlacement : int {
    kPlaceCustom = 0,
    kPlaceTopLeft = 1,
    kPlaceTopMiddle = 2,
    kPlaceTopRight = 3,
    kPlaceMiddleLeft = 4,
    kPlaceMiddle = 5,
    kPlaceMiddleRight = 6,
    kPlaceBottomLeft = 7,
    kPlaceBottomMiddle = 8,
    kPlaceBottomRight = 9,
};

struct TextSettings {
    std::string text = "Graphitello";  // Edit1 (a space is added wherever it is drawn or measured)
    // FontDialog1: family, size in points and style. A missing family falls back to the closest
    // one present.
    std::string fontFamily = "Tahoma";
    int fontSize = 15;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Colour colour = kWhite;            // ColorDialog1
    bool shadow = false;               // CheckBox1: a black copy 1 pixel right and down, drawn first
    int position = kPlaceBottomRight;  // ComboBox1: 1..9, 0 placed by hand
    int x = 0;                         // ScrollBar1, used when placed by hand (text drawn at x - 1)
    int y = 0;                         // ScrollBar2, used when placed by hand (text drawn at y - 5)

    friend bool operator==(const TextSettings&, const TextSettings&) = default;
};

}  // namespace gt
