// rootsim_c's pictures: one pixel per grid point, 251 wide and 1782 high,
// grid row 1781 as the top image row, in the shared colour map.
//
// Kinds: 0 Tissue, 1 Aux, 2 PINmem, 3 Aux1mem, 4 PltsExpression, 5 Plts,
// 6 Yuc3, 7 Gh33, 8 Diff, 15 Zonation.  The membrane pictures (2, 3) draw
// from the distance map of the current tissue: it is built again whenever
// the tissue has changed since it was last built.
#include "rootsim_c.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "checkpoint.h"
#include "distance_map.h"
#include "picture.h"
#include "picture_scales.h"

double min(double a, double b) { return a < b ? a : b; }
double max(double a, double b) { return a > b ? a : b; }

namespace {

// Membrane band: search 15 points to each side, band 4 wide, distances
// doubled in cells at most 8 wide or 8 high.
constexpr MembraneBand kBand = {15, 4.0, 8, 8};

// AUX1 on the membranes: full scale at 100.
constexpr double AUX1_SCALE = 100.0;
// PLETHORA production: full scale at the largest production (750 x drive 1).
constexpr double PLTS_EXPRESSION_SCALE = 750.0;

// Aux: auxin clamped to [0.05, 3500] on a log scale.
constexpr double AUX_LOW = 0.05;
constexpr double AUX_HIGH = 3500.0;
constexpr double AUX_SHIFT = 1.301;
constexpr double AUX_SPAN = 4.845068044350276;

// rootsim's tissue colours with the root cap layers in yellows.
constexpr TissueColours kTissueIndex = WithCapColours(kTissueColours, 215, 225, 235, 245);

struct Kind {
    int kind;
    const char* format;
    bool zonationOverride;  // cell points take the index of their zonation state
};
const Kind kKinds[] = {
    {0, "%s/Tissue_%.8d.png", false},
    {1, "%s/Aux_%.8d.png", false},
    {2, "%s/PINmem_%.8d.png", false},
    {3, "%s/Aux1mem_%.8d.png", false},
    {4, "%s/PltsExpression_%.8d.png", false},
    {5, "%s/Plts_%.8d.png", false},
    {6, "%s/Yuc3_%.8d.png", false},
    {7, "%s/Gh33_%.8d.png", false},
    {8, "%s/Diff_%.8d.png", false},
    {15, "%s/Zonation_%.8d.png", true},
};

const Kind* KindOf(int kind) {
    for (const Kind& k : kKinds)
        if (k.kind == kind) return &k;
    return nullptr;
}

}  // namespace

std::vector<std::string> PictureNameFormats() {
    std::vector<std::string> formats;
    for (const Kind& k : kKinds) formats.push_back(k.format);
    return formats;
}

namespace {

// The distance map and the tissue it was built for.
bool mapBuilt = false;
unsigned long long mapTissue = 0;
long mapBuilds = 0;

// Fingerprint of what the distance map depends on: point classes and cells.
unsigned long long TissueFingerprint() {
    unsigned long long h = Fnv1a64(Tc[0], sizeof(int) * static_cast<size_t>(NCOLS) * NROWS);
    return Fnv1a64(Cell[0], sizeof(int) * static_cast<size_t>(NCOLS) * NROWS, h);
}

void EnsureDistanceMap() {
    const unsigned long long now = TissueFingerprint();
    if (mapBuilt && now == mapTissue) return;
    BuildDistanceMap(kBand);
    mapBuilt = true;
    mapTissue = now;
    mapBuilds++;
}

// Draws kind k's own rule into RGBdata, with the zonation override on the
// cell points when the kind takes it.
void Render(const Kind& k) {
    switch (k.kind) {
        case 1:
            Scan([](int i, int j, int& ci) {
                ci = Tc[i][j] == TC_OUTSIDE ? OUTSIDE_INDEX : CAuxIndex(Caux1[i][j]);
                PutIndex(i, j, ci);
            });
            return;
        case 2:
            ScanMembrane(kBand.band, [](int i, int j) { return Cpin1M[i][j]; }, MembraneLinearIndex);
            return;
        case 3:
            ScanMembrane(kBand.band, [](int i, int j) { return Aux1M[i][j]; },
                         [](double v) { return Aux1LinearIndex(v, AUX1_SCALE); });
            return;
        case 4: ScanCellLinear([](int c) { return Pltsexpr[c]; }, PLTS_EXPRESSION_SCALE); return;
        case 5: ScanCellLinear([](int c) { return Plts[c]; }, 300); return;
        case 6: ScanCellLinear([](int c) { return Yuc3[c]; }, 100); return;
        case 7: ScanCellLinear([](int c) { return Gh33[c]; }, 100); return;
        case 8: ScanCellLinear([](int c) { return Diff[c]; }, 100); return;
        default: break;
    }
    // Tissue colours (kind 0, and the base of the zonation picture).
    const bool zonation = k.zonationOverride;
    Scan([zonation](int i, int j, int& ci) {
        ci = TissueColourIndex(kTissueIndex, i, j, ci);
        const int c = PictureCellAt(i, j);
        if (zonation && c >= 0) ci = ZonationIndex(CellZonationState[c], ci);
        PutIndex(i, j, ci);
    });
}

}  // namespace


int CAuxIndex(double a) {
    if (!(a >= AUX_LOW)) a = AUX_LOW;  // also a value that is not a number
    else if (a > AUX_HIGH) a = AUX_HIGH;
    const int k = static_cast<int>((log10(a) + AUX_SHIFT) / AUX_SPAN * 219 + 35);
    return k > TOP_INDEX ? TOP_INDEX : k;
}

int ZonationIndex(int state, int index) {
    switch (state) {
        case Z_TIP: return 190;
        case 10: return 254;
        case Z_DIVIDING: return 150;
        case Z_ELONGATING: return 75;
        case Z_DIFFERENTIATED: return 15;
        default: return index;
    }
}

long DistanceMapBuilds() { return mapBuilds; }

void MakePNGFile(int time, int kind) {
    const Kind* k = KindOf(kind);
    if (k == nullptr) {
        fprintf(stderr, "%s: picture kind %d is not drawn\n", ProgramName(), kind);
        return;
    }
    if (kind == 2 || kind == 3) EnsureDistanceMap();
    Render(*k);
    const std::string name = FormatString(k->format, dirname, time);
    WritePng(name.c_str());
}
