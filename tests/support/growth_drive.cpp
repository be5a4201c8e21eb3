#include "growth_drive.h"

#include <chrono>
#include <cstdio>

#include "growth_tissue.h"
#include "rootsim.h"

namespace growthtest {

void PrepareGrowingRoot(int oldFrom) {
    maxmzheight = 212;
    InitPlant();
    rightsize = leftsize = 1067;
    totalrootcellnrL = totalrootcellnrR = 21;
    for (int x = 0; x < actcells; x++) {
        if (CellMaxJ[x] <= 148)
            CellZonationState[x] = 0;
        else if (CellMinJ[x] < 213)
            CellZonationState[x] = 30;
        else
            CellZonationState[x] = 50;
        Diff[x] = 0;  // the carrier update at time 0 marks the body as differentiated
        // Some old cells close to differentiation, one file already mature.
        if (CellMinJ[x] > oldFrom) Diff[x] = 84.99;
        if (CellMinJ[x] > 1000 && Tct[CellMinI[x] + 1][CellMinJ[x] + 1] == 8) CellZonationState[x] = 200;
    }
    Plasmodesmatapatterning();
    maxmzsize();
    PrimeGrowthClocks();
    ResetGrowthSchedule();
    ResetCellTracking();
    TrackCells(0);
}

void SetFactorsByPosition() {
    for (int x = 0; x < actcells; x++) {
        if (CellMinJ[x] < 190) {
            divTF[x] = 60;
            elongTF[x] = 10;
        } else if (CellMinJ[x] < 213) {
            divTF[x] = 20;
            elongTF[x] = 20;
        } else {
            divTF[x] = 10;
            elongTF[x] = 60;
        }
        ARR12[x] = CellMinJ[x] > 400 ? 30 : 5;
    }
}

namespace {

// Marks every cell with a tag of its own in two carried arrays and in the
// prepattern of all its points (which moves with the points).
void TagCells(int step) {
    for (int x = 0; x < actcells; x++) {
        PP[x] = step * 10000.0 + x;
        CellsInOZ[x] = step * 10000 + x;
    }
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Cell[i][j] >= 0) PinPrePat[i][j] = PP[Cell[i][j]];
}

std::string CheckTags() {
    char buf[200];
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) {
            int x = Cell[i][j];
            if (x < 0) continue;
            if (PinPrePat[i][j] != PP[x] || CellsInOZ[x] != static_cast<int>(PP[x])) {
                snprintf(buf, sizeof buf, "cell %d at %d,%d: point tag %.0f, cell tags %.0f/%d", x, i, j,
                         PinPrePat[i][j], PP[x], CellsInOZ[x]);
                return buf;
            }
        }
    return "";
}

std::string CheckDecided() {
    char buf[120];
    for (int x = 0; x < actcells; x++) {
        if (JustChecked[x] == 1 || CellZonationState[x] >= 200 || CellMinJ[x] < 149) continue;
        snprintf(buf, sizeof buf, "cell %d (rows %d..%d) was not decided", x, CellMinJ[x], CellMaxJ[x]);
        return buf;
    }
    return "";
}

}  // namespace

DriveResult DriveGrowth(int steps, int t0, int stride, bool check) {
    DriveResult r;
    r.maxCells = actcells;
    for (int step = 0; step < steps; step++) {
        const int t = t0 + stride * step;
        SetFactorsByPosition();
        if (check) TagCells(step);
        const int before = actcells;
        auto start = std::chrono::steady_clock::now();
        Growth(t);
        r.growthSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        TrackCells(t);
        if (actcells > before) r.divisions += actcells - before;
        if (actcells > r.maxCells) r.maxCells = actcells;
        for (int x = 0; x < actcells; x++)
            if (TimePrevGrowth[x] == t) r.grownCells++;
        if (!check) continue;
        const std::string at = " after the growth step at " + std::to_string(t);
        for (std::string problem : {CheckCellRegions(), CheckMirrorSymmetry(), CheckTags(),
                                    CompareWithFullGeometry(), CheckDecided()}) {
            if (!problem.empty()) {
                r.failure = problem + at;
                return r;
            }
        }
    }
    return r;
}

}  // namespace growthtest
