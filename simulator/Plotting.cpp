// Measurements written as text into the output directory: time series of
// totals and probe points (appended one line per call), profiles along the
// root at one moment (one file per time), and space-time tracks of the left
// tissue files (one block of lines per call).
//
// A file that cannot be opened or written is reported on standard error with
// its name and the run goes on; diagnostics about the plant itself go to
// standard output.
#include "rootsim.h"

#include "measurements.h"
#include "output_file.h"
#include "plan.h"
#include "profiles.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Model constants of the measurements.

// Quiescent-centre probe.
constexpr int QC_COLUMN = plan::QC_COL;

// Space-time tracks.
constexpr int TRACK_FIRST_ROW = plan::TRACK_FIRST_ROW;
constexpr int TRACK_EDGE_COLUMN = plan::EPIDERMIS_COL;   // the row walk follows this column
constexpr int TRACK_GUARD = plan::EPIDERMIS_COL - 2;     // guard column of the epidermal-side scans
constexpr int TRACK_START = plan::EPIDERMIS_COL;         // start column of the epidermal-side scans
constexpr int TRACK_CORTEX_GUARD = plan::CORTEX_COL - 2;
constexpr int TRACK_CORTEX_START = plan::CORTEX_COL;
constexpr int TRACK_VASC_GUARD = plan::VASC_OUTER_COL - 2;
constexpr int TRACK_VASC_START = plan::VASC_OUTER_COL;
constexpr int TRACK_LOW_ROWS = plan::TIP_TOP_ROW;        // middle vascular file counts as outer below this row

// The mean of count values whose sum is given; the mean of no values is NaN
// (written as "nan").
double MeanOf(double sum, int count) {
    if (count == 0) return std::numeric_limits<double>::quiet_NaN();
    return sum / count;
}

// ---------------------------------------------------------------------------
// Space-time tracks.

// Scans row r for the tissue file of type `tissue` from column `start`, unless
// the guard column already holds that tissue.  Returns the first cell of the
// file met whose number is above `last` (and makes it the new `last`), or -1.
int ScanFile(int tissue, int guard, int start, int r, int& last) {
    if (Tct[guard][r] == tissue) return -1;
    for (int j = start; j < NCOLS; j++) {
        int cell = Cell[j][r];
        if (Tct[j][r] == tissue && cell > last && cell >= 0) {
            last = cell;
            return cell;
        }
        if (Tct[j - 1][r] == tissue || j == AXIS) return -1;
    }
    return -1;
}

// Walks the rows from TRACK_FIRST_ROW upward while column TRACK_EDGE_COLUMN is
// inside the root, calling visit(r) for every row.
template <typename Visit>
void WalkRows(Visit visit) {
    if (TRACK_FIRST_ROW >= NROWS || Tc[TRACK_EDGE_COLUMN][TRACK_FIRST_ROW] == TC_OUTSIDE) return;
    for (int r = TRACK_FIRST_ROW;; r++) {
        visit(r);
        if (r + 1 >= NROWS || Tc[TRACK_EDGE_COLUMN][r + 1] == TC_OUTSIDE) break;
    }
}

// Running state of the average over the inner cells of a row.
struct InnerAverage {
    int lastEdgeCell = -2;   // last column-30 cell whose row was averaged
    int lastCell = -2;       // last cell included, over the whole call
};

// Averages row r when its column-30 cell is a cell above the last one
// averaged: every cell of columns 31..AXIS numbered above all cells included
// so far is handed to include(cell, column).  Returns whether the row was
// averaged.
template <typename Include>
bool AverageInnerRow(InnerAverage& avg, int r, Include include) {
    int edge = Cell[TRACK_EDGE_COLUMN][r];
    if (edge == -1 || edge <= avg.lastEdgeCell) return false;
    avg.lastEdgeCell = edge;
    for (int k = TRACK_EDGE_COLUMN + 1; k <= AXIS; k++) {
        int cell = Cell[k][r];
        if (cell < 0 || cell <= avg.lastCell) continue;
        avg.lastCell = cell;
        include(cell, k);
    }
    return true;
}

