// Field rendering to PNG, the picture set and its montages.
//
// Every picture is one pixel per grid point, NCOLS wide and NROWS high, 8-bit
// RGB, with grid row NROWS-1 as the top image row (the root tip is at the
// bottom).  The pixel buffer RGBdata is shared by all pictures and never
// cleared: a pixel that a rule leaves unwritten keeps the previous picture's
// colour.
#include "rootsim.h"

#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

// The colour ramp: black, dark blue, purple, red, yellow, white.  255 entries.
const int colourmap[255][3] = {
    {0, 0, 0}, {0, 0, 7}, {0, 0, 9}, {0, 0, 12}, {0, 0, 14},  // 0-4
    {0, 0, 17}, {0, 0, 19}, {0, 0, 22}, {0, 0, 24}, {0, 0, 27},  // 5-9
    {0, 0, 29}, {0, 0, 32}, {0, 0, 34}, {0, 0, 37}, {0, 0, 39},  // 10-14
    {0, 0, 42}, {0, 0, 44}, {0, 0, 47}, {0, 0, 49}, {0, 0, 52},  // 15-19
    {0, 0, 54}, {0, 0, 57}, {0, 0, 59}, {0, 0, 62}, {0, 0, 64},  // 20-24
    {0, 0, 67}, {0, 0, 69}, {0, 0, 72}, {0, 0, 74}, {0, 0, 77},  // 25-29
    {0, 0, 79}, {0, 0, 82}, {0, 0, 84}, {0, 0, 87}, {0, 0, 89},  // 30-34
    {0, 0, 92}, {0, 0, 94}, {0, 0, 97}, {0, 0, 99}, {0, 0, 102},  // 35-39
    {0, 0, 104}, {0, 0, 107}, {0, 0, 109}, {0, 0, 112}, {0, 0, 114},  // 40-44
    {0, 0, 117}, {0, 0, 119}, {0, 0, 122}, {0, 0, 124}, {0, 0, 127},  // 45-49
    {0, 0, 129}, {3, 0, 127}, {7, 0, 126}, {10, 0, 124}, {13, 0, 122},  // 50-54
    {16, 0, 121}, {19, 0, 119}, {22, 0, 117}, {26, 0, 116}, {29, 0, 114},  // 55-59
    {32, 0, 112}, {35, 0, 111}, {38, 0, 109}, {41, 0, 107}, {44, 0, 106},  // 60-64
    {48, 0, 104}, {51, 0, 102}, {54, 0, 101}, {57, 0, 99}, {60, 0, 97},  // 65-69
    {63, 0, 96}, {66, 0, 94}, {69, 0, 93}, {72, 0, 92}, {75, 0, 90},  // 70-74
    {77, 0, 89}, {80, 0, 88}, {83, 0, 86}, {87, 0, 85}, {90, 0, 84},  // 75-79
    {93, 0, 82}, {96, 0, 81}, {98, 0, 80}, {101, 0, 78}, {104, 0, 77},  // 80-84
    {107, 0, 76}, {110, 0, 74}, {113, 0, 73}, {116, 0, 72}, {119, 0, 70},  // 85-89
    {120, 0, 69}, {123, 0, 68}, {126, 0, 66}, {127, 0, 64}, {129, 0, 63},  // 90-94
    {132, 0, 62}, {135, 0, 60}, {137, 0, 58}, {140, 0, 56}, {143, 0, 54},  // 95-99
    {146, 0, 52}, {149, 0, 51}, {151, 0, 50}, {154, 0, 48}, {157, 0, 47},  // 100-104
    {160, 0, 46}, {163, 0, 44}, {165, 0, 43}, {168, 0, 42}, {171, 0, 40},  // 105-109
    {174, 0, 39}, {176, 0, 38}, {179, 0, 36}, {182, 0, 35}, {185, 0, 34},  // 110-114
    {188, 0, 32}, {190, 0, 31}, {193, 0, 30}, {196, 0, 28}, {199, 0, 27},  // 115-119
    {202, 0, 26}, {204, 0, 24}, {207, 0, 23}, {210, 0, 22}, {213, 0, 20},  // 120-124
    {215, 0, 19}, {218, 0, 18}, {221, 0, 16}, {224, 0, 15}, {227, 0, 14},  // 125-129
    {229, 0, 12}, {232, 0, 11}, {235, 0, 10}, {238, 0, 8}, {241, 0, 7},  // 130-134
    {243, 0, 6}, {246, 0, 4}, {249, 0, 3}, {252, 0, 2}, {255, 0, 0},  // 135-139
    {255, 0, 0}, {255, 3, 0}, {255, 6, 0}, {255, 8, 0}, {255, 11, 0},  // 140-144
    {255, 13, 0}, {255, 16, 0}, {255, 18, 0}, {255, 21, 0}, {255, 24, 0},  // 145-149
    {255, 26, 0}, {255, 29, 0}, {255, 31, 0}, {255, 34, 0}, {255, 36, 0},  // 150-154
    {255, 39, 0}, {255, 41, 0}, {255, 43, 0}, {255, 47, 0}, {255, 49, 0},  // 155-159
    {255, 52, 0}, {255, 55, 0}, {255, 58, 0}, {255, 61, 0}, {255, 64, 0},  // 160-164
    {255, 67, 0}, {255, 70, 0}, {255, 72, 0}, {255, 75, 0}, {255, 77, 0},  // 165-169
    {255, 80, 0}, {255, 83, 0}, {255, 85, 0}, {255, 88, 0}, {255, 90, 0},  // 170-174
    {255, 93, 0}, {255, 96, 0}, {255, 98, 0}, {255, 101, 0}, {255, 104, 0},  // 175-179
    {255, 106, 0}, {255, 109, 0}, {255, 111, 0}, {255, 114, 0}, {255, 117, 0},  // 180-184
    {255, 119, 0}, {255, 122, 0}, {255, 124, 0}, {255, 127, 0}, {255, 130, 0},  // 185-189
    {255, 132, 0}, {255, 135, 0}, {255, 137, 0}, {255, 140, 0}, {255, 142, 0},  // 190-194
    {255, 145, 0}, {255, 148, 0}, {255, 150, 0}, {255, 153, 0}, {255, 155, 0},  // 195-199
    {255, 158, 0}, {255, 160, 0}, {255, 163, 0}, {255, 166, 0}, {255, 168, 0},  // 200-204
    {255, 171, 0}, {255, 173, 0}, {255, 176, 0}, {255, 178, 0}, {255, 180, 0},  // 205-209
    {255, 183, 0}, {255, 186, 0}, {255, 188, 0}, {255, 191, 0}, {255, 193, 0},  // 210-214
    {255, 196, 0}, {255, 198, 0}, {255, 201, 0}, {255, 204, 0}, {255, 207, 0},  // 215-219
    {255, 209, 0}, {255, 212, 0}, {255, 215, 0}, {255, 218, 0}, {255, 221, 0},  // 220-224
    {255, 223, 0}, {255, 226, 0}, {255, 229, 0}, {255, 231, 0}, {255, 234, 0},  // 225-229
    {255, 236, 0}, {255, 239, 0}, {255, 242, 0}, {255, 245, 0}, {255, 248, 0},  // 230-234
    {255, 251, 0}, {255, 255, 0}, {255, 255, 14}, {255, 255, 28}, {255, 255, 43},  // 235-239
    {255, 255, 57}, {255, 255, 71}, {255, 255, 85}, {255, 255, 99}, {255, 255, 113},  // 240-244
    {255, 255, 128}, {255, 255, 142}, {255, 255, 156}, {255, 255, 170}, {255, 255, 184},  // 245-249
    {255, 255, 199}, {255, 255, 213}, {255, 255, 227}, {255, 255, 241}, {255, 255, 255},  // 250-254
};

