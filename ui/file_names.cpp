#include "ui/file_names.h"

#include <QFileInfo>
#include <QStringList>

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

ArgumentAction argumentAction(const QString& argument) {
    if (argument.isEmpty()) return ArgumentAction::None;
    const QString ext = lowerExtension(argument);
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg")) return ArgumentAction::OpenPicture;
    if (ext == QLatin1String(".gtl")) return ArgumentAction::LoadParameters;
    return ArgumentAction::None;
}

bool isLoadablePictureName(const QString& name) {
    const QString ext = lowerExtension(name);
    return ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg") || ext == QLatin1String(".bmp");
}

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
