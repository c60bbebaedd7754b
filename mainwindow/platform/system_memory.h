// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much memory the machine has, for the budget of the photo's undo history.

#include <cstddef>

namespace gt {

// The machine's physical memory in bytes; 0 when the system does not say.
std::size_t physicalMemoryBytes();

}  // namespace gt
