// Field rendering to PNG, the picture set and its montages.
//
// Every picture is one pixel per grid point, NCOLS wide and NROWS high, 8-bit
// RGB, with grid row NROWS-1 as the top image row (the root tip is at the
// bottom).  The pixel buffer RGBdata is shared by all pictures and never
// cleared: a pixel that a rule leaves unwritten keeps the previous picture's
// colour.
#include "rootsim.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "distance_map.h"
#include "montage.h"
#include "picture.h"
#include "picture_scales.h"
#include "plan.h"

double min(double a, double b) { return a < b ? a : b; }
double max(double a, double b) { return a > b ? a : b; }

namespace {

// --- Colour scales -------------------------------------------------------
constexpr double AUX1_SCALE = 300.0;
constexpr double HILL_HALF4 = 3906250000.0;  // 250^4: half-saturation 250, exponent 4

// --- Membrane band ------------------------------------------------------
constexpr MembraneBand kBand = {
    30,   // half size of the nearest-membrane search box
    3.0,  // cytoplasm within this distance shows the membrane
    7,    // cells at most this wide have their distances doubled
    8,    // ... and cells at most this high
};

// --- Rows and types of the special pictures -------------------------------
constexpr int GROWTH_MARK_LOW = plan::HEIGHT_MARK_LOW;   // kind 22: rows of the growth-height marks
constexpr int GROWTH_MARK_HIGH = plan::HEIGHT_MARK_HIGH;
constexpr int GROWTH_MARK_HEIGHT = 7;  // kind 22: marked cells are taller than this
constexpr int PRODUCTION_VASC_ROW = plan::STELE_SOURCE_TOP_ROW;  // kind 54: top row of the vascular source
constexpr int PRODUCTION_EPI_ROW = plan::TIP_TOP_ROW;   // kind 54: top row of the outer source
constexpr double PRODUCTION_SLOPE = plan::SLANT_SLOPE;
constexpr double PRODUCTION_OFFSET = plan::SLANT_OFFSET;

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

// The montages: each joins its parts left to right.  The first one holds the
// only copy of its first five parts, whose own files are removed once it is
// written.
struct MontageFormat {
    const char* target;
    std::vector<const char*> parts;
};
const MontageFormat kMontages[] = {
    {"%s/ABCD_%.8d.png",
     {"%s/ARF_%.8d.png", "%s/AA_%.8d.png", "%s/BB_%.8d.png", "%s/CC_%.8d.png", "%s/DD_%.8d.png",
      "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png"}},
    {"%s/Pltscombo_%.8d.png",
     {"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png", "%s/CellZonation_%.8d.png"}},
    {"%s/Combined_%.8d.png",
     {"%s/lowAuxin_%.8d.png", "%s/PltsExp2_%.8d.png", "%s/Plts2_%.8d.png", "%s/ARR1_%.8d.png",
      "%s/ARR12_%.8d.png", "%s/CellZonation_%.8d.png"}},
};
constexpr int kReplacedByFirstMontage = 5;

bool IsMontagePart(const char* format) {
    for (const MontageFormat& m : kMontages)
        for (const char* p : m.parts)
            if (strcmp(p, format) == 0) return true;
    return false;
}

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

void ScanZonation() {
    Scan([&](int i, int j, int&) {
        int c = PictureCellAt(i, j);
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

void ScanPlasmodesmata() {
    Scan([&](int i, int j, int& ci) {
        const int t = Tc[i][j];
        const int c = PictureCellAt(i, j);
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
            ScanMembrane(kBand.band, [](int i, int j) { return Cpin1M[i][j]; }, MembraneLinearIndex);
            return true;
        case 5:
            ScanMembrane(kBand.band, [](int i, int j) { return Aux1M[i][j]; },
                         [](double v) { return Aux1LinearIndex(v, AUX1_SCALE); });
            return true;
        case 40:
            ScanMembrane(kBand.band, [](int i, int j) { return Cpin2M[i][j]; }, MembraneLinearIndex);
            return true;
        case 41:
            ScanMembrane(kBand.band, [](int i, int j) { return Cpin1M[i][j] + Cpin2M[i][j]; }, MembraneLinearIndex);
            return true;
        case 50:
            ScanMembrane(kBand.band, [](int i, int j) { return 100 * (PinPrePat[i][j] + Pin2PrePat[i][j]); },
                         MembraneLinearIndex);
            return true;
        case 51:
            ScanMembrane(kBand.band, [](int i, int j) { return 100 * PinPrePat[i][j]; }, MembraneLinearIndex);
            return true;
        case 52:
            ScanMembrane(kBand.band, [](int i, int j) { return 100 * Pin2PrePat[i][j]; }, MembraneLinearIndex);
            return true;
        case 53:
            ScanMembrane(kBand.band, [](int i, int j) { return 33.33 * Aux1PrePat[i][j]; }, MembraneLinearIndex);
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
        case 32: ScanTissueColours(kTissueColours); return true;
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

// Draws one picture and writes it.  With mapReady the membrane kinds use the
// distance map as it stands and only repeat its report.  With keep the pixels
// of a montage part are kept for the montages of the set.
void DrawAndWrite(int time, int kind, bool mapReady, bool keep) {
    const char* format = FormatOf(kind);
    if (format == nullptr) {
        fprintf(stderr, "%s: picture kind %d is not drawn\n", ProgramName(), kind);
        return;
    }
    if (IsMembraneKind(kind)) {
        if (mapReady) ReplayMissingReport();
        else BuildDistanceMap(kBand);
    }
    Render(kind);
    std::string name = FileName(format, time);
    WritePng(name.c_str());
    if (keep && IsMontagePart(format)) KeepForMontage(format);
}

void Progress(const char* line) {
    printf("%s\n", line);
    fflush(stdout);
}

}  // namespace

void MakePNGFile(int time, int kind) { DrawAndWrite(time, kind, false, false); }

std::vector<std::string> PictureNameFormats() {
    std::vector<std::string> formats;
    for (const PictureFormat& p : kCatalogue) formats.push_back(p.format);
    for (const MontageFormat& m : kMontages) formats.push_back(m.target);
    return formats;
}

void BuildMembraneDistanceMap() { BuildDistanceMap(kBand); }

double MembraneDistance(int i, int j) { return DistanceMapValue(i, j); }

void MembraneNearestPoint(int i, int j, int* ni, int* nj) { DistanceMapNearest(i, j, ni, nj); }

void MakeGraphics(int time) {
    // The distance map depends only on the geometry, which no picture
    // changes: it is built for the first membrane picture and reused.
    ForgetMontageParts();
    Progress("start1");
    DrawAndWrite(time, 1, false, true);
    Progress("start3");
    DrawAndWrite(time, 3, false, true);
    Progress("start2");
    DrawAndWrite(time, 2, false, true);
    Progress("start5");
    DrawAndWrite(time, 5, true, true);
    Progress("end5");
    static const int rest[] = {10, 11, 9,  17, 18, 19, 20, 21, 7,  22, 23, 24, 25,
                               26, 27, 28, 55, 32, 33, 34, 35, 36, 37, 39, 40, 41,
                               42, 43, 44, 45, 46, 48, 49, 50, 51, 52, 53, 54};
    for (int kind : rest) DrawAndWrite(time, kind, true, true);

    bool first = true, firstWritten = false;
    for (const MontageFormat& m : kMontages) {
        bool written = Montage(m.parts, m.target, time);
        if (first) firstWritten = written;
        first = false;
    }
    ForgetMontageParts();
    // The first parts live on only inside the first montage; without it they stay.
    if (firstWritten) {
        for (int k = 0; k < kReplacedByFirstMontage; k++) unlink(FileName(kMontages[0].parts[k], time).c_str());
    }
}
