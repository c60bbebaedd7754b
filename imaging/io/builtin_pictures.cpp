// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/io/builtin_pictures.h"

#include <QFile>

#include <cstdio>
#include <functional>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"

namespace gt {

namespace {

using Reader = std::function<Bitmap(const std::string& name)>;

// The routines index these pictures by their documented sizes, so a wrong size is refused here.
Bitmap sized(Bitmap picture, const std::string& name, int width, int height) {
    if (picture.width() != width || picture.height() != height)
        throw Error(name + ": the built-in picture is " + std::to_string(picture.width()) + " x " +
                    std::to_string(picture.height()) + ", not " + std::to_string(width) + " x " + std::to_string(height));
    return picture;
}

Resources loadAll(const Reader& read) {
    Resources r;
    r.PencilToneStrip = sized(read("pencil_tone_strip.png"), "pencil_tone_strip.png", 512, 166);
    for (int i = 0; i < kInkTileCount; ++i) {
        const std::string name = "ink_tile_" + std::to_string(i) + ".png";
        // Transparent pixels arrive laid on white, which is how the tiles are drawn onto the drawing.
        r.InkToneTiles[static_cast<std::size_t>(i)] = sized(read(name), name, 100, 200);
    }
    for (int i = 0; i < kPaperTextureCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "paper_%02d.png", i + 1);
        r.PaperTextures[static_cast<std::size_t>(i)] = sized(read(name), name, 256, 256);
    }
    for (int i = 0; i < kFramePictureCount; ++i) {
        const std::string name = "frame_" + std::to_string(i + 1) + ".jpg";
        r.FramePictures[static_cast<std::size_t>(i)] = read(name);
    }
    return r;
}

}  // namespace

Resources loadBuiltinPictures() {
    return loadAll([](const std::string& name) {
        const QString path = QStringLiteral(":/assets/data/") + QString::fromStdString(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) throw Error(path.toStdString() + ": the built-in picture is missing");
        const QByteArray bytes = file.readAll();
        return decodePicture(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<std::size_t>(bytes.size()),
                             path.toStdString());
    });
}

Resources loadBuiltinPicturesFrom(const std::string& directory) {
    return loadAll([&](const std::string& name) { return readPicture(directory + "/" + name); });
}

}  // namespace gt
