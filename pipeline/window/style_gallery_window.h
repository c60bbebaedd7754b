// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nine styles side by side: the parameter window's crop in every style, each with the sliders
// that style has, made on a worker thread while the window paints; a click on a picture chooses
// its style in the parameter window.

#include <QImage>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>
#include <thread>

#include "imaging/bitmap.h"
#include "imaging/resources.h"
#include "pipeline/style_gallery.h"
#include "ui/widgets.h"

class QLabel;

namespace gt {

class StyleGalleryWindow : public TiledWidget {
    Q_OBJECT
public:
    StyleGalleryWindow(const Resources& resources, QWidget* parent = nullptr);
    ~StyleGalleryWindow() override;

    // Starts making the nine pictures of this crop (200 x 200, taken from a photo of the given size)
    // with the styles' controls; pictures still coming from an earlier start are dropped.
    void showStyles(const Bitmap& crop, int photoWidth, int photoHeight, const StyleControls& controls);
    // The style list's texts, shown under the pictures.
    void setStyleNames(const QStringList& names);
    // Drops the pictures still coming and waits for the one being made.
    void stopWorker();

    // The cells, left to right and top to bottom in style order (objectName "Style0" .. "Style8").
    std::array<ClickableLabel*, kStyleCount> pictures{};
    std::array<QLabel*, kStyleCount> captions{};
    // The pictures in style order (null until made), and how many of the last start's are there.
    const QImage& picture(int style) const { return images_[std::size_t(style)]; }
    int picturesMade() const { return made_; }

signals:
    void styleChosen(int style);
    void pictureMade(int style);

private:
    void showPicture(unsigned generation, int style, const QImage& image);

    const Resources& resources_;
    std::array<QImage, kStyleCount> images_;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    unsigned generation_ = 0;
    int made_ = 0;
};

}  // namespace gt
