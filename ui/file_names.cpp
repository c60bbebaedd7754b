// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/file_names.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <string>

#include "imaging/io/picture_io.h"

namespace gt {

namespace {
QString lowerExtension(const QString& name) {
    const QString base = QFileInfo(name).fileName();
    const int dot = base.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : base.mid(dot).toLower();
}
}  // namespace

QString defaultSaveName(const QString& openedFile) {
    if (openedFile.isEmpty()) return QStringLiteral("Graphitello image.jpg");
    return QStringLiteral("Graphitello - ") + QFileInfo(openedFile).fileName();
}

QString withJpgExtension(const QString& name) {
    if (name.endsWith(QLatin1String(".jpg"), Qt::CaseSensitive)) return name;
    return name + QLatin1String(".jpg");
}

bool savesAsPng(const QString& name, bool pngChosen) {
    return pngChosen || name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

QString withSaveExtension(const QString& name, bool pngChosen) {
    if (!savesAsPng(name, pngChosen)) return withJpgExtension(name);
    if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return name;
    return name + QLatin1String(".png");
}

ArgumentAction argumentAction(const QString& argument) {
    if (argument.isEmpty()) return ArgumentAction::None;
    if (lowerExtension(argument) == QLatin1String(".gtl")) return ArgumentAction::LoadParameters;
    return ArgumentAction::OpenPicture;
}

namespace {
QStringList patternsOf(const ReadableKind& kind) {
    QStringList patterns;
    for (const std::string& e : kind.extensions) patterns << QStringLiteral("*.") + QString::fromStdString(e);
    return patterns;
}
}  // namespace

bool isLoadablePictureName(const QString& name) {
    const QString ext = lowerExtension(name);
    if (ext.isEmpty()) return false;
    for (const ReadableKind& kind : readableKinds())
        if (patternsOf(kind).contains(QLatin1Char('*') + ext)) return true;
    return false;
}

QString openDialogFilters(const QString& legacyFirstEntry, const QString& allFilesEntry) {
    const std::vector<ReadableKind> kinds = readableKinds();
    QStringList all;
    for (const ReadableKind& kind : kinds) all << patternsOf(kind);
    // The first entry keeps its text; its patterns become those of every kind read.
    QString first = qtNameFilter(legacyFirstEntry);
    const int open = first.lastIndexOf(QLatin1Char('('));
    if (open >= 0) first = first.left(open);
    QStringList entries{first + QLatin1Char('(') + all.join(QLatin1Char(' ')) + QLatin1Char(')')};
    for (const ReadableKind& kind : kinds)
        entries << QString::fromStdString(kind.name) + QStringLiteral(" (") + patternsOf(kind).join(QLatin1Char(' ')) + QLatin1Char(')');
    entries << allFilesEntry;
    return entries.join(QStringLiteral(";;"));
}

QString saveDialogFilters(const QString& legacyJpegEntry, const QString& pngEntry) {
    return qtNameFilter(legacyJpegEntry) + QStringLiteral(";;") + pngEntry;
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromLocalPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString pictureStatusText(const QString& name, int width, int height) {
    return QStringLiteral("%1 - %2x%3").arg(name).arg(width).arg(height);
}

QString qtNameFilter(const QString& legacyFilter) {
    const int bar = legacyFilter.indexOf(QLatin1Char('|'));
    if (bar < 0) return legacyFilter;
    QString text = legacyFilter.left(bar);
    QStringList patterns;
    for (QString p : legacyFilter.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        p.remove(QLatin1Char(')'));
        if (!p.isEmpty()) patterns << p.toLower();
    }
    // The text already names its patterns in brackets; Qt reads the patterns from the last bracket,
    // so the list goes there and the text before it stays as written.
    const int open = text.lastIndexOf(QLatin1Char('('));
    if (open >= 0) text = text.left(open);
    return text + QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace gt
