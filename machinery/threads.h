// Threads shared by the transport step and the other grid passes.  Work is
// always split so that results do not depend on the number of threads: each
// thread writes its own part, and every sum is formed in a fixed order.
#pragma once

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Threads of the transport step (0: all cores).  Results do not depend on it.
void SetTransportThreads(int n);
int TransportThreads();
// Runs f(t, n) once for every thread t = 0..n-1 of the transport step's
// threads and returns when all are done.  Work split by t must not depend on
// n for its result (each thread writes its own part).
void RunOnTransportThreads(const std::function<void(int, int)>& f);
// The share [*begin, *end) of items 0..count-1 that thread t of n takes when
// the items are cut into contiguous runs of about equal work (work(k) >= 1).
// The shares of t = 0..n-1 follow one another and cover every item.
template <class Work>
void ShareByWork(int count, int t, int n, Work work, int* begin, int* end) {
    long total = 0;
    for (int k = 0; k < count; k++) total += work(k);
    *begin = *end = count;
    long acc = 0;
    for (int k = 0; k < count; k++) {
        long owner = acc * n / total;
        if (owner > n - 1) owner = n - 1;
        if (owner >= t && *begin == count) *begin = k;
        if (owner > t) {
            *end = k;
            break;
        }
        acc += work(k);
    }
    if (*begin > *end) *begin = *end;
}

// ---------------------------------------------------------------------------
// The pool itself, for the machinery's own passes.

// A small pool of worker threads that run one function over a range of thread
// slots and wait for each other at its end.
class Pool {
public:
    void Resize(int n) {
        if (n == static_cast<int>(workers_.size()) + 1) return;
        Stop();
        stop_ = false;
        // The workers start from the present epoch, read here and not when
        // they first run: a Run right after this must not go unnoticed.
        const unsigned long start = epoch_.load(std::memory_order_acquire);
        owner_ = getpid();
        for (int t = 1; t < n; t++) workers_.emplace_back([this, t, start] { Work(t, start); });
    }
    int Size() const { return static_cast<int>(workers_.size()) + 1; }

    template <typename F>
    void Run(F&& f) {
        int n = Size();
        if (n == 1 || getpid() != owner_) {
            // One thread, or a forked copy of the process, which has none of
            // the workers: every slot runs here, in order.
            for (int t = 0; t < n; t++) f(t);
            return;
        }
        fn_ = [&f](int t) { f(t); };
        remaining_.store(n - 1, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lk(mu_);
            epoch_.fetch_add(1, std::memory_order_release);
        }
        cv_.notify_all();
        f(0);
        // Wait for the workers: spin briefly, they are usually done by now.
        while (remaining_.load(std::memory_order_acquire) != 0) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
    }
    ~Pool() { Stop(); }

private:
    void Stop() {
        if (workers_.empty()) return;
        if (getpid() != owner_) {
            // A forked copy: the workers belong to the parent and cannot be
            // joined here; their handles are left alone for good.
            new std::vector<std::thread>(std::move(workers_));
            workers_.clear();
            return;
        }
        {
            std::lock_guard<std::mutex> lk(mu_);
            stop_ = true;
            epoch_.fetch_add(1, std::memory_order_release);
        }
        cv_.notify_all();
        for (auto& w : workers_) w.join();
        workers_.clear();
    }
    void Work(int t, unsigned long seen) {
        for (;;) {
            // Spin for a short while before sleeping: the next half step
            // usually follows within microseconds.
            unsigned long now = seen;
            for (int spin = 0; spin < 20000; spin++) {
                now = epoch_.load(std::memory_order_acquire);
                if (now != seen) break;
#if defined(__x86_64__) || defined(__i386__)
                __builtin_ia32_pause();
#endif
            }
            if (now == seen) {
                std::unique_lock<std::mutex> lk(mu_);
                cv_.wait(lk, [&] { return epoch_.load(std::memory_order_acquire) != seen; });
                now = epoch_.load(std::memory_order_acquire);
            }
            seen = now;
            if (stop_) return;
            fn_(t);
            remaining_.fetch_sub(1, std::memory_order_acq_rel);
        }
    }

    std::vector<std::thread> workers_;
    std::function<void(int)> fn_;
    std::atomic<unsigned long> epoch_{0};
    std::atomic<int> remaining_{0};
    std::mutex mu_;
    std::condition_variable cv_;
    bool stop_ = false;
    pid_t owner_ = 0;
};

// The one pool of the process, sized to the requested number of threads by
// its users before they run work on it.
Pool& ThePool();
// The number of threads asked for (all cores when 0), between 1 and 64.
int EffectiveThreads();
