#include "mainwindow/platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "imaging/io/picture_io.h"
#include "ui/qt_bitmap.h"

namespace gt {

void copyPictureToClipboard(const Bitmap& picture) {
    if (picture.empty()) return;
    QGuiApplication::clipboard()->setImage(toQImage(picture));
}

std::optional<Bitmap> pictureFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) return std::nullopt;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull()) return std::nullopt;
    checkPictureSize(image.width(), image.height(), PictureLimits{}, "the clipboard's picture");
    return fromQImage(image);
}

}  // namespace gt
