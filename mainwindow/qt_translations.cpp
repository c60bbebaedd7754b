// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "ui/language.h"

namespace gt {

bool useQtTranslations(Language language) {
    // One translator for the whole run; a switch replaces it.
    static std::unique_ptr<QTranslator> installed;
    if (installed) QCoreApplication::removeTranslator(installed.get());
    installed.reset();
    // qtbase holds the texts of every dialog the program shows, the print dialogs included; its
    // English catalogue holds the plural forms of Qt's English texts.
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(languageLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

}  // namespace gt
