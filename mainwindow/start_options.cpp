// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/start_options.h"

#include <QFileInfo>

#include "ui/language.h"

namespace gt {

namespace {

// Qt's own options, which QApplication takes out of the arguments; the first group takes a value,
// as the next argument or after "=".
bool isQtOption(const QString& argument, bool* takesValue) {
    static const QStringList withValue = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                          "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title",
                                          "name", "style", "stylesheet", "qmljsdebugger"};
    static const QStringList alone = {"reverse", "nograb", "dograb", "widgetcount", "sync"};
    if (!argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1String("--"))) return false;
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = argument.mid(1, equals < 0 ? -1 : equals - 1);
    *takesValue = equals < 0 && withValue.contains(name);
    return withValue.contains(name) || (equals < 0 && alone.contains(name));
}

}  // namespace

StartOptions parseStartOptions(const QStringList& arguments) {
    StartOptions options;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (a == QLatin1String("--lang") || a.startsWith(QLatin1String("--lang=")))) {
            const bool joined = a.size() > 6;
            if (!joined && i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--lang needs a language: en, fr or zh");
                return options;
            }
            const QString code = joined ? a.mid(7) : arguments[++i];
            options.language = languageForCode(code);
            if (!options.language) {
                options.error = QStringLiteral("--lang %1: unknown language (en, fr or zh)").arg(code);
                return options;
            }
            continue;
        }
        if (!optionsEnded && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            options.help = true;
            continue;
        }
        if (!optionsEnded && a == QLatin1String("--version")) {
            options.version = true;
            continue;
        }
        bool takesValue = false;
        if (!optionsEnded && isQtOption(a, &takesValue)) {
            if (takesValue) ++i;
            continue;
        }
        // Anything else that looks like an option is one, unless a file has that name.
        if (!optionsEnded && a.size() > 1 && a.startsWith(QLatin1Char('-')) && !QFileInfo::exists(a)) {
            options.error = QStringLiteral("unknown option %1 (graphitello --help lists them)").arg(a);
            return options;
        }
        // Only the first file counts, as it always did; the others are ignored.
        if (options.file.isEmpty()) options.file = a;
    }
    return options;
}

QString startOptionsHelp() {
    return QStringLiteral(
        "Usage: graphitello [--lang LANGUAGE] [FILE]\n"
        "Turns a photograph into a drawing or a painting.\n"
        "\n"
        "FILE is a picture to open (JPEG, PNG, BMP, GIF, TIFF, WebP, HEIC, AVIF) or a .gtl\n"
        "parameter file to load.\n"
        "\n"
        "  --lang LANGUAGE  start in en (English), fr (French) or zh (Traditional Chinese)\n"
        "                   instead of the locale's language\n"
        "  -h, --help       show this help and stop\n"
        "  --version        show the version and stop\n"
        "  --               ends the options: the next argument is the file\n"
        "\n"
        "Exit status: 0 normally, 1 when the windows cannot be created, 2 for a wrong option.\n"
        "More in the manual page (man graphitello); graphitello-cli draws the same pictures from scripts.\n");
}

}  // namespace gt
