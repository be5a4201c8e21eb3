#include "layout_root.h"

namespace layouttest {

void BuildRootWithoutCarriers() {
    SetUpTissueLayout();
    NumberCells();
    FindCellCorners();
    FindCellSizes();
    SetUpMembraneTypes();
    InitConditions();
}

std::map<int, int> TissueCounts(int x) {
    std::map<int, int> counts;
    for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
        for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++)
            if (Cell[i][j] == x) counts[Tct[i][j]]++;
    return counts;
}

int MajorityTissue(int x) {
    int best = -1, bestCount = 0;
    for (const auto& kv : TissueCounts(x))
        if (kv.second > bestCount) {
            best = kv.first;
            bestCount = kv.second;
        }
    return best;
}

int CellWithBox(int minI, int maxI, int minJ, int maxJ) {
    for (int x = 0; x < actcells; x++)
        if (CellMinI[x] == minI && CellMaxI[x] == maxI && CellMinJ[x] == minJ && CellMaxJ[x] == maxJ)
            return x;
    return -1;
}

int MirrorCell(int x) {
    for (int i = CellMinI[x]; i <= CellMaxI[x]; i++)
        for (int j = CellMinJ[x]; j <= CellMaxJ[x]; j++)
            if (Cell[i][j] == x) return Cell[MIRRORSUM - i][j];
    return -1;
}

}  // namespace layouttest
