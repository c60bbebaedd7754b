// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a window leaves the interface thread. A Worker runs a callable on a thread of its own
// and hands its end (the exception it threw, or none) back to the interface thread; while it runs,
// the work may post calls to the interface thread through it. A window owns its Worker: destroying
// it waits for the work, and nothing is delivered to a window that is gone.
//
// waitForWork is the variant for a command that cannot go on before the work is done: the windows
// go on painting and the timers run meanwhile, and the user's input waits until then (held back,
// not lost), under the busy cursor.

#include <QObject>
#include <QThread>
#include <exception>
#include <functional>

namespace gt {

class Worker : public QObject {
    Q_OBJECT
public:
    explicit Worker(QObject* parent = nullptr);
    ~Worker() override;  // waits for the work

    bool running() const { return thread_ != nullptr; }
    // Starts `work` on a new thread; `done` runs on the interface thread when it has ended, with what
    // it threw (null when nothing). False, and nothing started, while work runs already.
    bool run(std::function<void()> work, std::function<void(std::exception_ptr failure)> done);
    // Returns when the work has ended; `done` still comes later, through the event loop.
    void wait();
    // The same, the windows painting and the timers running meanwhile, the user's input held back
    // (not lost) under the busy cursor, as waitForWork does.
    void waitPainting();
    // From the work: runs `call` on the interface thread, in the order posted, unless the Worker is
    // gone by then.
    void post(std::function<void()> call);

private:
    QThread* thread_ = nullptr;
};

// Runs `work` on a thread of its own and returns when it has ended, rethrowing what it threw.
void waitForWork(const std::function<void()>& work);

template <typename Result>
Result waitForResult(const std::function<Result()>& work) {
    Result result{};
    waitForWork([&] { result = work(); });
    return result;
}

}  // namespace gt
