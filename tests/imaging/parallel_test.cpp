// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "imaging/parallel.h"

namespace {

// Restores the worker count whatever a test does.
struct Workers {
    explicit Workers(int n) { gt::setWorkerCount(n); }
    ~Workers() { gt::setWorkerCount(0); }
};

// Every row of [begin, end) visited exactly once, whatever the bands.
void expectEveryRowOnce(int begin, int end, int minRows) {
    std::vector<std::atomic<int>> visits(std::size_t(end > 0 ? end : 0));
    gt::parallelRows(begin, end, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) visits[std::size_t(y)].fetch_add(1);
    }, minRows);
    for (int y = 0; y < end; ++y) EXPECT_EQ(visits[std::size_t(y)].load(), y >= begin ? 1 : 0) << "row " << y;
}

TEST(ParallelRows, EveryRowOnceForAnyWorkerCountAndBandSize) {
    for (int workers : {1, 2, 3, 8}) {
        Workers w(workers);
        for (int rows : {0, 1, 15, 16, 33, 1000})
            for (int minRows : {0, 1, 16}) expectEveryRowOnce(5, 5 + rows, minRows);
    }
}

TEST(ParallelRows, ManyCallsInARowAndCallsFromInsideABand) {
    Workers w(4);
    for (int k = 0; k < 300; ++k) expectEveryRowOnce(0, 64 + k % 7, 1);
    // A band asking for bands of its own does them itself.
    std::atomic<int> inner{0};
    gt::parallelRows(0, 64, [&](int y0, int y1) {
        gt::parallelRows(0, (y1 - y0) * 2, [&](int a, int b) { inner.fetch_add(b - a); }, 1);
    }, 1);
    EXPECT_EQ(inner.load(), 128);
}

TEST(ParallelRows, ABandsFailureReachesTheCallerAndThePoolServesOnAfterwards) {
    Workers w(4);
    EXPECT_THROW(gt::parallelRows(0, 100, [](int y0, int) {
        if (y0 > 0) throw std::runtime_error("band failed");
    }, 1), std::runtime_error);
    expectEveryRowOnce(0, 100, 1);
}

TEST(ParallelRows, TwoCallersAtOnceEachGetAllTheirRows) {
    Workers w(3);
    auto caller = [] {
        for (int k = 0; k < 200; ++k) expectEveryRowOnce(0, 50, 1);
    };
    std::thread other(caller);
    caller();
    other.join();
}

}  // namespace
