#include "measure_fixtures.h"

#include "test_support.h"

#include "rootsim.h"
#include "tissue_watch.h"

namespace measurefix {

void ClearToOutside() {
    testsupport::ClearToOutside();
    actcells = 0;
}

void AddWall(int i0, int i1, int j0, int j1) {
    TissueChanged();
    for (int i = i0; i <= i1; i++) {
        for (int j = j0; j <= j1; j++) {
            Tc[i][j] = TC_WALL;
            Tct[i][j] = 20;
            Tmt[i][j] = 0;
            Cell[i][j] = -1;
        }
    }
}

void AddCell(int id, int tissue, int i0, int i1, int j0, int j1) {
    TissueChanged();
    for (int i = i0 - 1; i <= i1 + 1; i++) {
        for (int j = j0 - 1; j <= j1 + 1; j++) {
            if (i < 0 || i >= NCOLS || j < 0 || j >= NROWS) continue;
            bool inside = i >= i0 && i <= i1 && j >= j0 && j <= j1;
            if (inside) {
                bool border = i == i0 || i == i1 || j == j0 || j == j1;
                Tc[i][j] = border ? TC_MEMBRANE : TC_CYTO;
                Tct[i][j] = tissue;
                Cell[i][j] = id;
            } else if (Tc[i][j] == TC_OUTSIDE) {
                AddWall(i, i, j, j);
            }
        }
    }
    CellMinI[id] = i0;
    CellMaxI[id] = i1;
    CellMinJ[id] = j0;
    CellMaxJ[id] = j1;
    CellWidth[id] = i1 - i0 + 1;
    CellHeight[id] = j1 - j0 + 1;
    CellSizes[id] = CellWidth[id] * CellHeight[id];
    InvCellSizes[id] = 1.0 / CellSizes[id];
    if (actcells < id + 1) actcells = id + 1;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        if (tab == std::string::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    return fields;
}

}  // namespace measurefix
