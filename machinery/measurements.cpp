// Measurements every program writes alike: the total auxin and the history
// of the cell at a probe point.
#include "measurements.h"

#include <cstdio>

#include "output_file.h"
#include "state.h"

namespace {

int CellAt(int i, int j) { return OnGrid(i, j) && Cell[i][j] >= 0 ? Cell[i][j] : -1; }

}  // namespace

// The cell at (column, row), or failing that at the first of (column, row+1),
// (column+1, row+1), (column-1, row), (column-1, row-1) that has one; -1 when
// none does.  Points off the grid have no cell.
int ProbeCell(int column, int row) {
    static const int offsets[5][2] = {{0, 0}, {0, 1}, {1, 1}, {-1, 0}, {-1, -1}};
    for (const auto& o : offsets) {
        int cell = CellAt(column + o[0], row + o[1]);
        if (cell >= 0) return cell;
    }
    return -1;
}

void AppendProbeLine(const std::string& name, int t, int cell) {
    OutputFile f(name, "a");
    f.Printf("%i\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\n", t, MeanCells[cell],
             ARF[cell], AA[cell], BB[cell], CC[cell], DD[cell], ARF[cell] < DD[cell] ? ARF[cell] : DD[cell],
             Plts[cell], Pltsexpr[cell], Diff[cell], ARR1[cell], ARR12[cell], Yuc3[cell]);
}

void ReportNoProbeCell() {
    printf("cell wall has more than 1 height? Or reached beyond some threshold\n");
}

void AppendTotalAuxin(int t) {
    // One sequential pass, column outer, row inner.
    double total = 0.0;
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) total = total + Caux1[i][j];
    OutputFile f(FormatString("%s/Totalauxin", dirname), "a");
    f.Printf("%i\t%f\t%f\n", t, total, total / static_cast<double>(NCOLS * NROWS));
}

void AppendPointHistory(int t, int column, int row) {
    int cell = ProbeCell(column, row);
    if (cell < 0) {
        ReportNoProbeCell();
        return;
    }
    AppendProbeLine(FormatString("%s/TemporalDynamicsPoint%i_%i", dirname, column, row), t, cell);
}

