// Plasmodesmata density per membrane side of every cell.
//
// Each cell gets one relative density per side (shootward, rootward, inner,
// outer) from its tissue, its position and, in the tip, its neighbourhood.
// The pattern is recomputed from the current geometry whenever cells change.
#include "rootsim.h"

#include "plan.h"

namespace {

constexpr int kTipTopRow = plan::TIP_TOP_ROW;  // last row of the tip below the first wall band
// A tip cortex cell lies near the axis when it starts right of this column on
// the left half, or ends left of the other one on the right half.
constexpr int kCortexNearAxisLeft = 69;
constexpr int kCortexNearAxisRight = 156;

// Densities used by the pattern; 1 is the neutral default.
constexpr double kNeutral = 1;
constexpr double kLow = 3;
constexpr double kMid = 6;
constexpr double kHigh = 10;

void Set(int x, double shootward, double rootward, double inner, double outer) {
    Plasmodesmatapattern[x][0] = shootward;
    Plasmodesmatapattern[x][1] = rootward;
    Plasmodesmatapattern[x][2] = inner;
    Plasmodesmatapattern[x][3] = outer;
}

// Tissue code at a point, 0 (outside) for a point off the grid.
int TctAt(int col, int row) {
    if (col < 0 || col >= NCOLS || row < 0 || row >= NROWS) return 0;
    return Tct[col][row];
}

// Cells wholly below the first wall band of the straight files.
void TipCell(int x, int t, int mI, int mJ) {
    bool left = CellMaxI[x] < AXIS;
    bool right = CellMinI[x] > AXIS - 1;
    // A cell on neither half (one that would straddle the axis) has no
    // outward or axis-side neighbour and is not near the axis.
    int outwardTct = left ? TctAt(CellMinI[x] - 3, mJ) : (right ? TctAt(CellMaxI[x] + 3, mJ) : 0);
    int axisTct = left ? TctAt(CellMaxI[x] + 3, mJ) : (right ? TctAt(CellMinI[x] - 3, mJ) : 0);
    int belowTct = TctAt(mI, CellMinJ[x] - 4);
    switch (t) {
        case 12:
            Set(x, kLow, kLow, kLow, kLow);
            break;
        case 17:
            if (outwardTct == 17)
                Set(x, kLow, kLow, kLow, kMid);
            else if (outwardTct == 5)
                Set(x, kMid, kLow, kLow, kMid);
            break;
        case 16:
            Set(x, kNeutral, kNeutral, kMid, kNeutral);
            break;
        case 5:
            if (axisTct == 17)
                Set(x, kHigh, kMid, kNeutral, kNeutral);
            else
                Set(x, kHigh, kHigh, kNeutral, kNeutral);
            break;
        case 6: {
            bool nearAxis = (left && CellMinI[x] > kCortexNearAxisLeft) ||
                            (right && CellMaxI[x] < kCortexNearAxisRight);
            if (belowTct == 17)
                Set(x, kMid, kLow, kLow, kLow);
            else if (nearAxis)
                Set(x, kHigh, kMid, kLow, kNeutral);
            else
                Set(x, kHigh, kHigh, kLow, kNeutral);
            break;
        }
        case 7:
            if (belowTct == 17)
                Set(x, kMid, kLow, kLow, kLow);
            else
                Set(x, kHigh, kMid, kLow, kLow);
            break;
        default:
            break;
    }
}

// Cells that reach the first wall band from below.
void BandCell(int x, int t) {
    if (t >= 1 && t <= 4)
        Set(x, kHigh, kNeutral, kNeutral, kNeutral);
    else if (t == 5)
        Set(x, kHigh, kHigh, kNeutral, kNeutral);
    else if (t == 6)
        Set(x, kHigh, kHigh, kLow, kNeutral);
    else if (t == 7)
        Set(x, kHigh, kHigh, kLow, kLow);
    else if (t >= 8 && t <= 11)
        Set(x, kHigh, kLow, kLow, kLow);
}

// Cells of the straight files, typed by the point inside their upper corner on
// the high-column side.
void FileCell(int x, int t) {
    if (t >= 1 && t <= 4) {
        Set(x, kHigh, kHigh, kNeutral, kNeutral);
        return;
    }
    int u = TctAt(CellMaxI[x] - 1, CellMaxJ[x] - 1);
    if (u == 5)
        Set(x, kHigh, kHigh, kNeutral, kNeutral);
    else if (u == 6)
        Set(x, kHigh, kHigh, kLow, kNeutral);
    else if (u == 7)
        Set(x, kHigh, kHigh, kLow, kLow);
    else if (u == 8)
        Set(x, kHigh, kHigh, kNeutral, kLow);
    else if (u >= 9 && u <= 11)
        Set(x, kHigh, kHigh, kNeutral, kNeutral);
}

}  // namespace

void Plasmodesmatapatterning() {
    for (int x = 0; x < actcells; x++) {
        Set(x, kNeutral, kNeutral, kNeutral, kNeutral);
        int mI = (CellMaxI[x] + CellMinI[x]) / 2;
        int mJ = (CellMaxJ[x] + CellMinJ[x]) / 2;
        int t = TctAt(mI, mJ);
        if (CellMaxJ[x] <= kTipTopRow - 1)
            TipCell(x, t, mI, mJ);
        else if (CellMinJ[x] <= kTipTopRow)
            BandCell(x, t);
        else
            FileCell(x, t);
    }
}
