// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cancel flag at the end of a rendering. A cancel that comes after the style's image steps (during
// the finishing pass, or before the window takes the result) stops nothing, and left set it would make
// the next rendering return the photo at once; so every rendering's end clears it, except while the
// batch window is visible, whose loop reads it after each file to know whether to go on.

#include <atomic>

namespace gt {

void settleCancelAfterRendering(std::atomic<bool>& cancelRequested, bool batchWindowVisible);

}  // namespace gt
