// The tissue's generation, from the changes its writers report and a copy of
// the grids that define it.
#include "tissue_watch.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "state.h"
#include "threads.h"

namespace {

// Tc, Cell, Tct and Tmt as at the last look, column after column.
std::vector<int> copy;
unsigned long generation = 0;
// A writer changed the grids since the last look (also at the start, with
// nothing looked at yet).
bool reported = true;

// Compares the grids with the copy and brings the copy up to date; whether
// any point differed.
bool Look() {
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
    return changed;
}

}  // namespace

void TissueChanged() { reported = true; }

unsigned long TissueGeneration() {
#ifdef ROOTSIM_CHECKED
    const bool wasReported = reported;
    reported = true;
#endif
    if (!reported) return generation;
    reported = false;
    if (Look()) {
#ifdef ROOTSIM_CHECKED
        if (!wasReported) {
            fprintf(stderr, "%s: the tissue changed and no writer reported it\n", ProgramName());
            abort();
        }
#endif
        generation++;
    }
    return generation;
}
