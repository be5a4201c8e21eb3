// The pool of worker threads of the transport step and the other grid passes.
#include "threads.h"

#include <algorithm>

namespace {
int requestedThreads = 0;  // 0: all cores
}

// The pool lives as long as the process: its workers wait for work until the
// process ends.  It is never destroyed, so that neither the exit of the
// process nor a forked copy of it (whose condition variable may show the
// parent's waiting workers) waits for threads that will not come.
Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

int EffectiveThreads() {
    int n = requestedThreads;
    if (n <= 0) {
        unsigned hc = std::thread::hardware_concurrency();
        n = hc == 0 ? 1 : static_cast<int>(hc);
    }
    return std::max(1, std::min(n, 64));
}

void SetTransportThreads(int n) {
    requestedThreads = n;
    ThePool().Resize(EffectiveThreads());
}

int TransportThreads() { return ThePool().Size(); }

void RunOnTransportThreads(const std::function<void(int, int)>& f) {
    Pool& pool = ThePool();
    if (pool.Size() != EffectiveThreads()) pool.Resize(EffectiveThreads());
    const int n = pool.Size();
    pool.Run([&](int t) { f(t, n); });
}
