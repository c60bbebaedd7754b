// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the built-in pictures straight from assets/data for their tests.

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace gt::testing {

inline QImage loadAsset(const std::string& name) {
    QImage img(QString::fromStdString(std::string(GT_ASSET_DIR) + "/" + name));
    EXPECT_FALSE(img.isNull()) << name << " cannot be read";
    return img;
}

// The sum over a line of |a - b| between two columns (or rows) of one channel, for comparing the
// seam where a tile meets its next copy with the steps between neighbours inside the tile.
struct Steps {
    std::vector<double> interior;  // one entry per neighbouring pair inside the picture
    double wrap = 0;               // the last line against the first
};

inline int channel(QRgb c, int ch) { return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c); }

// Steps between neighbouring columns (across = true) or rows, with the tile repeating every `period`.
inline Steps steps(const QImage& img, bool across, int period) {
    Steps s;
    int lines = across ? img.height() : img.width();
    auto diff = [&](int a, int b) {
        double sum = 0;
        for (int i = 0; i < lines; ++i)
            for (int ch = 0; ch < 3; ++ch) {
                QRgb p = across ? img.pixel(a, i) : img.pixel(i, a);
                QRgb q = across ? img.pixel(b, i) : img.pixel(i, b);
                sum += std::abs(channel(p, ch) - channel(q, ch));
            }
        return sum / lines;
    };
    for (int k = 0; k + 1 < period; ++k) s.interior.push_back(diff(k, k + 1));
    s.wrap = diff(period - 1, 0);
    return s;
}

inline double maxOf(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }
inline double meanOf(const std::vector<double>& v) {
    double t = 0;
    for (double d : v) t += d;
    return t / double(v.size());
}

}  // namespace gt::testing
