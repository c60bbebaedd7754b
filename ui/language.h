// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The interface languages: their text tables, read from the data files compiled in as resources
// (mainwindow/lang/fr.tsv, zh.tsv and en.tsv), the start-up choice from the user's locale, and the
// language asked for on the command line.

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "pipeline/styles.h"

namespace gt {

class TextTable {
public:
    // Parses the table format: `key<TAB>"text"` per line, # comments and blank lines ignored.
    // Throws gt::Error naming the line for anything else.
    static TextTable parse(const QString& content, const QString& name);
    // The compiled-in table of a language.
    static const TextTable& of(Language language);

    // The text, or nothing when this language leaves the control unchanged.
    std::optional<QString> find(const QString& key) const;
    // The text; an empty text for a key the table lacks.
    QString text(const QString& key) const { return find(key).value_or(QString()); }
    bool contains(const QString& key) const { return texts_.contains(key); }
    QStringList keys() const { return order_; }

private:
    QHash<QString, QString> texts_;
    QStringList order_;
};

// The start-up language: English for the English locales (and C, POSIX or none at all), French for
// the five French locales (France, Belgium, Canada, Switzerland, Luxembourg), Traditional Chinese
// for Chinese and every other locale.
Language languageForLocaleId(int lcid);
Language languageForLocale(const QLocale& locale);
// A POSIX locale name as in LANG: "en_US.UTF-8", "fr_CA", "C".
Language languageForLocaleName(const QString& name);
// The rule applied to this process's locale (its messages' locale from the environment).
Language startupLanguage();

// A language by its code on the command line ("en", "fr", "zh"; case ignored), or nothing.
std::optional<Language> languageForCode(const QString& code);
// The code of a language, and the locale its system dialogs speak (fr, zh_TW, en).
QString languageCode(Language language);
QLocale languageLocale(Language language);

// A text that states a count: the key's ".one" form where the language puts that count in the
// singular (English 1; French 0 and 1), its ".other" form otherwise, with %n replaced by the count.
QString countedText(Language language, const QString& key, qint64 count);

// The key of a list entry, "Form4.ComboBox1.3".
inline QString entryKey(const QString& control, int index) { return control + QLatin1Char('.') + QString::number(index); }

}  // namespace gt
