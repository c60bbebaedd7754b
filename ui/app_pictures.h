// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The interface's own pictures (toolbar buttons, background tile, progress slice, splash, cursor,
// sketch buttons, sample photo), read once from the compiled-in resources. A picture that is not
// there is drawn plainly instead, so the window never lacks a button.

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "pipeline/styles.h"

namespace gt {

class AppPictures {
public:
    static const AppPictures& get();

    const QImage& background() const { return background_; }  // 512 x 512 tile
    const QImage& progressSlice() const { return slice_; }     // 1 x 20
    const QImage& splash() const { return splash_; }
    const QCursor& handCursor() const { return hand_; }
    // The parameter window's picture button that starts the drawing, its words in the language.
    QPixmap sketchButton(Language language) const;
    // A toolbar button by name (open, save, copy, paste, retouch, revert, parameters, text, print,
    // about, help, coffee, zoom_out, fit, zoom_in), 32 x 32.
    QPixmap toolButton(const QString& name) const;
    QImage appIcon(int size) const;

    // A built-in picture by file name, or a null image.
    static QImage resource(const QString& fileName);

private:
    AppPictures();
    QImage background_, slice_, splash_;
    QCursor hand_;
};

}  // namespace gt
