// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in pictures: compiled into the program as Qt resources under :/assets/data/, and the
// same files read from a folder (the tests read them where the sources keep them).

#include <string>

#include "imaging/resources.h"

namespace gt {

// Every picture from the compiled-in resources. The program must link the assets library.
Resources loadBuiltinPictures();
// The same files from a folder: pencil_tone_strip.png, ink_tile_0.png .. ink_tile_8.png,
// paper_01.png .. paper_10.png, frame_1.jpg .. frame_8.jpg.
Resources loadBuiltinPicturesFrom(const std::string& directory);

}  // namespace gt
