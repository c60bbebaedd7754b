// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include "mainwindow/platform/system_memory.h"

namespace gt {

std::size_t physicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return std::size_t(pages) * std::size_t(pageSize);
}

}  // namespace gt
