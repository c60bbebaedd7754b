#pragma once
// One rendering as render and batch both do it.

#include <string>

#include "cli/render_options.h"
#include "cli/session.h"
#include "imaging/bitmap.h"

namespace gt::cli {

// The finished drawing of the photo. Throws Cancelled after Ctrl-C.
Bitmap renderPicture(const Bitmap& photo, const RenderSetup& setup, Session& session, const std::string& label);
void printWarnings(const RenderSetup& setup, Session& session);

// The name the batch gives the drawing of `input`: "Graphitello - " and the input's file name, with
// ".jpg" in place of an extension other than .jpg or .jpeg.
std::string batchOutputName(const std::string& input);

}  // namespace gt::cli
