// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own command-line options: `--lang en|fr|zh` (or `--lang=CODE`) chooses the
// interface language instead of the locale; `-h`/`--help` and `--version` ask for a text and no
// window; Qt's own options are left to Qt; any other argument beginning with a dash is a wrong option
// unless a file has that name. The first other argument is the file to open, as before. "--" ends
// the options, so a file named like one can still be opened.

#include <QString>
#include <QStringList>
#include <optional>

#include "pipeline/styles.h"

namespace gt {

struct StartOptions {
    std::optional<Language> language;  // nothing: chosen from the locale
    QString file;                      // the first argument that is not an option, or empty
    QString error;                     // a one-line usage error, or empty
    bool help = false;                 // -h or --help
    bool version = false;              // --version
};

// `arguments` without the program's name.
StartOptions parseStartOptions(const QStringList& arguments);
// What --help prints.
QString startOptionsHelp();

}  // namespace gt
