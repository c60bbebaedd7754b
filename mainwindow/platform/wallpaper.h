// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop wallpaper: where the drawing is written for it, and asking the desktop to show that
// file stretched. One implementation per system (wallpaper_linux.cpp, wallpaper_windows.cpp).

#include <QString>
#include <atomic>

namespace gt {

struct WallpaperRequest {
    enum Outcome { Shown, UnknownDesktop, Failed };
    Outcome outcome = Failed;
    QString detail;  // the desktop that was asked, or what went wrong
};

// The fixed per-user place of the wallpaper file, a 24-bit BMP ("Graphitello.bmp").
QString wallpaperPath();

// Asks the desktop to show the file stretched over the screen. The desktop's tools may take seconds
// to answer: call it off the interface thread. Setting `stop` ends a request early (the window closes).
WallpaperRequest showAsWallpaper(const QString& bmpPath, const std::atomic<bool>* stop = nullptr);

}  // namespace gt