void EndBlock(std::initializer_list<OutputFile*> files) {
    for (OutputFile* f : files) f->Printf("\n");
}

}  // namespace

// ---------------------------------------------------------------------------
// Time series

void SaveTotAuxin(int t) { AppendTotalAuxin(t); }

void SaveTotPlts(int t) {
    double total = 0.0;
    for (int k = 0; k < actcells; k++) total = total + Plts[k];
    OutputFile f(FormatString("%s/Totalplts", dirname), "a");
    f.Printf("%i\t%f\t%f\n", t, total, MeanOf(total, actcells));
}

void Tracktotalmeasures(int t) {
    {
        OutputFile f(FormatString("%s/Tracktotalrootsize", dirname), "a");
        f.Printf("%i\t%i\t%i\n", t, leftsize, rightsize);
    }
    OutputFile f(FormatString("%s/Tracktotalrootnumber", dirname), "a");
    f.Printf("%i\t%i\t%i\n", t, totalrootcellnrL, totalrootcellnrR);
}

void SaveTemp(int t, int column, int row) { AppendPointHistory(t, column, row); }

void SaveTempQC(int t) {
    int row = -1;
    if (QC_COLUMN < NCOLS) {
        for (int j = 0; j < NROWS; j++) {
            if (Tct[QC_COLUMN][j] == TCT_QC) {
                row = j;
                break;
            }
        }
    }
    if (row < 0) {
        printf("no quiescent centre point in column %i at time %i: no line written\n", QC_COLUMN, t);
        return;
    }
    int cell = ProbeCell(QC_COLUMN, row);
    if (cell < 0) {
        ReportNoProbeCell();
        return;
    }
    AppendProbeLine(FormatString("%s/TemporalDynamicsQC%i_%i", dirname, QC_COLUMN, row), t, cell);
}

// ---------------------------------------------------------------------------
// Spatial profiles

void SaveGradGridRes(int t) {
    rules::WriteGridProfiles(t, {plan::TIP_TOP_ROW, plan::TIP_FIRST_ROW, plan::PROFILE_BODY_LAST_ROW,
                                 plan::PROFILE_CAP_COL, plan::EPIDERMIS_COL, plan::CORTEX_COL, plan::ENDODERMIS_COL,
                                 plan::PERICYCLE_COL, plan::VASC_OUTER_COL, plan::VASC_MIDDLE_COL,
                                 plan::VASC_CENTRAL_COL});
}

void SaveGradCellularRes(int t) {
    rules::WriteCellProfiles(t, {plan::CELL_PROFILE_EPI_COL, plan::CELL_PROFILE_CORTEX_COL,
                                 plan::CELL_PROFILE_ENDO_COL, plan::CELL_PROFILE_VASC_COL});
}

void ExtraMeasurements(int t) {
    rules::WriteExtraMeasurements(
        t, {plan::CAP_COL, plan::CORTEX_COL, plan::MERISTEM_TOP_ROW, plan::PERICYCLE_COL, plan::VASC_OUTER_COL});
}

// ---------------------------------------------------------------------------
// Space-time tracks

