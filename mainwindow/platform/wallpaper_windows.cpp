// SPDX-License-Identifier: GPL-3.0-or-later
// The wallpaper on Windows: the current user's desktop settings, then the system asked to reload.
#include "mainwindow/platform/wallpaper.h"

#ifdef Q_OS_WIN

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <windows.h>

namespace gt {

QString wallpaperPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Graphitello");
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder + QStringLiteral("/Graphitello.bmp"));
}

WallpaperRequest showAsWallpaper(const QString& bmpPath, const std::atomic<bool>*) {
    QSettings desktop(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Desktop"), QSettings::NativeFormat);
    desktop.setValue(QStringLiteral("Wallpaper"), bmpPath);
    desktop.setValue(QStringLiteral("TileWallpaper"), QStringLiteral("0"));
    desktop.setValue(QStringLiteral("WallpaperStyle"), QStringLiteral("2"));
    desktop.sync();
    std::wstring path = bmpPath.toStdWString();
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return {WallpaperRequest::Failed, QStringLiteral("SystemParametersInfo failed")};
    return {WallpaperRequest::Shown, QStringLiteral("Windows")};
}

}  // namespace gt

#endif
