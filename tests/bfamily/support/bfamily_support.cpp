#include "bfamily_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>


namespace btest {

ProgramGuard::ProgramGuard(const bfamily::Rules& rules) {
    bfamily::Install(rules);
    ResetGrowthSchedule();
    ResetCellTracking();
    counter2 = 0;
    MakeArrays();
    maxmzheight = rules.meristemTopRow;
}

ProgramGuard::~ProgramGuard() {
    FreeArrays();
    bfamily::Install(bfamily::B2Rules());
}

void TempDir::UseAsOutput() const { snprintf(dirname, sizeof dirname, "%s", path().c_str()); }

namespace {

// A quick 64-bit checksum: four interleaved chains over whole words (the
// tail bytes one by one), combined at the end.
unsigned long long Mix(const void* data, size_t bytes, unsigned long long h) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    unsigned long long lane[4] = {h, h ^ 1, h ^ 2, h ^ 3};
    size_t k = 0;
    for (; k + 32 <= bytes; k += 32) {
        for (int l = 0; l < 4; l++) {
            unsigned long long w;
            memcpy(&w, p + k + 8 * l, 8);
            lane[l] = (lane[l] ^ w) * 0x100000001b3ULL;
            lane[l] ^= lane[l] >> 29;
        }
    }
    h = lane[0];
    for (int l = 1; l < 4; l++) h = (h ^ lane[l]) * 0x100000001b3ULL;
    for (; k < bytes; k++) h = (h ^ p[k]) * 0x100000001b3ULL;
    return h;
}

}  // namespace

unsigned long long StateChecksum() {
    unsigned long long h = 1469598103934665603ULL;
    auto grid = [&](auto** f) { h = Mix(f[0], sizeof(f[0][0]) * static_cast<size_t>(NCOLS) * NROWS, h); };
    grid(Tc);
    grid(Tct);
    grid(Tmt);
    grid(Cell);
    grid(Caux1);
    grid(paux);
    grid(daux);
    grid(PinPrePat);
    grid(Pin2PrePat);
    grid(Aux1PrePat);
    grid(Lax3PrePat);
    grid(Cpin1M);
    grid(Cpin2M);
    grid(Aux1M);
    grid(DiffAuxC);
    grid(Eff);
    grid(Inf);
#define BTEST_CARRIED(n, o) h = Mix(n, sizeof(n[0]) * MAXCELLS, h);
#define BTEST_PLAIN(n) h = Mix(n, sizeof(n[0]) * MAXCELLS, h);
    ROOTSIM_CELL_INT_CARRIED(BTEST_CARRIED)
    ROOTSIM_CELL_DOUBLE_CARRIED(BTEST_CARRIED)
    ROOTSIM_CELL_FLAG_CARRIED(BTEST_CARRIED)
    ROOTSIM_CELL_INT_PLAIN(BTEST_PLAIN)
#undef BTEST_CARRIED
#undef BTEST_PLAIN
    for (int v : {actcells, maxmzheight, leftsize, rightsize, totalrootcellnrL, totalrootcellnrR, idcounter, memid})
        h = Mix(&v, sizeof v, h);
    return h;
}

int LineCount(const std::string& path) {
    const std::string text = ReadFile(path);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int CellWithCorner(int minI, int minJ) {
    for (int x = 0; x < actcells; x++)
        if (CellMinI[x] == minI && CellMinJ[x] == minJ) return x;
    return -1;
}

}  // namespace btest