double min(double a, double b) { return a < b ? a : b; }
double max(double a, double b) { return a > b ? a : b; }

namespace {

// --- Colour indices and scales -------------------------------------------
constexpr int TOP_INDEX = 254;          // last colour-map entry (white)
constexpr int WALL_INDEX = 0;           // walls of the "wall black" rule
constexpr int OUTSIDE_INDEX = 254;      // outside of the "outside white" rule
constexpr int MEMBRANE_WALL_INDEX = 1;  // walls in the membrane pictures
constexpr int MEMBRANE_CAP = 214;       // membrane-linear ceiling (orange)
constexpr double MEMBRANE_SCALE = 100.0;
constexpr double AUX1_SCALE = 300.0;
constexpr double HILL_HALF4 = 3906250000.0;  // 250^4: half-saturation 250, exponent 4

// --- Membrane band ------------------------------------------------------
constexpr int SEARCH_HALF = 30;        // half size of the nearest-membrane search box
constexpr double NO_POINT = 10000.0;   // distance of "no membrane point found"
constexpr double BAND = 3.0;           // cytoplasm within this distance shows the membrane
constexpr int BAND_BOX = 3;            // every point within BAND lies within this many rows and columns
constexpr int NARROW_WIDTH = 7;        // cells at most this wide have their distances doubled
constexpr int SHORT_HEIGHT = 8;        // ... and cells at most this high

// --- Rows and types of the special pictures -------------------------------
constexpr int GROWTH_MARK_LOW = 149;   // kind 22: rows of the growth-height marks
constexpr int GROWTH_MARK_HIGH = 212;
constexpr int GROWTH_MARK_HEIGHT = 7;  // kind 22: marked cells are taller than this
constexpr int PRODUCTION_VASC_ROW = 157;  // kind 54: top row of the vascular source
constexpr int PRODUCTION_EPI_ROW = 148;   // kind 54: top row of the outer source
constexpr double PRODUCTION_SLOPE = 2.1;
constexpr double PRODUCTION_OFFSET = 68.20000000000002;

// Pixel of grid point (i, j) in RGBdata.
inline unsigned char* Pixel(int i, int j) {
    return RGBdata + 3 * (static_cast<size_t>(NCOLS) * static_cast<size_t>(j) + static_cast<size_t>(i));
}

inline void PutIndex(int i, int j, int index) {
    unsigned char* p = Pixel(i, j);
    p[0] = static_cast<unsigned char>(colourmap[index][0] & 0xFF);
    p[1] = static_cast<unsigned char>(colourmap[index][1] & 0xFF);
    p[2] = static_cast<unsigned char>(colourmap[index][2] & 0xFF);
}

inline void PutRGB(int i, int j, unsigned char r, unsigned char g, unsigned char b) {
    unsigned char* p = Pixel(i, j);
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

// Cell number of a point, or -1 when the point belongs to no (valid) cell.
inline int CellAt(int i, int j) {
    int c = Cell[i][j];
    return (c >= 0 && c < MAXCELLS) ? c : -1;
}

// Clamps v into [0, top]; a value that is not a number counts as 0.
inline double ClampScale(double v, double top) {
    if (!(v > 0.0)) return 0.0;
    return v > top ? top : v;
}

// Per-cell value on a linear scale: 0 -> 35, S and above -> 254.
inline int CellLinearIndex(double v, double S) {
    long double x = ClampScale(v, S);
    int k = static_cast<int>(35.0L + 219.0L * x / S);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// Membrane amount of a PIN carrier: 0 black, from 0.001 on dark blue upward,
// 100 and above orange.
inline int MembraneLinearIndex(double v) {
    long double x = ClampScale(v, MEMBRANE_SCALE);
    int k;
    if (static_cast<int>(1000.0L * x) < 1)
        k = static_cast<int>(214.0L * x / 100.0L);
    else
        k = static_cast<int>(50.0L + 164.0L * x / 100.0L);
    return k > MEMBRANE_CAP ? MEMBRANE_CAP : k;
}

// Membrane amount of AUX1: 0 black, from 0.001 on index 25 upward, 300 white.
inline int Aux1LinearIndex(double v) {
    long double x = ClampScale(v, AUX1_SCALE);
    int k;
    if (static_cast<int>(1000.0L * x) < 1)
        k = static_cast<int>(254.0L * x / 300.0L);
    else
        k = static_cast<int>(25.0L + 229.0L * x / 300.0L);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// Logarithmic auxin scale between lo and hi.  The bounds are taken in double
// precision, the index expression in extended precision.
struct LogScale {
    double lo, hi, L1, s, c;
    LogScale(double lo_, double hi_) : lo(lo_), hi(hi_) {
        L1 = log10(lo);
        double L2 = log10(hi);
        s = L1 + L2;
        c = 2 * L1 / s;
    }
    int Index(double v) const {
        double a = v;
        if (!(a >= lo)) a = lo;  // also a value that is not a number
        else if (a > hi) a = hi;
        long double x = ((static_cast<long double>(log10(a)) + L1) / s - c) * 219 /
                            (1 - static_cast<long double>(c)) + 35;
        int k = static_cast<int>(x);
        if (k < 0) return 0;
        return k > TOP_INDEX ? TOP_INDEX : k;
    }
};

// Auxin response (kind 3): Hill function of the auxin level, half-saturation
// 250, exponent 4.
inline int HillIndex(double v) {
    long double a = v;
    long double h;
    if (std::isinf(v)) {
        h = 1.0L;
    } else {
        long double a4 = a * a * a * a;
        h = a4 / (a4 + HILL_HALF4);
        if (!(h > 0.0L)) h = 0.0L;
        else if (h > 1.0L) h = 1.0L;
    }
    int k = static_cast<int>(35.0L + 219.0L * h);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// --- Catalogue ------------------------------------------------------------
struct PictureFormat {
    int kind;
    const char* format;
};

const PictureFormat kCatalogue[] = {
    {1, "%s/Aux_%.8d.png"},
    {2, "%s/PINmem_%.8d.png"},
    {3, "%s/ARFKM_Aux_%.8d.png"},
    {5, "%s/Aux1mem_%.8d.png"},
    {7, "%s/Plts_%.8d.png"},
    {9, "%s/ARF_%.8d.png"},
    {10, "%s/CellZonation_%.8d.png"},
    {11, "%s/OscilationZone_%.8d.png"},
    {17, "%s/AA_%.8d.png"},
    {18, "%s/BB_%.8d.png"},
    {19, "%s/CC_%.8d.png"},
    {20, "%s/DD_%.8d.png"},
    {21, "%s/PltsExp_%.8d.png"},
    {22, "%s/TimeOfPrevGrowth_%.8d.png"},
    {23, "%s/Membrane_%.8d.png"},
    {24, "%s/Priming_%.8d.png"},
    {25, "%s/outside_%.8d.png"},
    {26, "%s/Gh317_%.8d.png"},
    {27, "%s/ARR1_%.8d.png"},
    {28, "%s/ARR12_%.8d.png"},
    {32, "%s/Celltypes_%.8d.png"},
    {33, "%s/Yuc3_%.8d.png"},
    {34, "%s/Tmt_%.8d.png"},
    {35, "%s/PltsExp2_%.8d.png"},
    {36, "%s/Plts2_%.8d.png"},
    {37, "%s/ARR1RGA_%.8d.png"},
    {39, "%s/Plasmodesmata_%.8d.png"},
    {40, "%s/PIN2mem_%.8d.png"},
    {41, "%s/PINtotmem_%.8d.png"},
    {42, "%s/lowAuxin_%.8d.png"},
    {43, "%s/Auxminpassed_%.8d.png"},
    {44, "%s/ARRpassed_%.8d.png"},
    {45, "%s/divTF_%.8d.png"},
    {46, "%s/elongTF_%.8d.png"},
    {48, "%s/MeanAux_%.8d.png"},
    {49, "%s/Gh33_%.8d.png"},
    {50, "%s/IdealPINtot_%.8d.png"},
    {51, "%s/IdealPIN1_%.8d.png"},
    {52, "%s/IdealPIN2_%.8d.png"},
    {53, "%s/IdealAUX1_%.8d.png"},
    {54, "%s/VolfacAuxProd_%.8d.png"},
    {55, "%s/ARR1_and12_%.8d.png"},
};

const char* FormatOf(int kind) {
    for (const PictureFormat& p : kCatalogue)
        if (p.kind == kind) return p.format;
    return nullptr;
}

// Formats a file name "<format>" with the output directory and the time,
// without a fixed-size buffer.
std::string FileName(const char* format, int time) { return FormatString(format, dirname, time); }

bool IsMembraneKind(int kind) {
    return kind == 2 || kind == 5 || kind == 40 || kind == 41 || (kind >= 50 && kind <= 53);
}

// --- Membrane distance map ------------------------------------------------
// For every cytoplasm point, the distance to the nearest membrane point of its
// own cell (doubled in narrow or short cells) and that point.  The distance is
// exact wherever it puts the point in the band (at most BAND); points beyond
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

// True when cell c has a membrane point in the search box around (i, j).
// Walking from (i, j) through the cell's own cytoplasm along the four axes
// finds one in nearly every case; a point where the walks fail is settled by
// scanning the whole box.
bool HasMembraneInBox(int i, int j, int c) {
    static const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& st : steps) {
        for (int k = 1; k <= SEARCH_HALF; k++) {
            int ii = i + st[0] * k, jj = j + st[1] * k;
            if (ii < 0 || ii >= NCOLS || jj < 0 || jj >= NROWS) break;
            if (Cell[ii][jj] != c) break;
            int t = Tc[ii][jj];
            if (t == TC_MEMBRANE) return true;
            if (t != TC_CYTO) break;
        }
    }
    int i0 = i - SEARCH_HALF < 0 ? 0 : i - SEARCH_HALF;
    int i1 = i + SEARCH_HALF > NCOLS - 1 ? NCOLS - 1 : i + SEARCH_HALF;
    int j0 = j - SEARCH_HALF < 0 ? 0 : j - SEARCH_HALF;
    int j1 = j + SEARCH_HALF > NROWS - 1 ? NROWS - 1 : j + SEARCH_HALF;
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

void BuildDistanceMap() {
    DistanceMap& m = Map();
    const size_t n = static_cast<size_t>(NCOLS) * NROWS;
    m.dist.assign(n, 0.0);
    m.nbi.assign(n, 0);
    m.nbj.assign(n, 0);
    m.missing.clear();
    for (int i = 0; i < NCOLS; i++) {
        const int i0 = i - BAND_BOX < 0 ? 0 : i - BAND_BOX;
        const int i1 = i + BAND_BOX > NCOLS - 1 ? NCOLS - 1 : i + BAND_BOX;
        for (int j = 0; j < NROWS; j++) {
            if (Tc[i][j] != TC_CYTO) continue;
            const size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
            const int c = CellAt(i, j);
            if (c < 0) {
                // Cytoplasm of no cell has no membrane of its own: drawn black.
                m.dist[at] = NO_POINT;
                continue;
            }
            const int j0 = j - BAND_BOX < 0 ? 0 : j - BAND_BOX;
            const int j1 = j + BAND_BOX > NROWS - 1 ? NROWS - 1 : j + BAND_BOX;
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
            const bool small = CellWidth[c] <= NARROW_WIDTH || CellHeight[c] <= SHORT_HEIGHT;
            if (best2 <= BAND_BOX * BAND_BOX) {
                // Within the band box every point at most BAND away is seen,
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

// Repeats the report of the points without a membrane point, as a fresh build
// of the same map would print it.
void ReplayMissingReport() {
    for (const MissingPoint& mp : Map().missing) PrintMissing(mp);
}

// --- Rendering ------------------------------------------------------------
template <typename Rule>
void Scan(Rule rule) {
    int ci = 0;  // running colour index, carried from pixel to pixel
    for (int i = 0; i < NCOLS; i++)
        for (int j = 0; j < NROWS; j++) rule(i, j, ci);
}

// Grid field with "wall black, outside white".
template <typename IndexOf>
void ScanGridField(IndexOf indexOf) {
    Scan([&](int i, int j, int& ci) {
        int t = Tc[i][j];
        if (t == TC_WALL) ci = WALL_INDEX;
        else if (t == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        else ci = indexOf(i, j);
        PutIndex(i, j, ci);
    });
}

// Per-cell value; points without a cell: wall black, outside white, others
// keep the running colour index.
template <typename IndexOfCell>
void ScanCells(IndexOfCell indexOfCell) {
    Scan([&](int i, int j, int& ci) {
        int c = CellAt(i, j);
        if (c >= 0) ci = indexOfCell(c, i, j);
        else if (Tc[i][j] == TC_WALL) ci = WALL_INDEX;
        else if (Tc[i][j] == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        PutIndex(i, j, ci);
    });
}

template <typename Value>
void ScanCellLinear(Value value, double S) {
    ScanCells([&](int c, int, int) { return CellLinearIndex(value(c), S); });
}

// Membrane field: membrane points with their own value, cytoplasm in the band
// with the value of its nearest membrane point, farther cytoplasm black.
template <typename Value, typename IndexOf>
void ScanMembrane(Value value, IndexOf indexOf) {
    const DistanceMap& m = Map();
    Scan([&](int i, int j, int& ci) {
        int t = Tc[i][j];
        if (t == TC_WALL) {
            ci = MEMBRANE_WALL_INDEX;
        } else if (t == TC_OUTSIDE) {
            ci = OUTSIDE_INDEX;
        } else if (t == TC_CYTO) {
            size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
            if (m.dist[at] <= BAND)
                ci = indexOf(value(m.nbi[at], m.nbj[at]));
            else
                ci = 0;
        } else {
            ci = indexOf(value(i, j));
        }
        PutIndex(i, j, ci);
    });
}

void ScanZonation() {
    Scan([&](int i, int j, int&) {
        int c = CellAt(i, j);
        if (c >= 0) {
            switch (CellZonationState[c]) {
                case 0: PutRGB(i, j, 100, 100, 100); break;
                case 30: PutRGB(i, j, 10, 220, 10); break;
                case 50: PutRGB(i, j, 10, 160, 10); break;
                case 60: PutRGB(i, j, 250, 220, 0); break;
                case 100: PutRGB(i, j, 0, 0, 254); break;
                case 200: PutRGB(i, j, 140, 140, 140); break;
                // A state outside the six zones stands out in magenta.
                default: PutRGB(i, j, 255, 0, 255); break;
            }
        } else if (Tc[i][j] == TC_WALL) {
            PutRGB(i, j, 0, 0, 0);
        }
        // Outside points are left as the previous picture drew them.
    });
}

void ScanAsymmetry() {
    Scan([&](int i, int j, int& ci) {
        const double a = Caux1[i][j];
        const double b = Caux1[MIRRORSUM - i][j];
        const long double la = a, lb = b;
        if (std::trunc(10000.0L * la) == std::trunc(10000.0L * lb)) {
            if (a < -9) ci = 80;
            else if (Tc[i][j] == TC_WALL) ci = WALL_INDEX;
            else if (Tc[i][j] == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        } else if (std::trunc(100.0L * la) != std::trunc(100.0L * lb)) {
            ci = a < b ? 225 : 120;
        } else if (std::trunc(1000.0L * la) != std::trunc(1000.0L * lb)) {
            ci = a < b ? 205 : 150;
        } else {
            ci = a < b ? 175 : 140;
        }
        PutIndex(i, j, ci);
    });
}

void ScanTissueTypes() {
    Scan([&](int i, int j, int& ci) {
        switch (Tct[i][j]) {
            case 5: ci = 60; break;
            case 6: ci = 80; break;
            case 7: ci = 110; break;
            case 8: ci = 140; break;
            case 9: case 10: case 11: ci = 160; break;
            case 12: ci = 180; break;
            case 13: ci = 140; break;
            case 14: ci = 40; break;
            case 15: ci = 250; break;
            case 16: ci = 230; break;
            case 17: ci = 200; break;
            default: break;
        }
        if (Tc[i][j] == TC_WALL) ci = WALL_INDEX;
        else if (Tc[i][j] == TC_OUTSIDE) ci = OUTSIDE_INDEX;
        PutIndex(i, j, ci);
    });
}

void ScanPlasmodesmata() {
    Scan([&](int i, int j, int& ci) {
        const int t = Tc[i][j];
        const int c = CellAt(i, j);
        if (t == TC_MEMBRANE && c >= 0) {
            const int s = Tmt[i][j];
            if (s >= 1 && s <= 4) {
                const double p = std::trunc(Plasmodesmatapattern[c][s - 1]);
                if (p == 1) ci = 40;
                else if (p == 3) ci = 80;
                else if (p == 6) ci = 130;
                else if (p == 10) ci = 180;
                else if (p == 20) ci = 230;
            }
        } else if (t == TC_CYTO || t == TC_OUTSIDE) {
            ci = TOP_INDEX;
        } else if (t == TC_WALL) {
            ci = WALL_INDEX;
        }
        PutIndex(i, j, ci);
    });
}

void ScanProductionZones() {
    ScanCells([&](int, int i, int j) {
        const int t = Tct[i][j];
        const int edge = static_cast<int>(PRODUCTION_SLOPE * i - PRODUCTION_OFFSET);
        const int mirrorEdge = static_cast<int>(PRODUCTION_SLOPE * (MIRRORSUM - i) - PRODUCTION_OFFSET);
        if (t == 12 || t == 17 || (j <= PRODUCTION_VASC_ROW && t >= 8 && t <= 11) ||
            (j <= PRODUCTION_EPI_ROW && j < edge && j < mirrorEdge && t >= 5 && t <= 8))
            return 200;
        if (t >= 1 && t <= 4) return 60;
        if (t >= 13 && t <= 16) return 100;
        if (j > PRODUCTION_EPI_ROW) return 0;
        return 4;
    });
}

// Draws picture kind `kind` into RGBdata.  Membrane kinds read the distance
// map, which must be built for the current geometry.  False for a kind that
// is not drawn.
bool Render(int kind) {
    switch (kind) {
        case 1: {
            LogScale ls(10, 2000);
            ScanGridField([&](int i, int j) { return ls.Index(Caux1[i][j]); });
            return true;
        }
        case 42: {
            LogScale ls(20, 1000);
            ScanGridField([&](int i, int j) { return ls.Index(Caux1[i][j]); });
            return true;
        }
        case 3:
            ScanGridField([&](int i, int j) { return HillIndex(Caux1[i][j]); });
            return true;
        case 2:
            ScanMembrane([](int i, int j) { return Cpin1M[i][j]; }, MembraneLinearIndex);
            return true;
        case 5:
            ScanMembrane([](int i, int j) { return Aux1M[i][j]; }, Aux1LinearIndex);
            return true;
        case 40:
            ScanMembrane([](int i, int j) { return Cpin2M[i][j]; }, MembraneLinearIndex);
            return true;
        case 41:
            ScanMembrane([](int i, int j) { return Cpin1M[i][j] + Cpin2M[i][j]; }, MembraneLinearIndex);
            return true;
        case 50:
            ScanMembrane([](int i, int j) { return 100 * (PinPrePat[i][j] + Pin2PrePat[i][j]); },
                         MembraneLinearIndex);
            return true;
        case 51:
            ScanMembrane([](int i, int j) { return 100 * PinPrePat[i][j]; }, MembraneLinearIndex);
            return true;
        case 52:
            ScanMembrane([](int i, int j) { return 100 * Pin2PrePat[i][j]; }, MembraneLinearIndex);
            return true;
        case 53:
            ScanMembrane([](int i, int j) { return 33.33 * Aux1PrePat[i][j]; }, MembraneLinearIndex);
            return true;
        case 7: ScanCellLinear([](int c) { return Plts[c]; }, 300); return true;
        case 9: ScanCellLinear([](int c) { return ARF[c]; }, 100); return true;
        case 17: ScanCellLinear([](int c) { return AA[c]; }, 100); return true;
        case 18: ScanCellLinear([](int c) { return BB[c]; }, 100); return true;
        case 19: ScanCellLinear([](int c) { return CC[c]; }, 100); return true;
        case 20: ScanCellLinear([](int c) { return DD[c]; }, 100); return true;
        case 21: ScanCellLinear([](int c) { return Pltsexpr[c]; }, 100); return true;
        case 23: ScanCellLinear([](int c) { return Diff[c]; }, 100); return true;
        case 24: ScanCellLinear([](int c) { return PP[c]; }, 100); return true;
        case 26: ScanCellLinear([](int c) { return Gh317[c]; }, 100); return true;
        case 27: ScanCellLinear([](int c) { return ARR1[c]; }, 100); return true;
        case 28: ScanCellLinear([](int c) { return ARR12[c]; }, 100); return true;
        case 33: ScanCellLinear([](int c) { return Yuc3[c]; }, 100); return true;
        case 35: ScanCellLinear([](int c) { return Pltsexpr[c]; }, 500); return true;
        case 36: ScanCellLinear([](int c) { return Plts[c]; }, 150); return true;
        case 37: ScanCellLinear([](int c) { return ARR1RGA[c]; }, 100); return true;
        case 45: ScanCellLinear([](int c) { return divTF[c]; }, 100); return true;
        case 46: ScanCellLinear([](int c) { return elongTF[c]; }, 100); return true;
        case 48: ScanCellLinear([](int c) { return MeanCells[c]; }, 2000); return true;
        case 49: ScanCellLinear([](int c) { return Gh33[c]; }, 100); return true;
        case 55: ScanCellLinear([](int c) { return ARR1[c] + ARR12[c]; }, 150); return true;
        case 43: ScanCells([](int c, int, int) { return Auxminpassed[c] ? 200 : 80; }); return true;
        case 44: ScanCells([](int c, int, int) { return ARRpassed[c] ? 200 : 80; }); return true;
        case 10: ScanZonation(); return true;
        case 11:
            Scan([](int i, int j, int& ci) {
                int t = Tct[i][j];
                ci = t <= 0 ? 0 : (t > TOP_INDEX / 12 ? TOP_INDEX : 12 * t);
                PutIndex(i, j, ci);
            });
            return true;
        case 22:
            ScanCells([](int c, int, int j) {
                return (j >= GROWTH_MARK_LOW && j <= GROWTH_MARK_HIGH && CellHeight[c] > GROWTH_MARK_HEIGHT)
                           ? 125 : 240;
            });
            return true;
        case 25: ScanAsymmetry(); return true;
        case 32: ScanTissueTypes(); return true;
        case 34:
            ScanCells([](int, int i, int j) {
                switch (Tmt[i][j]) {
                    case 1: return 60;
                    case 2: return 100;
                    case 3: return 140;
                    case 4: return 180;
                    default: return 254;
                }
            });
            return true;
        case 39: ScanPlasmodesmata(); return true;
        case 54: ScanProductionZones(); return true;
        default: return false;
    }
}

// --- Writing --------------------------------------------------------------
struct PngErrorState {
    char message[256];
};

void PngError(png_structp png, png_const_charp msg) {
    PngErrorState* st = static_cast<PngErrorState*>(png_get_error_ptr(png));
    snprintf(st->message, sizeof st->message, "%s", msg ? msg : "picture library error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// Writes RGBdata to the named file.  A file that cannot be opened or written
// is reported on standard error and any partial file removed; false then.
bool WritePng(const char* name) {
    FILE* fp = fopen(name, "wb");
    if (fp == nullptr) {
        fprintf(stderr, "rootsim: cannot open picture file %s: %s; picture skipped\n", name,
                strerror(errno));
        return false;
    }
    // Static: it is written between setjmp and longjmp and read after.
    static PngErrorState err;
    err.message[0] = '\0';
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, PngError, PngWarning);
    if (png == nullptr) {
        fclose(fp);
        remove(name);
        printf("out of memoryflag\n");
        fflush(stdout);
        exit(1);
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        fclose(fp);
        remove(name);
        printf("out of memory\n");
        fflush(stdout);
        exit(1);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(fp);
        remove(name);
        fprintf(stderr, "rootsim: cannot write picture file %s: %s; picture skipped\n", name,
                err.message);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, NCOLS, NROWS, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int j = NROWS - 1; j >= 0; j--) {
        png_bytep row = Pixel(0, j);
        png_write_rows(png, &row, 1);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    errno = 0;
    bool bad = fflush(fp) != 0 || ferror(fp) != 0;
    int savedErrno = errno;
    if (fclose(fp) != 0 && !bad) {
        bad = true;
        savedErrno = errno;
    }
    if (bad) {
        remove(name);
        fprintf(stderr, "rootsim: cannot write picture file %s: %s; picture skipped\n", name,
                savedErrno ? strerror(savedErrno) : "write error");
        return false;
    }
    return true;
}

// Draws one picture and writes it.  With mapReady the membrane kinds use the
// distance map as it stands and only repeat its report.
void DrawAndWrite(int time, int kind, bool mapReady) {
    const char* format = FormatOf(kind);
    if (format == nullptr) {
        fprintf(stderr, "rootsim: picture kind %d is not drawn\n", kind);
        return;
    }
    if (IsMembraneKind(kind)) {
        if (mapReady) ReplayMissingReport();
        else BuildDistanceMap();
    }
    Render(kind);
    std::string name = FileName(format, time);
    WritePng(name.c_str());
}

// --- Montages -------------------------------------------------------------
// The image tool: ROOTSIM_CONVERT when set, else the system's own convert,
// else whatever "convert" the search path finds.
std::string ConvertProgram() {
    const char* env = getenv("ROOTSIM_CONVERT");
    if (env != nullptr && *env != '\0') return env;
    if (access("/usr/bin/convert", X_OK) == 0) return "/usr/bin/convert";
    return "convert";
}

// Runs the image tool on `args` (without the program name) and waits for it.
// True when it ran and exited with status 0.  On failure the target picture,
// which could be partial or stale, is removed.
bool RunConvert(const std::vector<std::string>& args, const std::string& target) {
    const std::string prog = ConvertProgram();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(prog.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    fflush(stdout);
    fflush(stderr);
    pid_t pid = 0;
    int rc = prog.find('/') != std::string::npos
                 ? posix_spawn(&pid, prog.c_str(), nullptr, nullptr, argv.data(), environ)
                 : posix_spawnp(&pid, prog.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        fprintf(stderr, "rootsim: cannot run %s: %s; montage %s not written\n", prog.c_str(),
                strerror(rc), target.c_str());
        unlink(target.c_str());
        return false;
    }
    int status = 0;
    pid_t w;
    do {
        w = waitpid(pid, &status, 0);
    } while (w < 0 && errno == EINTR);
    if (w < 0) {
        fprintf(stderr, "rootsim: lost track of %s: %s; montage %s not written\n", prog.c_str(),
                strerror(errno), target.c_str());
        unlink(target.c_str());
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        if (WIFEXITED(status))
            fprintf(stderr, "rootsim: %s ended with status %d; montage %s not written\n", prog.c_str(),
                    WEXITSTATUS(status), target.c_str());
        else
            fprintf(stderr, "rootsim: %s was stopped by signal %d; montage %s not written\n",
                    prog.c_str(), WIFSIGNALED(status) ? WTERMSIG(status) : 0, target.c_str());
        unlink(target.c_str());
        return false;
    }
    return true;
}

// Joins the named pictures side by side, left to right, into `target`.
bool Montage(const std::vector<const char*>& parts, const char* target, int time) {
    std::vector<std::string> args;
    for (const char* p : parts) args.push_back(FileName(p, time));
    args.push_back("+append");
    std::string out = FileName(target, time);
    args.push_back(out);
    return RunConvert(args, out);
}

void Progress(const char* line) {
    printf("%s\n", line);
    fflush(stdout);
}

}  // namespace

void MakePNGFile(int time, int kind) { DrawAndWrite(time, kind, false); }

void BuildMembraneDistanceMap() { BuildDistanceMap(); }

double MembraneDistance(int i, int j) {
    return Map().dist[static_cast<size_t>(i) * NROWS + static_cast<size_t>(j)];
}

void MembraneNearestPoint(int i, int j, int* ni, int* nj) {
    size_t at = static_cast<size_t>(i) * NROWS + static_cast<size_t>(j);
    *ni = Map().nbi[at];
    *nj = Map().nbj[at];
}

void MakeGraphics(int time) {
    // The distance map depends only on the geometry, which no picture
    // changes: it is built for the first membrane picture and reused.
    Progress("start1");
    DrawAndWrite(time, 1, false);
    Progress("start3");
    DrawAndWrite(time, 3, false);
    Progress("start2");
    DrawAndWrite(time, 2, false);
    Progress("start5");
    DrawAndWrite(time, 5, true);
    Progress("end5");
    static const int rest[] = {10, 11, 9,  17, 18, 19, 20, 21, 7,  22, 23, 24, 25,
                               26, 27, 28, 55, 32, 33, 34, 35, 36, 37, 39, 40, 41,
                               42, 43, 44, 45, 46, 48, 49, 50, 51, 52, 53, 54};
    for (int kind : rest) DrawAndWrite(time, kind, true);

    bool abcd = Montage({"%s/ARF_%.8d.png", "%s/AA_%.8d.png", "%s/BB_%.8d.png", "%s/CC_%.8d.png",
                         "%s/DD_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png"},
                        "%s/ABCD_%.8d.png", time);
    Montage({"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png",
             "%s/CellZonation_%.8d.png"},
            "%s/Pltscombo_%.8d.png", time);
    Montage({"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png", "%s/ARR1_%.8d.png",
             "%s/ARR12_%.8d.png", "%s/CellZonation_%.8d.png"},
            "%s/Combined_%.8d.png", time);
    // The five sources live on only inside the ABCD montage; without it they stay.
    if (abcd) {
        for (const char* f : {"%s/ARF_%.8d.png", "%s/AA_%.8d.png", "%s/BB_%.8d.png", "%s/CC_%.8d.png",
                              "%s/DD_%.8d.png"})
            unlink(FileName(f, time).c_str());
    }
}
