// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "mainwindow/platform/system_memory.h"

namespace gt {

std::size_t physicalMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return std::size_t(status.ullTotalPhys);
}

}  // namespace gt
