// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts of the interface pictures, taken from the font files the set-up script installs
// (fonts-dejavu-core, fonts-wqy-zenhei).

#include "generators.h"

#include <QFontDatabase>

#include <array>
#include <stdexcept>

namespace gt::assets {

namespace {

struct FaceFile {
    const char* path;
    bool bold;
};

constexpr std::array<FaceFile, 5> kFaces{{
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", false},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", true},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", false},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf", true},
    {"/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", false},
}};

std::array<QString, 5> gFamilies;

}  // namespace

void registerFonts() {
    for (std::size_t i = 0; i < kFaces.size(); ++i) {
        int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kFaces[i].path));
        QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty())
            throw std::runtime_error(std::string(kFaces[i].path) + ": font missing (run scripts/install-deps.sh)");
        gFamilies[i] = families.first();
    }
}

QFont fontOf(Face face, double pixelSize) {
    std::size_t i = std::size_t(face);
    QFont font(gFamilies[i]);
    font.setPixelSize(int(pixelSize + 0.5));
    font.setBold(kFaces[i].bold);
    // No hinting and no borrowed glyphs: the picture depends only on the font file.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    return font;
}

}  // namespace gt::assets
