// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pan's inertia as plain arithmetic: when a release flings the pictures on, and how the speed
// dies away tick by tick (AccelTimer, 100 ms).

namespace gt {

// A release starts the inertia only when both speeds are fast enough: more than 10 pixels a tick on
// the photo, 8 or more on the drawing. A purely sideways or upward fling therefore stops dead.
bool flingStartsInertia(int velocityX, int velocityY, bool drawingPane);
// The tick that finds both speeds at 1 or less still moves the pictures, then stops the timer.
bool inertiaEnds(int velocityX, int velocityY);
// Each tick keeps 85 % of the speed, truncated toward zero.
constexpr int decayedVelocity(int velocity) { return velocity * 85 / 100; }

}  // namespace gt
