// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/finishing.h"

#include <utility>

#include "pipeline/finalize.h"

namespace gt {

Bitmap FinishDrawing(Bitmap drawing, const Bitmap& source, bool cancelled, const FinishingInputs& inputs) {
    return Finalize(std::move(drawing), source, cancelled, inputs).picture;
}

}  // namespace gt