void TrackAuxSpaceTime(int t) {
    OutputFile cor(FormatString("%s/TrackAuxCorinSpaceTime", dirname), "a");
    OutputFile endo(FormatString("%s/TrackAuxendoinSpaceTime", dirname), "a");
    OutputFile peri(FormatString("%s/TrackAuxperiinSpaceTime", dirname), "a");
    OutputFile side(FormatString("%s/TrackAuxsidevascinSpaceTime", dirname), "a");
    OutputFile mid(FormatString("%s/TrackAuxmidvascinSpaceTime", dirname), "a");
    OutputFile epi(FormatString("%s/TrackAuxinSpaceTime", dirname), "a");

    int mCor = -2, mEndo = -2, mPeri = -2, mSide = -2, mMid = -2, mEpi = -2;
    WalkRows([&](int r) {
        int cell;
        if ((cell = ScanFile(TCT_CORTEX, TRACK_GUARD, TRACK_START, r, mCor)) >= 0)
            cor.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
        if ((cell = ScanFile(TCT_ENDODERMIS, TRACK_GUARD, TRACK_START, r, mEndo)) >= 0)
            endo.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
        if ((cell = ScanFile(TCT_PERICYCLE, TRACK_GUARD, TRACK_START, r, mPeri)) >= 0)
            peri.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
        if ((cell = ScanFile(TCT_VASC_OUTER, TRACK_GUARD, TRACK_START, r, mSide)) >= 0)
            side.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
        if ((cell = ScanFile(TCT_VASC_MIDDLE, TRACK_GUARD, TRACK_START, r, mMid)) >= 0) {
            if (r < TRACK_LOW_ROWS) side.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
            mid.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
        }
        if ((cell = ScanFile(TCT_EPIDERMIS, TRACK_GUARD, TRACK_START, r, mEpi)) >= 0)
            epi.Printf("%i\t%i\t%f\n", t, r, MeanCells[cell]);
    });
    EndBlock({&cor, &endo, &peri, &side, &mid, &epi});
}

void TrackARRsSpaceTime(int t) {
    OutputFile arr1(FormatString("%s/TrackARR1sexpinSpaceTime", dirname), "a");
    OutputFile arr12(FormatString("%s/TrackARR12sexpinSpaceTime", dirname), "a");
    OutputFile rga(FormatString("%s/TrackARR1seffinSpaceTime", dirname), "a");
    OutputFile varr1(FormatString("%s/TrackARR1vascexpinSpaceTime", dirname), "a");
    OutputFile varr12(FormatString("%s/TrackARR12vascexpinSpaceTime", dirname), "a");
    OutputFile vrga(FormatString("%s/TrackARR1vasceffinSpaceTime", dirname), "a");

    int mEpi = -2;
    WalkRows([&](int r) {
        int cell = ScanFile(TCT_EPIDERMIS, TRACK_GUARD, TRACK_START, r, mEpi);
        if (cell < 0) return;
        arr1.Printf("%i\t%i\t%f\n", t, r, ARR1[cell]);
        arr12.Printf("%i\t%i\t%f\n", t, r, ARR12[cell]);
        rga.Printf("%i\t%i\t%f\n", t, r, ARR1RGA[cell]);
    });

    InnerAverage avg;
    WalkRows([&](int r) {
        double s1 = 0.0, s12 = 0.0, sr = 0.0;
        int n = 0;
        bool averaged = AverageInnerRow(avg, r, [&](int cell, int k) {
            if (Tct[k][r] != TCT_VASC_OUTER) return;
            s1 = s1 + ARR1[cell];
            s12 = s12 + ARR12[cell];
            sr = sr + ARR1RGA[cell];
            n++;
        });
        if (!averaged) return;
        varr1.Printf("%i\t%i\t%f\n", t, r, MeanOf(s1, n));
        varr12.Printf("%i\t%i\t%f\n", t, r, MeanOf(s12, n));
        vrga.Printf("%i\t%i\t%f\n", t, r, MeanOf(sr, n));
    });
    EndBlock({&arr1, &arr12, &rga, &varr1, &varr12, &vrga});
}

