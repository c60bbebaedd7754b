// SPDX-License-Identifier: GPL-3.0-or-later
// The wallpaper on Linux desktops, through each desktop's own command-line tools.
#include "mainwindow/platform/wallpaper.h"

#ifndef Q_OS_WIN

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace gt {

namespace {

struct Run {
    bool started = false;
    int exitCode = -1;
    QString output;
    QString error;
};

// Set for the length of one request, on the thread that runs it.
thread_local const std::atomic<bool>* t_stop = nullptr;

bool stopped() { return t_stop && t_stop->load(); }

Run run(const QString& program, const QStringList& arguments) {
    Run r;
    if (stopped() || QStandardPaths::findExecutable(program).isEmpty()) return r;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(3000)) return r;
    r.started = true;
    // Up to 10 s for an answer, looking every 100 ms whether the window is closing.
    bool finished = false;
    for (int waited = 0; waited < 10000 && !finished && !stopped(); waited += 100) finished = process.waitForFinished(100);
    if (!finished) {
        process.kill();
        process.waitForFinished(1000);
        r.error = program + QStringLiteral(": no answer");
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    r.error = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return r;
}

WallpaperRequest outcomeOf(const Run& r, const QString& desktop, const QString& program) {
    if (!r.started) return {WallpaperRequest::Failed, program + QStringLiteral(" is not installed")};
    if (r.exitCode != 0)
        return {WallpaperRequest::Failed, r.error.isEmpty() ? program + QStringLiteral(" failed") : r.error};
    return {WallpaperRequest::Shown, desktop};
}

WallpaperRequest gsettings(const QString& schema, const QString& key, const QString& value, const QString& desktop,
                           const QString& optionValue = QStringLiteral("stretched")) {
    Run r = run(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, value});
    if (!r.started || r.exitCode != 0) return outcomeOf(r, desktop, QStringLiteral("gsettings"));
    r = run(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, QStringLiteral("picture-options"), optionValue});
    return outcomeOf(r, desktop, QStringLiteral("gsettings"));
}

WallpaperRequest gnome(const QString& path) {
    const QString uri = QUrl::fromLocalFile(path).toString();
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    WallpaperRequest w = gsettings(schema, QStringLiteral("picture-uri"), uri, QStringLiteral("GNOME"));
    // Newer versions keep a second picture for the dark style; older ones lack the key.
    if (w.outcome == WallpaperRequest::Shown) run(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
    return w;
}

WallpaperRequest xfce(const QString& path) {
    const Run list = run(QStringLiteral("xfconf-query"), {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")});
    if (!list.started || list.exitCode != 0) return outcomeOf(list, QStringLiteral("XFCE"), QStringLiteral("xfconf-query"));
    int set = 0;
    for (const QString& property : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (property.endsWith(QLatin1String("/last-image"))) {
            run(QStringLiteral("xfconf-query"), {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), property,
                                                 QStringLiteral("-s"), path});
            ++set;
        } else if (property.endsWith(QLatin1String("/image-style"))) {
            // 3 is "stretched".
            run(QStringLiteral("xfconf-query"), {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), property,
                                                 QStringLiteral("-s"), QStringLiteral("3")});
        }
    }
    if (set == 0) return {WallpaperRequest::Failed, QStringLiteral("xfconf-query: no desktop background to set")};
    return {WallpaperRequest::Shown, QStringLiteral("XFCE")};
}

WallpaperRequest kde(const QString& path) {
    // FillMode 0 stretches the picture over the screen.
    const QString script = QStringLiteral(
        "var all = desktops();"
        "for (var i = 0; i < all.length; i++) {"
        "  var d = all[i]; d.wallpaperPlugin = 'org.kde.image';"
        "  d.currentConfigGroup = Array('Wallpaper', 'org.kde.image', 'General');"
        "  d.writeConfig('Image', '%1'); d.writeConfig('FillMode', 0); }")
                               .arg(QUrl::fromLocalFile(path).toString());
    for (const char* qdbus : {"qdbus6", "qdbus", "qdbus-qt6", "qdbus-qt5"}) {
        const Run r = run(QString::fromLatin1(qdbus), {QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                                                      QStringLiteral("org.kde.PlasmaShell.evaluateScript"), script});
        if (r.started) return outcomeOf(r, QStringLiteral("KDE Plasma"), QString::fromLatin1(qdbus));
    }
    const Run r = run(QStringLiteral("plasma-apply-wallpaperimage"), {path});
    return outcomeOf(r, QStringLiteral("KDE Plasma"), QStringLiteral("plasma-apply-wallpaperimage"));
}

}  // namespace

QString wallpaperPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Graphitello");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/Graphitello.bmp");
}

WallpaperRequest showAsWallpaper(const QString& bmpPath, const std::atomic<bool>* stop) {
    t_stop = stop;
    struct Reset { ~Reset() { t_stop = nullptr; } } reset;
    const QString desktop = QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CURRENT_DESKTOP")).toUpper();
    const QStringList names = desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    auto is = [&names](const char* name) { return names.contains(QString::fromLatin1(name)); };
    const QString uri = QUrl::fromLocalFile(bmpPath).toString();
    if (is("KDE")) return kde(bmpPath);
    if (is("XFCE")) return xfce(bmpPath);
    if (is("X-CINNAMON") || is("CINNAMON"))
        return gsettings(QStringLiteral("org.cinnamon.desktop.background"), QStringLiteral("picture-uri"), uri, QStringLiteral("Cinnamon"));
    if (is("MATE"))
        return gsettings(QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"), bmpPath, QStringLiteral("MATE"));
    if (is("GNOME") || is("UNITY") || is("BUDGIE") || is("POP")) return gnome(bmpPath);
    return {WallpaperRequest::UnknownDesktop, desktop};
}

}  // namespace gt

#endif
