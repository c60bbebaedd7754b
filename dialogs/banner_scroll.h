// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window's banner: one pixel to the left every 10 ms until it has moved 1000 pixels, a
// pause, and back to the start. The pause is two timer steps, never a sleep: the banner stays at
// its end for 100 ms, then at its start for 900 ms, and moves on.

namespace gt {

class BannerScroll {
public:
    static constexpr int kStepInterval = 10;
    static constexpr int kEnd = -1000;

    int left() const { return left_; }
    // One tick of the banner's timer; returns the next interval in ms, 0 to stop.
    int tick(bool visible) {
        if (!visible) return 0;
        if (pausing_) {
            pausing_ = false;
            left_ = 0;
            return 900;
        }
        if (left_ > kEnd) {
            --left_;
            return kStepInterval;
        }
        pausing_ = true;
        return 100;
    }
    void reset() {
        left_ = 0;
        pausing_ = false;
    }

private:
    int left_ = 0;
    bool pausing_ = false;
};

}  // namespace gt
