// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "imaging/io/picture_io.h"
#include "mainwindow/worker_job.h"
#include "ui/qt_bitmap.h"

namespace gt {

// The conversions and the decoding grow with the picture: they run on a worker, the clipboard's
// own calls on the interface thread.
void copyPictureToClipboard(const Bitmap& picture) {
    if (picture.empty()) return;
    QGuiApplication::clipboard()->setImage(waitForResult<QImage>([&picture] { return toQImage(picture); }));
}

void copyTextToClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

// A picture offered as a file's bytes goes through the program's own loader: its size is checked
// before it is decoded, its profile and orientation applied as for a file.
std::optional<Bitmap> pictureFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return std::nullopt;
    for (const char* type : {"image/png", "image/jpeg", "image/tiff", "image/webp", "image/bmp"}) {
        const QString mime = QString::fromLatin1(type);
        if (!data->hasFormat(mime)) continue;
        const QByteArray bytes = data->data(mime);
        if (bytes.isEmpty()) continue;
        return waitForResult<Bitmap>([&bytes] {
            return loadPicture(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<std::size_t>(bytes.size()),
                               "the clipboard's picture")
                .bitmap;
        });
    }
    if (!data->hasImage()) return std::nullopt;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull()) return std::nullopt;
    checkPictureSize(image.width(), image.height(), PictureLimits{}, "the clipboard's picture");
    return waitForResult<Bitmap>([&image] { return fromQImage(image); });
}

}  // namespace gt
