#pragma once
// The two interface languages: their text tables, read from the data files compiled in as resources
// (mainwindow/lang/fr.tsv and zh.tsv), and the start-up choice from the user's locale.

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

// French for the five French locales (France, Belgium, Canada, Switzerland, Luxembourg), Chinese
// for every other one.
Language languageForLocaleId(int lcid);
Language languageForLocale(const QLocale& locale);

// The key of a list entry, "Form4.ComboBox1.3".
inline QString entryKey(const QString& control, int index) { return control + QLatin1Char('.') + QString::number(index); }

}  // namespace gt
