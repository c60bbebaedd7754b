// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One rendering as render and batch both do it.

#include <string>

#include "cli/render_options.h"
#include "cli/session.h"
#include "imaging/bitmap.h"

namespace gt::cli {

// The finished drawing of the photo, which the rendering takes over. Throws Cancelled after Ctrl-C.
Bitmap renderPicture(Bitmap photo, const RenderSetup& setup, Session& session, const std::string& label);
void printWarnings(const RenderSetup& setup, Session& session);

}  // namespace gt::cli
