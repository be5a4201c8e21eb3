// Initial cell states and the initial auxin field.
//
// Cells of the tip and of the young 8-row bands (top row below the body) start
// with values that depend on their tissue; the taller body cells start alike.
#include "rootsim.h"

#include "plan.h"

namespace {

constexpr int kBodyTopRowLimit = plan::MERISTEM_TOP_ROW;  // cells reaching this row start as body cells
constexpr double kInitialAuxin = 40.0;  // auxin on every cell point

// Starting levels of a tip or young-band cell by tissue.
struct TissueStart {
    double arf, aa, bb, cc, dd, plts;
};
constexpr TissueStart kQC{45, 25, 25, 30, 60, 125};
constexpr TissueStart kStele{0, 25, 25, 20, 50, 135};
constexpr TissueStart kEpidermis{0, 25, 20, 30, 60, 145};
constexpr TissueStart kLateralCap{0, 0, 0, 30, 50, 125};
constexpr TissueStart kOtherTip{0, 0, 0, 20, 35, 75};
constexpr double kBodyPlts = 175;

const TissueStart& StartFor(int t) {
    if (t == 12) return kQC;
    if (t >= 8 && t <= 11) return kStele;
    if (t == 5) return kEpidermis;
    if (t >= 1 && t <= 4) return kLateralCap;
    return kOtherTip;
}

}  // namespace

void InitConditions() {
    Plasmodesmatapatterning();

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

        // Division count from the cell's lowest row; tip cells keep theirs.
        int m = CellMinJ[x];
        const int first = plan::TIP_TOP_ROW, band = plan::CELL_BAND;
        if (m >= first && m <= first + band)
            CellDivNr[x] = 0;
        else if (m >= first + band + 1 && m <= first + 2 * band)
            CellDivNr[x] = 1;
        else if (m >= first + 2 * band + 1)
            CellDivNr[x] = 3;

        if (CellMaxJ[x] >= kBodyTopRowLimit) {
            Plts[x] = kBodyPlts;
        } else {
            int t = Tct[(CellMinI[x] + CellMaxI[x]) / 2][(CellMinJ[x] + CellMaxJ[x]) / 2];
            const TissueStart& s = StartFor(t);
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

    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++)
            if (Tc[i][j] != TC_OUTSIDE && Cell[i][j] >= 0) Caux1[i][j] = kInitialAuxin;
}
