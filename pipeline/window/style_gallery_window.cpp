// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/window/style_gallery_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "pipeline/preview.h"
#include "ui/qt_bitmap.h"

namespace gt {

StyleGalleryWindow::StyleGalleryWindow(const Resources& resources, QWidget* parent)
    : TiledWidget(parent, Qt::Tool), resources_(resources) {
    setObjectName(QStringLiteral("StyleGallery"));
    setWindowTitle(QStringLiteral("Tous les styles"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    for (int s = 0; s < kStyleCount; ++s) {
        auto* picture = new ClickableLabel(this);
        picture->setObjectName(QStringLiteral("Style%1").arg(s));
        picture->setFixedSize(kPreviewSize, kPreviewSize);
        picture->setAlignment(Qt::AlignCenter);
        picture->setText(QStringLiteral("…"));
        picture->setStyleSheet(QStringLiteral("QLabel { background: #d8d8d8; color: #606060; font-size: 24px; }"));
        picture->setCursor(Qt::PointingHandCursor);
        connect(picture, &ClickableLabel::clicked, this, [this, s] { emit styleChosen(s); });
        auto* caption = new QLabel(this);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setWordWrap(true);
        caption->setFixedWidth(kPreviewSize);
        grid->addWidget(picture, (s / 3) * 2, s % 3);
        grid->addWidget(caption, (s / 3) * 2 + 1, s % 3);
        pictures[std::size_t(s)] = picture;
        captions[std::size_t(s)] = caption;
    }
    setFixedSize(sizeHint());
}

StyleGalleryWindow::~StyleGalleryWindow() { stopWorker(); }

void StyleGalleryWindow::setStyleNames(const QStringList& names) {
    for (int s = 0; s < kStyleCount && s < names.size(); ++s) captions[std::size_t(s)]->setText(names[s].trimmed());
}


void StyleGalleryWindow::stopWorker() {
    if (cancel_) cancel_->store(true);
    if (worker_.joinable()) worker_.join();
}

void StyleGalleryWindow::showStyles(const Bitmap& crop, int photoWidth, int photoHeight, const StyleControls& controls) {
    stopWorker();
    const unsigned generation = ++generation_;
    // The pictures shown stay until their new ones come, so a change does not blank the window.
    made_ = 0;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    // The worker gets copies of everything it reads: the 200 x 200 crop, not the photo. It is joined
    // before the window goes, and a queued picture dies with the window.
    worker_ = std::thread([this, crop, photoWidth, photoHeight, controls, cancel = cancel_, generation] {
        try {
            renderStylePreviewsOfCrop(crop, photoWidth, photoHeight, controls, resources_,
                                      [&](int style, const Bitmap& b) {
                                          if (cancel->load()) return;
                                          const QImage image = toQImage(b);
                                          QMetaObject::invokeMethod(
                                              this, [this, generation, style, image] { showPicture(generation, style, image); },
                                              Qt::QueuedConnection);
                                      },
                                      cancel.get());
        } catch (const std::exception&) {
            // A picture that cannot be made keeps its cell as it was; the parameter window's own
            // preview reports the failure.
        }
    });
}

void StyleGalleryWindow::showPicture(unsigned generation, int style, const QImage& image) {
    if (generation != generation_) return;  // from an earlier crop or earlier settings
    images_[std::size_t(style)] = image;
    ++made_;
    pictures[std::size_t(style)]->setText(QString());
    pictures[std::size_t(style)]->setPixmap(QPixmap::fromImage(image));
    emit pictureMade(style);
}

}  // namespace gt
