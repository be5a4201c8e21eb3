// The tissue's generation, from a copy of the grids that define it.
#include "tissue_watch.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "state.h"
#include "threads.h"

namespace {

// Tc, Cell, Tct and Tmt as at the last call, column after column.
std::vector<int> copy;
unsigned long generation = 0;

}  // namespace

unsigned long TissueGeneration() {
    int** const grids[4] = {Tc, Cell, Tct, Tmt};
    const size_t column = static_cast<size_t>(NROWS);
    const bool first = copy.empty();
    if (first) copy.assign(4 * static_cast<size_t>(NCOLS) * column, 0);
    std::atomic<bool> changed{first};
    RunOnTransportThreads([&](int t, int n) {
        bool mine = false;
        for (int i = NCOLS * t / n; i < NCOLS * (t + 1) / n; i++)
            for (int g = 0; g < 4; g++) {
                int* kept = copy.data() + (static_cast<size_t>(i) * 4 + g) * column;
                if (memcmp(kept, grids[g][i], column * sizeof(int)) == 0) continue;
                memcpy(kept, grids[g][i], column * sizeof(int));
                mine = true;
            }
        if (mine) changed = true;
    });
    if (changed) generation++;
    return generation;
}
