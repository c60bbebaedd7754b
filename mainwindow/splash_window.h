// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window shown while the windows are created: borderless, on top, centred, and faded
// out at the end.

#include <QWidget>

namespace gt {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();
    // 26 steps of 35 ms: opacity 250/255, 240/255, ... 0.
    void fadeOut();
    static constexpr int kFadeSteps = 26;
    static constexpr int kFadeStepMs = 35;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace gt
