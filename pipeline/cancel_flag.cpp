// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/cancel_flag.h"

namespace gt {

void settleCancelAfterRendering(std::atomic<bool>& cancelRequested, bool batchWindowVisible) {
    if (!batchWindowVisible) cancelRequested.store(false);
}

}  // namespace gt
