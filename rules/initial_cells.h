// The initial state of the cells and of the auxin field, shared by rootsim and
// the b family: the cells of the tip and of the young meristem bands start
// with levels that depend on their tissue, the taller body cells alike, and
// the division counts follow the band of each cell's lowest row.
#pragma once

#include "state.h"

namespace rules {

// Where the bands of an initial root lie.
struct InitialBands {
    int bodyRow;          // cells reaching this row start as body cells
    int firstBandRow;     // a cell whose lowest row is here or above has count 0,
    int secondBandRow;    // ... from here on 1,
    int thirdBandRow;     // ... from here on thirdBandCount;
    int thirdBandCount;   // cells lower down (the tip) keep theirs
};

// Starting levels of a tip or young-band cell by the tissue at its centre.
struct TissueStart {
    double arf, aa, bb, cc, dd, plts;
};

inline const TissueStart& StartFor(int t) {
    static const TissueStart qc{45, 25, 25, 30, 60, 125};
    static const TissueStart stele{0, 25, 25, 20, 50, 135};
    static const TissueStart epidermis{0, 25, 20, 30, 60, 145};
    static const TissueStart cap{0, 0, 0, 30, 50, 125};
    static const TissueStart other{0, 0, 0, 20, 35, 75};
    if (t == TCT_QC) return qc;
    if (t >= TCT_PERICYCLE && t <= TCT_VASC_CENTRAL) return stele;
    if (t == TCT_EPIDERMIS) return epidermis;
    if (t >= TCT_LRC1 && t <= TCT_LRC4) return cap;
    return other;
}

constexpr double BODY_PLTS = 175;        // PLETHORA of the body cells
constexpr double INITIAL_AUXIN = 40.0;   // auxin of the initial field

// The regulatory state, division count, zonation and growth clock of every
// cell of a newly built root.
inline void SetInitialCells(const InitialBands& bands) {
    for (int x = 0; x < actcells; x++) {
        MeanCells[x] = 100;
        ARF[x] = 0;
        AA[x] = 20;
        BB[x] = 20;
        CC[x] = 30;
        DD[x] = 55;
        Plt[x] = 0;
        Plts[x] = 0;
        ARR1[x] = 0;
        ARR12[x] = 0;
        Aux1[x] = 100;
        Pin[x] = 100;
        Pin2[x] = 100;
        PP[x] = 0;
        divTF[x] = 100;

        // Division count from the band of the cell's lowest row; tip cells
        // keep theirs.
        const int m = CellMinJ[x];
        if (m >= bands.thirdBandRow)
            CellDivNr[x] = bands.thirdBandCount;
        else if (m >= bands.secondBandRow)
            CellDivNr[x] = 1;
        else if (m >= bands.firstBandRow)
            CellDivNr[x] = 0;

        if (CellMaxJ[x] >= bands.bodyRow) {
            Plts[x] = BODY_PLTS;
        } else {
            const TissueStart& s = StartFor(Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2]);
            ARF[x] = s.arf;
            AA[x] = s.aa;
            BB[x] = s.bb;
            CC[x] = s.cc;
            DD[x] = s.dd;
            Plts[x] = s.plts;
            Yuc3[x] = 0;
            Gh33[x] = 100;
            Gh317[x] = 0;
        }
        TimePrevGrowth[x] = 0;
        Diff[x] = 0;
        CellZonationState[x] = 0;
    }
}

// The initial auxin field: INITIAL_AUXIN on every cell point, and with
// wallsToo on the walls as well.
inline void FillInitialAuxin(bool wallsToo) {
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE && (wallsToo || Cell[i][j] >= 0)) Caux1[i][j] = INITIAL_AUXIN;
}

}  // namespace rules
