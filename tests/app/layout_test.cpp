// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "mainwindow/layout.h"

namespace gt {
namespace {

TEST(MainLayout, DesignWidthGivesTheDocumentedPanes) {
    const MainLayout l = computeLayout(961, 578, 0);
    EXPECT_EQ(l.leftPane, (Rect{5, 54, 472, 492}));
    EXPECT_EQ(l.rightPane.left, 483);
    EXPECT_EQ(l.rightPane.width, 472);
    EXPECT_EQ(l.divider, (Rect{476, 44, 8, 504}));
    EXPECT_EQ(l.toolbar, (Rect{5, 5, 951, 44}));
    EXPECT_EQ(l.status, (Rect{5, 552, 951, 20}));
    EXPECT_EQ(l.progressLabelLeft, 918);
    EXPECT_EQ(l.zoomOutLeft, 831);
    EXPECT_EQ(l.fitLeft, 871);
    EXPECT_EQ(l.zoomInLeft, 911);
    EXPECT_EQ(l.zoomLabelLeft, 781);
}

TEST(MainLayout, SplitOffsetIsClampedTenPixelsShortOfEitherEdge) {
    EXPECT_EQ(clampSplitOffset(5000, 961), 470);
    EXPECT_EQ(clampSplitOffset(-5000, 961), -470);
    EXPECT_EQ(clampSplitOffset(100, 961), 100);
    // Dragged all the way left: the left pane keeps 2 pixels; all the way right: the right one does.
    EXPECT_EQ(computeLayout(961, 578, 5000).leftPane.width, 2);
    EXPECT_EQ(computeLayout(961, 578, -5000).rightPane.width, 2);
    // Positive offsets move the divider left.
    const MainLayout moved = computeLayout(961, 578, 100);
    EXPECT_EQ(moved.divider.left, 376);
    EXPECT_EQ(moved.leftPane.width, 372);
    EXPECT_EQ(moved.rightPane.left, 383);
    EXPECT_EQ(moved.rightPane.width, 572);
}

TEST(MainLayout, DividerReleaseAndDoubleClickMarker) {
    // Released 30 pixels right of the divider's left edge at 476: the divider follows the mouse.
    EXPECT_EQ(splitOffsetAfterDrag(0, 961, 476, 30), 480 - 476 - 30);
    EXPECT_EQ(splitOffsetAfterDrag(kSplitCentreMarker, 961, 300, 30), 0);
}

TEST(MainLayout, RestoredWindowOnAWorkArea) {
    EXPECT_EQ(restoredGeometry(1280, 1024), (Rect{40, 30, 1200, 964}));
}

TEST(MainLayout, CentringRoundsEachHalfSeparately) {
    EXPECT_EQ(centredPosition(472, 300), 86);
    EXPECT_EQ(centredPosition(471, 301), 235 - 150);
    EXPECT_EQ(centredPosition(100, 301), 50 - 150);
}

TEST(MainLayout, BoundsKeepSmallPicturesInsideAndLargeOnesCovering) {
    // Smaller than the pane: cannot leave it.
    EXPECT_EQ(boundedPosition(-5, 400, 100), 0);
    EXPECT_EQ(boundedPosition(350, 400, 100), 300);
    EXPECT_EQ(boundedPosition(120, 400, 100), 120);
    // Larger: the pane stays covered.
    EXPECT_EQ(boundedPosition(10, 400, 1000), 0);
    EXPECT_EQ(boundedPosition(-700, 400, 1000), -600);
    EXPECT_EQ(boundedPosition(-300, 400, 1000), -300);
    // Equal sizes count as larger.
    EXPECT_EQ(boundedPosition(3, 400, 400), 0);
}

TEST(MainLayout, ZoomArithmetic) {
    EXPECT_EQ(zoomed(100, 5), 5);
    EXPECT_EQ(zoomed(6000, 33), 1980);
    EXPECT_EQ(clampZoom(2), 5);
    EXPECT_EQ(clampZoom(2000), 1000);
}

}  // namespace
}  // namespace gt
