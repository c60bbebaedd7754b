// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette of a desktop with a dark theme: light text on dark windows and boxes.

#include <QColor>
#include <QPalette>

namespace gt::test {

inline QPalette darkDesktopPalette() {
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230);
    QPalette p(text, window, QColor(80, 80, 80), QColor(20, 20, 20), QColor(40, 40, 40), text, Qt::white, base, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    return p;
}

}  // namespace gt::test
