// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/start_options.h"

#include "ui/language.h"

namespace gt {

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
        // Only the first file counts, as it always did; the others are ignored.
        if (options.file.isEmpty()) options.file = a;
    }
    return options;
}

}  // namespace gt
