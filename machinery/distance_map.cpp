// The membrane pictures' distance map.
#include "distance_map.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// For every cytoplasm point, the distance to the nearest membrane point of its
// own cell (doubled in narrow or short cells) and that point.  The distance is
// exact wherever it puts the point in the band (at most shape.band); points beyond
// the band hold NO_POINT, as only the band is drawn from the map.  The search
// gives the same point as a scan of the whole box, columns outer and rows
// inner, that takes the first of several equally near points.
struct MissingPoint {
    int i, j, type, width, height;
};

struct DistanceMap {
    std::vector<double> dist;  // [i * NROWS + j]
    std::vector<int> nbi, nbj;
    std::vector<MissingPoint> missing;
};

DistanceMap& Map() {
    static DistanceMap m;
    return m;
}

MembraneBand shape;

// True when cell c has a membrane point in the search box around (i, j).
// Walking from (i, j) through the cell's own cytoplasm along the four axes
// finds one in nearly every case; a point where the walks fail is settled by
// scanning the whole box.
bool HasMembraneInBox(int i, int j, int c) {
    static const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& st : steps) {
        for (int k = 1; k <= shape.searchHalf; k++) {
            int ii = i + st[0] * k, jj = j + st[1] * k;
            if (ii < 0 || ii >= NCOLS || jj < 0 || jj >= NROWS) break;
            if (Cell[ii][jj] != c) break;
            int t = Tc[ii][jj];
            if (t == TC_MEMBRANE) return true;
            if (t != TC_CYTO) break;
        }
    }
    int i0 = i - shape.searchHalf < 0 ? 0 : i - shape.searchHalf;
    int i1 = i + shape.searchHalf > NCOLS - 1 ? NCOLS - 1 : i + shape.searchHalf;
    int j0 = j - shape.searchHalf < 0 ? 0 : j - shape.searchHalf;
    int j1 = j + shape.searchHalf > NROWS - 1 ? NROWS - 1 : j + shape.searchHalf;
    for (int ii = i0; ii <= i1; ii++)
        for (int jj = j0; jj <= j1; jj++)
            if (Tc[ii][jj] == TC_MEMBRANE && Cell[ii][jj] == c) return true;
    return false;
}

void PrintMissing(const MissingPoint& m) {
    printf("no membrane point found\n");
    printf("position i,j: %i,%i\n", m.i, m.j);
    printf("cell type %i\n", m.type);
    printf("cell dimensions %i %i\n", m.width, m.height);
}

void Build() {
    DistanceMap& m = Map();
    const int bandBox = static_cast<int>(shape.band);
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    m.dist.assign(n, 0.0);
    m.nbi.assign(n, 0);
    m.nbj.assign(n, 0);
    m.missing.clear();
    for (int i = 0; i < NCOLS; i++) {
        const int i0 = i - bandBox < 0 ? 0 : i - bandBox;
        const int i1 = i + bandBox > NCOLS - 1 ? NCOLS - 1 : i + bandBox;
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            const size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
            const int c = PictureCellAt(i, j);
            if (c < 0) {
                // Cytoplasm of no cell has no membrane of its own: drawn black.
                m.dist[at] = NO_POINT;
                continue;
            }
            const int j0 = j - bandBox < 0 ? 0 : j - bandBox;
            const int j1 = j + bandBox > NROWS - 1 ? NROWS - 1 : j + bandBox;
            int best2 = INT_MAX, bi = -1, bj = -1;
            for (int ii = i0; ii <= i1; ii++) {
                const int* tc = Tc[ii];
                const int* cl = Cell[ii];
                for (int jj = j0; jj <= j1; jj++) {
                    if (tc[jj] != TC_MEMBRANE || cl[jj] != c) continue;
                    int d2 = (i - ii) * (i - ii) + (j - jj) * (j - jj);
                    if (d2 < best2) {
                        best2 = d2;
                        bi = ii;
                        bj = jj;
                    }
                }
            }
            const bool small = CellWidth[c] <= shape.narrowWidth || CellHeight[c] <= shape.shortHeight;
            if (best2 <= bandBox * bandBox) {
                // Within the band box every point at most the band away is seen,
                // in the order of the full search: this is the exact nearest.
                double d = sqrt(static_cast<double>(best2));
                if (small) d = d * 2;
                m.dist[at] = d;
                m.nbi[at] = bi;
                m.nbj[at] = bj;
                continue;
            }
            m.dist[at] = NO_POINT;
            m.nbi[at] = bi;
            m.nbj[at] = bj;
            if (best2 == INT_MAX && !HasMembraneInBox(i, j, c)) {
                MissingPoint mp{i, j, Tct[i][j], CellWidth[c], CellHeight[c]};
                m.missing.push_back(mp);
                PrintMissing(mp);
            }
        }
    }
}


}  // namespace

void BuildDistanceMap(const MembraneBand& band) {
    shape = band;
    Build();
}

void ReplayMissingReport() {
    for (const MissingPoint& mp : Map().missing) PrintMissing(mp);
}

double DistanceMapValue(int i, int j) { return Map().dist[static_cast<size_t>(i) * NROWS + static_cast<size_t>(j)]; }

void DistanceMapNearest(int i, int j, int* ni, int* nj) {
    const size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
    *ni = Map().nbi[at];
    *nj = Map().nbj[at];
}
