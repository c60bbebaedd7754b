// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language.h"

#include <QFile>

#include "imaging/error.h"

namespace gt {

TextTable TextTable::parse(const QString& content, const QString& name) {
    TextTable table;
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const int tab = line.indexOf(QLatin1Char('\t'));
        const QString value = tab < 0 ? QString() : line.mid(tab + 1);
        if (tab <= 0 || value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
            throw Error(QStringLiteral("%1, line %2: expected a key, a tab and a quoted text").arg(name).arg(i + 1).toStdString());
        const QString key = line.left(tab);
        if (!table.texts_.contains(key)) table.order_.append(key);
        table.texts_.insert(key, value.mid(1, value.size() - 2));
    }
    return table;
}

const TextTable& TextTable::of(Language language) {
    auto load = [](const char* path) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly)) throw Error(std::string(path) + ": the interface texts are missing");
        return parse(QString::fromUtf8(file.readAll()), QString::fromLatin1(path));
    };
    static const TextTable french = load(":/lang/fr.tsv");
    static const TextTable chinese = load(":/lang/zh.tsv");
    static const TextTable english = load(":/lang/en.tsv");
    switch (language) {
        case Language::French: return french;
        case Language::Chinese: return chinese;
        case Language::English: break;
    }
    return english;
}

std::optional<QString> TextTable::find(const QString& key) const {
    const auto it = texts_.constFind(key);
    if (it == texts_.constEnd()) return std::nullopt;
    return *it;
}

Language languageForLocaleId(int lcid) {
    switch (lcid) {
        case 1036: case 2060: case 3084: case 4108: case 5132: return Language::French;
        default: break;
    }
    // The low ten bits name the language, 9 English in all its countries.
    return (lcid & 0x3ff) == 0x09 ? Language::English : Language::Chinese;
}

Language languageForLocale(const QLocale& locale) {
    if (locale.language() == QLocale::English || locale.language() == QLocale::C) return Language::English;
    if (locale.language() != QLocale::French) return Language::Chinese;
    switch (locale.territory()) {
        case QLocale::France: case QLocale::Belgium: case QLocale::Canada: case QLocale::Switzerland:
        case QLocale::Luxembourg: return Language::French;
        default: return Language::Chinese;
    }
}

Language languageForLocaleName(const QString& name) {
    // "fr_CA.UTF-8", "de_DE@euro": the language and country before the code set and modifier.
    const QString base = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (base.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX")) return Language::English;
    const QLocale locale(base);
    // Qt gives its C locale for a name it does not know: that is not English.
    if (locale.language() == QLocale::C) return Language::Chinese;
    return languageForLocale(locale);
}

Language startupLanguage() {
#ifdef Q_OS_WIN
    return languageForLocale(QLocale::system());
#else
    // The locale of messages as the C library finds it: LC_ALL, then LC_MESSAGES, then LANG; none
    // set is the C locale.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return languageForLocaleName(value);
    }
    return Language::English;
#endif
}

std::optional<Language> languageForCode(const QString& code) {
    for (Language language : {Language::French, Language::Chinese, Language::English})
        if (code.compare(languageCode(language), Qt::CaseInsensitive) == 0) return language;
    return std::nullopt;
}

QString languageCode(Language language) {
    switch (language) {
        case Language::French: return QStringLiteral("fr");
        case Language::Chinese: return QStringLiteral("zh");
        case Language::English: break;
    }
    return QStringLiteral("en");
}

QString countedText(Language language, const QString& key, qint64 count) {
    // French takes the singular for 0 and 1, English for 1 only; Chinese has one form.
    const TextTable& table = TextTable::of(language);
    const bool singular = language == Language::French ? count <= 1 : count == 1;
    const QString other = key + QStringLiteral(".other");
    const QString form = singular ? table.find(key + QStringLiteral(".one")).value_or(table.text(other)) : table.text(other);
    return QString(form).replace(QStringLiteral("%n"), QString::number(count));
}

QLocale languageLocale(Language language) {
    switch (language) {
        case Language::French: return QLocale(QLocale::French, QLocale::France);
        case Language::Chinese: return QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
        case Language::English: break;
    }
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

}  // namespace gt
