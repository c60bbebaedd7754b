// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts (the buttons of message boxes, the file, colour, font and print dialogs) in the
// interface language, from the translations Qt ships (Debian: qt6-translations-l10n).

#include "pipeline/styles.h"

namespace gt {

// Installs Qt's translations for the language in place of the previous ones. Returns whether they
// were found; without them Qt's dialogs speak English.
bool useQtTranslations(Language language);

}  // namespace gt
