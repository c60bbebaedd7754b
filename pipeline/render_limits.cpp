// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/render_limits.h"

#include <string>

#include "imaging/error.h"
#include "imaging/rotate.h"
#include "pipeline/frames.h"
#include "pipeline/styles.h"

namespace gt {

namespace {

void checkPicture(long long width, long long height, const std::string& what) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width > kMaxWidth || height > kMaxWidth)
        throw Error(what + " would be " + size + ", more than the " + std::to_string(kMaxWidth) +
                    " a picture may have on a side");
    if (width * height > kMaxPixels)
        throw Error(what + " would be " + size + ", more than the " + std::to_string(kMaxPixels / 1'000'000) +
                    " megapixels a picture may have");
}

}  // namespace

void checkRenderSizes(int photoWidth, int photoHeight, const DrawingParameters& p, const Resources& resources) {
    checkPicture(photoWidth, photoHeight, "the photo");
    // The pencil drawing works on the photo turned by 40 degrees, on a canvas that holds it whole.
    if (p.ComboBox1 == styleIndex(DrawingStyle::PencilDrawing)) {
        const TurnGeometry turn = turnGeometry(photoWidth, photoHeight, 40);
        checkPicture(turn.Wd, turn.Hd, "the pencil drawing's turned canvas");
    }
    if (!p.CheckBox1) return;
    const FrameSettings& frame = p.frame;
    const long long Fw = static_cast<long long>(photoWidth) + frame.margin, Fh = static_cast<long long>(photoHeight) + frame.margin;
    checkPicture(Fw, Fh, "the drawing with its margin");
    if (frame.style != kFrameRealistic && frame.style != kFrameColoured) return;
    const bool coloured = frame.style == kFrameColoured;
    // Lays out the frame as the finishing pass will; only its size is kept.
    const FrameLayout layout = layOutFrame(static_cast<int>(Fw), static_cast<int>(Fh), frame.style,
                                           coloured ? frame.colouredNumber : frame.realisticNumber, resources.FramePictures, FrameTint{});
    checkPicture(layout.width, layout.height, "the framed picture");
}

}  // namespace gt
