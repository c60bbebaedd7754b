// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's start: every window created once, in a fixed order, the start-up language applied
// when the print preview window is created.

#include <QStringList>
#include <memory>

#include "mainwindow/main_window.h"

namespace gt {

// The windows' creation order, by their role names, as createWindows follows it.
QStringList windowCreationOrder();

// Creates the main window and every other window it owns; applies `language`.
std::unique_ptr<MainWindow> createWindows(Language language);

}  // namespace gt
