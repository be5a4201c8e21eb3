// The b family's pictures: the renderer of its sixteen picture kinds and the
// picture sets of b1, b2, b4 and of b3 with its montage.
//
// Every picture is one pixel per grid point, 141 wide and 873 high, 8-bit
// RGB, grid row 872 as the top image row, through the machinery's colour map,
// scans and PNG writer; the pixel buffer is never cleared, so a pixel that a
// rule leaves unwritten keeps the previous picture's colour.  Index
// arithmetic is plain double precision.
#include "bfamily.h"

#include <unistd.h>

#include <cmath>
#include <iterator>
#include <string>

#include "distance_map.h"
#include "montage.h"
#include "picture.h"
#include "plan.h"

double min(double a, double b) { return a < b ? a : b; }
double max(double a, double b) { return a > b ? a : b; }

namespace {

// The membrane pictures' distance map: a box of 15 points to each side,
// the membrane band 3 wide, distances doubled in cells at most 7 columns
// wide or 8 rows high.
constexpr MembraneBand kBand = {bplan::DISTANCE_SEARCH_HALF, 3.0, 7, 8};

// Kind 1: auxin clamped to [0.05, 3500] on a logarithmic scale from index 35
// (0.05) up; 1000 and above draw the top of the map.
constexpr double AUX_LOW = 0.05;
constexpr double AUX_HIGH = 3500;
constexpr double AUX_LOG_SHIFT = 1.301;   // about -log10(0.05)
constexpr double AUX_LOG_RANGE = 4.301;   // log10(1000) + 1.301

// Kind 3: the auxin response, half-saturation 80, exponent 4.
constexpr double SAT_HALF4 = 40960000.0;  // 80^4

constexpr double CELL_SCALE = 100;        // per-cell kinds
constexpr double PIN_SCALE = 100;         // kind 2
constexpr int PIN_CAP = 214;
constexpr double AUX1_SCALE = 100;        // kind 5

int Trunc(double x) { return static_cast<int>(x); }

int AuxIndex(double v) {
    double a = v;
    if (!(a >= AUX_LOW)) a = AUX_LOW;  // also a value that is not a number
    else if (a > AUX_HIGH) a = AUX_HIGH;
    const int k = Trunc((log10(a) + AUX_LOG_SHIFT) / AUX_LOG_RANGE * 219 + 35);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

int SatAuxIndex(double a) {
    const double a4 = a * a * a * a;
    double h = std::isinf(a4) ? 1.0 : a4 / (a4 + SAT_HALF4);
    if (!(h > 0)) h = 0;
    return Trunc(35 + 219 * h);
}

// Clamps v into [0, top]; a value that is not a number counts as 0.
double Clamp(double v, double top) {
    if (!(v > 0)) return 0;
    return v > top ? top : v;
}

// PIN on a membrane: 0 black, from 0.001 on dark blue upward, 100 and above
// orange.
int PinIndex(double v) {
    const double x = Clamp(v, PIN_SCALE);
    const int k = Trunc(1000 * x) < 1 ? Trunc(214 * x / PIN_SCALE) : Trunc(50 + 164 * x / PIN_SCALE);
    return k > PIN_CAP ? PIN_CAP : k;
}

// AUX1 on a membrane: 0 black, from 0.001 on index 25 upward, 100 and above
// white.
int Aux1Index(double v) {
    const double x = Clamp(v, AUX1_SCALE);
    const int k = Trunc(1000 * x) < 1 ? Trunc(254 * x / AUX1_SCALE) : Trunc(25 + 229 * x / AUX1_SCALE);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

// Per-cell value: 0 at index 35, the scale and above white.
int CellIndex(double v) {
    const int k = Trunc(35 + 219 * Clamp(v, CELL_SCALE) / CELL_SCALE);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

struct PictureFormat {
    int kind;
    const char* format;
};

const PictureFormat kCatalogue[] = {
    {1, "%s/Aux_%.8d.png"},        {2, "%s/PINmem_%.8d.png"},         {3, "%s/SatAux_%.8d.png"},
    {5, "%s/Aux1mem_%.8d.png"},    {7, "%s/Plts_%.8d.png"},           {9, "%s/ARF_%.8d.png"},
    {10, "%s/CellZonation_%.8d.png"}, {11, "%s/OscilationZone_%.8d.png"}, {17, "%s/AA_%.8d.png"},
    {18, "%s/BB_%.8d.png"},        {19, "%s/CC_%.8d.png"},            {20, "%s/DD_%.8d.png"},
    {21, "%s/PltsExp_%.8d.png"},   {22, "%s/TimeOfPrevGrowth_%.8d.png"}, {23, "%s/Membrane_%.8d.png"},
    {24, "%s/Priming_%.8d.png"},
};

const char* FormatOf(int kind) {
    for (const PictureFormat& p : kCatalogue)
        if (p.kind == kind) return p.format;
    return nullptr;
}

std::string FileName(const char* format, int time) { return FormatString(format, dirname, time); }

template <typename Value>
void ScanCellValue(Value value) {
    ScanCells([&](int c, int, int) { return CellIndex(value(c)); });
}

// Zonation colours: tip grey, dividing green, transition dark green,
// elongating yellow, differentiated blue; the family has no colour of its
// own for the mature state, which is drawn like any state outside its zones
// (magenta, as the machinery's pictures draw one).  Walls black, outside
// points not written.
void ScanZonation() {
    Scan([&](int i, int j, int&) {
        const int c = PictureCellAt(i, j);
        if (c >= 0) {
            switch (CellZonationState[c]) {
                case Z_TIP: PutRGB(i, j, 100, 100, 100); break;
                case Z_DIVIDING: PutRGB(i, j, 10, 220, 10); break;
                case Z_TRANSITION: PutRGB(i, j, 10, 160, 10); break;
                case Z_ELONGATING: PutRGB(i, j, 250, 220, 0); break;
                case Z_DIFFERENTIATED: PutRGB(i, j, 0, 0, 254); break;
                default: PutRGB(i, j, 255, 0, 255); break;
            }
        } else if (Tc[i][j] == TC_WALL) {
            PutRGB(i, j, 0, 0, 0);
        }
    });
}

// Draws picture kind `kind` into RGBdata with the height-mark band
// HEIGHT_MARK_FIRST_ROW..markLastRow; false for a kind that is not drawn.
bool Render(int kind, int markLastRow) {
    switch (kind) {
        case 1:
            Scan([](int i, int j, int& ci) {
                ci = AuxIndex(Caux1[i][j]);
                PutIndex(i, j, ci);
            });
            return true;
        case 3: ScanGridField([](int i, int j) { return SatAuxIndex(Caux1[i][j]); }); return true;
        case 2:
            BuildDistanceMap(kBand);
            ScanMembrane(kBand.band, [](int i, int j) { return Cpin1M[i][j]; }, PinIndex);
            return true;
        case 5:
            BuildDistanceMap(kBand);
            ScanMembrane(kBand.band, [](int i, int j) { return Aux1M[i][j]; }, Aux1Index);
            return true;
        case 7: ScanCellValue([](int c) { return Plts[c]; }); return true;
        case 9: ScanCellValue([](int c) { return ARF[c]; }); return true;
        case 17: ScanCellValue([](int c) { return AA[c]; }); return true;
        case 18: ScanCellValue([](int c) { return BB[c]; }); return true;
        case 19: ScanCellValue([](int c) { return CC[c]; }); return true;
        case 20: ScanCellValue([](int c) { return DD[c]; }); return true;
        case 21: ScanCellValue([](int c) { return Pltsexpr[c]; }); return true;
        case 23: ScanCellValue([](int c) { return Diff[c]; }); return true;
        case 24: ScanCellValue([](int c) { return PP[c]; }); return true;
        case 10: ScanZonation(); return true;
        case 11:
            Scan([](int i, int j, int& ci) {
                const int k = 12 * Tct[i][j];
                ci = k < 0 ? 0 : (k > TOP_INDEX ? TOP_INDEX : k);
                PutIndex(i, j, ci);
            });
            return true;
        case 22:
            ScanCells([markLastRow](int c, int, int j) {
                return (j >= bplan::HEIGHT_MARK_FIRST_ROW && j <= markLastRow &&
                        CellHeight[c] > bplan::HEIGHT_MARK_MIN_ROWS)
                           ? 125
                           : 240;
            });
            return true;
        default: return false;
    }
}

void DrawAndWrite(int time, int kind, int markLastRow) {
    const char* format = FormatOf(kind);
    if (format == nullptr || !Render(kind, markLastRow)) {
        fprintf(stderr, "%s: picture kind %d is not drawn\n", ProgramName(), kind);
        return;
    }
    WritePng(FileName(format, time).c_str());
}

}  // namespace

void MakePNGFile(int time, int kind) { DrawAndWrite(time, kind, bplan::HEIGHT_MARK_LAST_ROW); }

void MakeGraphics(int time) {
    const bfamily::Rules& rules = bfamily::Installed();
    for (int kind : {1, 3, 2, 5, 10, 11, 22, 23, 24}) rules.MakePNGFile(time, kind);
}

namespace b3 {

// b3's renderer marks the heights over its taller meristem.
void MakePNGFile(int time, int kind) { DrawAndWrite(time, kind, bplan::B3_HEIGHT_MARK_LAST_ROW); }

// b3's picture set, and its montage of ARF, AA, BB, CC, DD, PltsExp and Plts
// from left to right; the seven single pictures live on only inside the
// montage, so they are removed when it was written and kept otherwise.
void MakeGraphics(int time) {
    const bfamily::Rules& rules = bfamily::Installed();
    for (int kind : {1, 3, 2, 5, 10, 11, 9, 17, 18, 19, 20, 21, 7, 22, 23, 24}) rules.MakePNGFile(time, kind);
    static const char* const parts[] = {"%s/ARF_%.8d.png", "%s/AA_%.8d.png",      "%s/BB_%.8d.png",
                                        "%s/CC_%.8d.png",  "%s/DD_%.8d.png",      "%s/PltsExp_%.8d.png",
                                        "%s/Plts_%.8d.png"};
    if (Montage({std::begin(parts), std::end(parts)}, "%s/ABCD_%.8d.png", time)) {
        for (const char* f : parts) unlink(FileName(f, time).c_str());
    }
}

}  // namespace b3