void TrackPltsSpaceTime(int t) {
    OutputFile epi(FormatString("%s/TrackPltsinSpaceTime", dirname), "a");
    OutputFile epiExp(FormatString("%s/TrackPltsexpinSpaceTime", dirname), "a");
    OutputFile cor(FormatString("%s/TrackPltscorinSpaceTime", dirname), "a");
    OutputFile corExp(FormatString("%s/TrackPltscorexpinSpaceTime", dirname), "a");
    OutputFile vasc(FormatString("%s/TrackPltsvascinSpaceTime", dirname), "a");
    OutputFile vascExp(FormatString("%s/TrackPltsvascexpinSpaceTime", dirname), "a");
    OutputFile all(FormatString("%s/TrackPltsaverageinSpaceTime", dirname), "a");
    OutputFile allExp(FormatString("%s/TrackPltsaverageexpinSpaceTime", dirname), "a");

    int mEpi = -2;
    WalkRows([&](int r) {
        int cell = ScanFile(TCT_EPIDERMIS, TRACK_GUARD, TRACK_START, r, mEpi);
        if (cell < 0) return;
        epi.Printf("%i\t%i\t%f\n", t, r, Plts[cell]);
        epiExp.Printf("%i\t%i\t%f\n", t, r, Pltsexpr[cell]);
    });

    int mCor = -2;
    WalkRows([&](int r) {
        int cell = ScanFile(TCT_CORTEX, TRACK_CORTEX_GUARD, TRACK_CORTEX_START, r, mCor);
        if (cell < 0) return;
        cor.Printf("%i\t%i\t%f\n", t, r, Plts[cell]);
        corExp.Printf("%i\t%i\t%f\n", t, r, Pltsexpr[cell]);
    });

    InnerAverage avg;
    WalkRows([&](int r) {
        double vs = 0.0, vse = 0.0, as = 0.0, ase = 0.0;
        int vn = 0, an = 0;
        bool averaged = AverageInnerRow(avg, r, [&](int cell, int k) {
            as = as + Plts[cell];
            ase = ase + Pltsexpr[cell];
            an++;
            int type = Tct[k][r];
            if (type == TCT_VASC_OUTER || (type == TCT_VASC_MIDDLE && r < TRACK_LOW_ROWS)) {
                vs = vs + Plts[cell];
                vse = vse + Pltsexpr[cell];
                vn++;
            }
        });
        if (!averaged) return;
        vasc.Printf("%i\t%i\t%f\n", t, r, MeanOf(vs, vn));
        vascExp.Printf("%i\t%i\t%f\n", t, r, MeanOf(vse, vn));
        all.Printf("%i\t%i\t%f\n", t, r, MeanOf(as, an));
        allExp.Printf("%i\t%i\t%f\n", t, r, MeanOf(ase, an));
    });
    EndBlock({&epi, &epiExp, &cor, &corExp, &vasc, &vascExp, &all, &allExp});
}

void TrackCellTypeSpaceTime(int t) {
    TrackARRsSpaceTime(t);

    OutputFile zone(FormatString("%s/TrackCellTypeinSpaceTime", dirname), "a");
    OutputFile div(FormatString("%s/TrackdivTFinSpaceTime", dirname), "a");
    OutputFile elong(FormatString("%s/TrackelongTFinSpaceTime", dirname), "a");
    OutputFile vdiv(FormatString("%s/TrackdivTFvascinSpaceTime", dirname), "a");
    OutputFile velong(FormatString("%s/TrackelongTFvascinSpaceTime", dirname), "a");

    int mEpi = -2, mVasc = -2;
    WalkRows([&](int r) {
        int cell = ScanFile(TCT_EPIDERMIS, TRACK_GUARD, TRACK_START, r, mEpi);
        if (cell >= 0) {
            zone.Printf("%i\t%i\t%i\n", t, r, CellZonationState[cell]);
            div.Printf("%i\t%i\t%f\n", t, r, divTF[cell]);
            elong.Printf("%i\t%i\t%f\n", t, r, elongTF[cell]);
        }
        cell = ScanFile(TCT_VASC_OUTER, TRACK_VASC_GUARD, TRACK_VASC_START, r, mVasc);
        if (cell >= 0) {
            vdiv.Printf("%i\t%i\t%f\n", t, r, divTF[cell]);
            velong.Printf("%i\t%i\t%f\n", t, r, elongTF[cell]);
        }
    });
    EndBlock({&zone, &div, &elong, &vdiv, &velong});
}
