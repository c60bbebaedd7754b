// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app_test_support.h"
#include "mainwindow/status_strip.h"

namespace gt {
namespace {

class StatusStripTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        strip.resize(443, 20);  // a full bar is 400 pixels
    }
    // Columns of the bar that hold the slice.
    std::vector<int> barColumns() const {
        std::vector<int> columns;
        const QImage& bar = strip.bar();
        for (int x = 0; x < bar.width(); ++x)
            if (bar.pixel(x, 10) != qRgb(255, 255, 255)) columns.push_back(x);
        return columns;
    }
    StatusStrip strip;
};

TEST_F(StatusStripTest, HalfWayShowsFiftyPercentAndSevenPixelBlocks) {
    QImage slice(1, 20, QImage::Format_RGB32);
    slice.fill(qRgb(10, 20, 200));
    strip.setSlice(slice);
    QSignalSpy started(&strip, &StatusStrip::runStarted);
    strip.ProgressReport(0, 99, 1, 1);
    EXPECT_EQ(started.count(), 1);
    EXPECT_TRUE(strip.running());
    EXPECT_EQ(strip.Label2->text(), QStringLiteral("1 %"));
    strip.ProgressReport(49, 99, 1, 1);
    EXPECT_EQ(strip.Label2->text(), QStringLiteral("50 %"));
    const std::vector<int> columns = barColumns();
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(columns.front(), 1);
    EXPECT_EQ(columns.back(), 202);
    for (int x : columns) EXPECT_NE(x % 8, 0) << x;
    EXPECT_EQ(int(columns.size()), 203 - 26);  // 0, 8, ..., 200 left out
}

TEST_F(StatusStripTest, TheSamePercentageDrawsOnce) {
    strip.ProgressReport(0, 999, 1, 1);
    const int draws = strip.barDraws();
    strip.ProgressReport(1, 999, 1, 1);  // still 1 %
    EXPECT_EQ(strip.barDraws(), draws);
    strip.ProgressReport(20, 999, 1, 1);
    EXPECT_EQ(strip.barDraws(), draws + 1);
}

TEST_F(StatusStripTest, PassesShareTheBarAndTheEndRestoresTheStatusText) {
    QSignalSpy ended(&strip, &StatusStrip::runEnded);
    strip.ProgressReport(0, 9, 1, 2);
    strip.ProgressReport(0, 9, 2, 2);  // the second pass starts half way
    EXPECT_EQ(strip.Label2->text(), QStringLiteral("51 %"));
    strip.ProgressReport(9, 9, 2, 2);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(strip.running());
    EXPECT_TRUE(strip.Label2->isHidden());
    EXPECT_FALSE(strip.Label1->isHidden());
    // An end without any step before it still restores the normal menu.
    strip.ProgressReport(100, 100, 1, 1);
    EXPECT_EQ(ended.count(), 2);
}

TEST_F(StatusStripTest, AResizedStripStartsTheBarAgain) {
    strip.ProgressReport(0, 99, 1, 1);
    strip.ProgressReport(70, 99, 1, 1);
    strip.markResized();
    strip.ProgressReport(71, 99, 1, 1);
    EXPECT_EQ(strip.Label2->text(), QStringLiteral("1 %"));
}

}  // namespace
}  // namespace gt
