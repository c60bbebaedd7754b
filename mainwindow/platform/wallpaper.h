#pragma once
// The desktop wallpaper: where the drawing is written for it, and asking the desktop to show that
// file stretched. One implementation per system (wallpaper_linux.cpp, wallpaper_windows.cpp).

#include <QString>

namespace gt {

struct WallpaperRequest {
    enum Outcome { Shown, UnknownDesktop, Failed };
    Outcome outcome = Failed;
    QString detail;  // the desktop that was asked, or what went wrong
};

// The fixed per-user place of the wallpaper file, a 24-bit BMP ("Graphitello.bmp").
QString wallpaperPath();

// Asks the desktop to show the file stretched over the screen.
WallpaperRequest showAsWallpaper(const QString& bmpPath);

}  // namespace gt
