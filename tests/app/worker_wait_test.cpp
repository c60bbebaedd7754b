// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for a picture file's reading or writing on a worker: the result and the failure come back
// to the caller, and the interface thread goes on running its timers (and painting) meanwhile.
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app_test_support.h"
#include "mainwindow/worker_job.h"

namespace gt {
namespace {

TEST(WaitForWork, TheInterfaceThreadRunsMeanwhileAndTheOutcomeComesBack) {
    test::app();
    // The work ends only once the interface thread has run a timer that fires after the work began:
    // a plain wait would never see it.
    std::atomic<bool> fired{false};
    QTimer::singleShot(100, [&fired] { fired = true; });
    const bool seen = waitForResult<bool>([&fired] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!fired && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return fired.load();
    });
    EXPECT_TRUE(seen);
    EXPECT_FALSE(QApplication::overrideCursor()) << "the busy cursor goes with the wait";

    // Quick work takes the short way, and a failure reaches the caller as it was thrown.
    EXPECT_EQ(waitForResult<int>([] { return 7; }), 7);
    try {
        waitForWork([] { throw std::runtime_error("photo.jpg: broken JPEG data"); });
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "photo.jpg: broken JPEG data");
    }
}

}  // namespace
}  // namespace gt
