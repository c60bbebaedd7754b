// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace gt {

namespace {

std::atomic<int> g_workers{0};
std::atomic<bool> g_plain{false};

// Set on the pool's own threads, so that a band that asks for bands of its own runs them itself.
thread_local bool t_insideBand = false;

// Worker threads started once and kept: a rendering calls parallelRows a few hundred times (every
// smoothing iteration, every filter pass), and a preview a hundred times on a 200 x 200 crop, where
// starting fresh threads each time would cost more than the work.
class BandPool {
public:
    ~BandPool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // Runs body over the bands of one call, the calling thread taking its share. False when the
    // pool is already serving another caller (a preview while a rendering runs): the caller then
    // does all its bands itself, which gives the same bytes.
    bool run(const std::function<void(int, int)>& body, int begin, int rows, int bands) {
        std::unique_lock<std::mutex> busy(callerMutex_, std::try_to_lock);
        if (!busy.owns_lock()) return false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            while (static_cast<int>(threads_.size()) < bands - 1) threads_.emplace_back([this] { serve(); });
            body_ = &body;
            begin_ = begin;
            rows_ = rows;
            bands_ = bands;
            nextBand_.store(0);
            pending_ = bands;
            failure_ = nullptr;
            ++generation_;
        }
        wake_.notify_all();
        takeBands();
        std::unique_lock<std::mutex> lock(mutex_);
        // Every band done and every worker out of takeBands: only then may the next call reset them.
        done_.wait(lock, [this] { return pending_ == 0 && active_ == 0; });
        body_ = nullptr;
        if (failure_) std::rethrow_exception(failure_);
        return true;
    }

private:
    int bandStart(int i) const { return begin_ + static_cast<int>(static_cast<long long>(rows_) * i / bands_); }

    // Takes bands until none is left; every band taken is counted off once it is done, even when it
    // throws, so the caller never waits for ever.
    void takeBands() {
        for (int i = nextBand_.fetch_add(1); i < bands_; i = nextBand_.fetch_add(1)) {
            std::exception_ptr failure;
            try {
                (*body_)(bandStart(i), bandStart(i + 1));
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            if (failure && !failure_) failure_ = failure;
            --pending_;
        }
    }

    void serve() {
        t_insideBand = true;
        unsigned long long seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || (generation_ != seen && body_ != nullptr); });
                if (stopping_) return;
                seen = generation_;
                ++active_;
            }
            takeBands();
            std::lock_guard<std::mutex> lock(mutex_);
            --active_;
            done_.notify_one();
        }
    }

    std::mutex callerMutex_;  // one caller at a time
    std::mutex mutex_;        // guards everything below except nextBand_
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int, int)>* body_ = nullptr;
    int begin_ = 0, rows_ = 0, bands_ = 0, pending_ = 0, active_ = 0;
    std::atomic<int> nextBand_{0};
    unsigned long long generation_ = 0;
    std::exception_ptr failure_;
    bool stopping_ = false;
};

BandPool& bandPool() {
    static BandPool pool;
    return pool;
}

}  // namespace

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
    const int bands = std::min(workerCount(), std::max(1, rows / std::max(1, minRowsPerBand)));
    if (bands <= 1 || t_insideBand || !bandPool().run(body, begin, rows, bands)) body(begin, end);
}

}  // namespace gt
