#include "imaging/parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace gt {

namespace {
std::atomic<int> g_workers{0};
std::atomic<bool> g_plain{false};
}

bool plainPaths() { return g_plain.load(std::memory_order_relaxed); }
void setPlainPaths(bool plain) { g_plain.store(plain); }

int workerCount() {
    int n = g_workers.load();
    if (n <= 0) n = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return n;
}

void setWorkerCount(int n) { g_workers.store(n); }

void parallelRows(int begin, int end, const std::function<void(int, int)>& body, int minRowsPerBand) {
    const int rows = end - begin;
    if (rows <= 0) return;
    int bands = std::min(workerCount(), std::max(1, rows / std::max(1, minRowsPerBand)));
    if (bands <= 1) {
        body(begin, end);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(bands - 1);
    auto bandStart = [&](int i) { return begin + static_cast<int>(static_cast<long long>(rows) * i / bands); };
    for (int i = 1; i < bands; ++i) threads.emplace_back(body, bandStart(i), bandStart(i + 1));
    body(bandStart(0), bandStart(1));
    for (auto& t : threads) t.join();
}

}  // namespace gt
