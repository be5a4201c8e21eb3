// Run driver and global state: allocation of every array, the command line,
// start-up, the growth-clock priming and the fixed-step time loop.
#include "rootsim.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "plan.h"
#include "plant_file.h"
#include "profile.h"
#include "profiles.h"
#include "run.h"

// ---------------------------------------------------------------------------
// State

void MakeArrays() {
    AllocateState();
    // The carrier patterns move with the tissue; a point that leaves the
    // tissue loses its PIN patterns.
    SetTissueFields({{&PinPrePat, true}, {&Pin2PrePat, true}, {&Aux1PrePat, false}});
}

void FreeArrays() { ReleaseState(); }

// ---------------------------------------------------------------------------
// Command line

void Start(int argc, char** argv) { StartWithDirectory(argc, argv); }

int IntegerTime(long j) { return static_cast<int>(j * DT); }

const ScheduleCallees kSimulatorCallees = {
    UpdateAuxin,        UpdateGeneExpression,   Growth,           UpdateMembraneProteinsAndFluxes,
    TrackCells,         WritePlantToFile,       SaveTotAuxin,     SaveTotPlts,
    TrackCellTypeSpaceTime, TrackPltsSpaceTime, TrackAuxSpaceTime, Tracktotalmeasures,
    MakeGraphics,       SaveGradGridRes,        SaveTemp,         SaveTempQC,
};

void RunStep(long j, long last, const ScheduleCallees& f) {
    double t = j * DT;
    int g = IntegerTime(j);

    f.UpdateAuxin(g);
    if (j % 10 == 0) {
        f.UpdateGeneExpression(g);
        if (t > 57600.0) f.Growth(g);
        f.UpdateMembraneProteinsAndFluxes(g);
        f.TrackCells(g);
    }
    // The five steps that share a dump time would each write the same file;
    // only the last of them (or the run's last step) writes it.
    if (g > 0 && g % 50000 == 0 && (j == last || IntegerTime(j + 1) != g)) f.WritePlantToFile(g);
    if (j % 100 == 0) {
        f.SaveTotAuxin(g);
        f.SaveTotPlts(g);
    }
    if (j % 3000 == 0) {
        f.TrackCellTypeSpaceTime(g);
        f.TrackPltsSpaceTime(g);
        f.TrackAuxSpaceTime(g);
        f.Tracktotalmeasures(g);
    }
    if (j % 18000 == 0) {
        f.MakeGraphics(g);
        f.SaveGradGridRes(g);
        for (int r : plan::PROBE_ROWS) f.SaveTemp(g, plan::PROBE_COL_A, r);
        for (int r : plan::PROBE_ROWS) f.SaveTemp(g, plan::PROBE_COL_B, r);
        f.SaveTempQC(g);
    }
    if (j == 501) f.MakeGraphics(g);
}

// Gives the cells of the young 8-row bands staggered times of previous growth
// and division counts, walking up column 31 from the meristem base.
void PrimeGrowthClocks() {
    const int probe = plan::PRIMING_COL;
    int d = 0;
    for (int i = plan::MERISTEM_BASE_ROW; i < NROWS; i++) {
        if (Tc[probe][i] == TC_OUTSIDE) break;
        if (Cell[probe][i] >= 0 && CellZonationState[Cell[probe][i]] == 200) break;
        d = d + 1;
        double s = static_cast<double>((5 * d) % 8) - 4.0;
        int e = 57600 + static_cast<int>(s * 18000.0 * 0.25);
        if (Cell[probe][i] >= 0) {
            TimePrevGrowth[Cell[probe][i]] = e;
            if (Cell[MIRRORSUM - probe][i] >= 0) TimePrevGrowth[Cell[MIRRORSUM - probe][i]] = e;
        }
        int prev = -2;
        for (int col = plan::EPIDERMIS_COL; col <= AXIS - 1; col++) {
            int x = Cell[col][i];
            if (Tc[col][i] == TC_WALL || x == prev) {
                prev = x;
                continue;
            }
            prev = x;
            if (x < 0) continue;
            int y = Cell[MIRRORSUM - col][i];
            int divnr;
            if (CellMinJ[x] <= plan::FIRST_BAND_LOW_ROW) {
                divnr = 0;
            } else {
                int zj = CellMinJ[x] - 3;
                int z = zj >= 0 ? Cell[CellMinI[x]][zj] : -1;
                divnr = (z >= 0 && CellMinJ[z] > plan::FIRST_BAND_LOW_ROW) ? 2 : 1;
            }
            TimePrevGrowth[x] = e;
            CellDivNr[x] = divnr;
            if (y >= 0) {
                TimePrevGrowth[y] = e;
                CellDivNr[y] = divnr;
            }
        }
    }
}

void FinishInitialRoot() {
    rightsize = leftsize = plan::BODY_TOP_ROW + 1;
    totalrootcellnrL = totalrootcellnrR = plan::EPIDERMIS_CELLS_PER_HALF;
    Plasmodesmatapatterning();
    maxmzsize();
    PrimeGrowthClocks();
    TrackCells(0);
}

namespace {

void StartUp() {
    counter2 = 0;
    MakeArrays();
    maxmzheight = plan::MERISTEM_TOP_ROW;
    InitPlant();
    MakeGraphics(0);
    FinishInitialRoot();
    printf("actually starting simulation\n");
    fflush(stdout);
}

// The callees of the schedule, each timed in the run's profile.
#define ROOTSIM_TIMED(F)                                        \
    [](int g) {                                                 \
        static const int phase = runProfile->Phase(#F);         \
        Timed(phase, [g] { F(g); });                            \
    }
const ScheduleCallees kProfiledCallees = {
    ROOTSIM_TIMED(UpdateAuxin),
    ROOTSIM_TIMED(UpdateGeneExpression),
    ROOTSIM_TIMED(Growth),
    ROOTSIM_TIMED(UpdateMembraneProteinsAndFluxes),
    ROOTSIM_TIMED(TrackCells),
    ROOTSIM_TIMED(WritePlantToFile),
    ROOTSIM_TIMED(SaveTotAuxin),
    ROOTSIM_TIMED(SaveTotPlts),
    ROOTSIM_TIMED(TrackCellTypeSpaceTime),
    ROOTSIM_TIMED(TrackPltsSpaceTime),
    ROOTSIM_TIMED(TrackAuxSpaceTime),
    ROOTSIM_TIMED(Tracktotalmeasures),
    ROOTSIM_TIMED(MakeGraphics),
    ROOTSIM_TIMED(SaveGradGridRes),
    [](int g, int column, int row) {
        static const int phase = runProfile->Phase("SaveTemp");
        Timed(phase, [=] { SaveTemp(g, column, row); });
    },
    ROOTSIM_TIMED(SaveTempQC),
};
#undef ROOTSIM_TIMED

void Step(long j, long last) { RunStep(j, last, runProfile != nullptr ? kProfiledCallees : kSimulatorCallees); }

// The state of a resumed run comes from its checkpoint.
void MakeState() {
    counter2 = 0;
    MakeArrays();
}

// The last line of a series "t\tleft\tright" at or before time t, if any.
bool LastPairAtOrBefore(const std::string& path, int t, int* left, int* right) {
    FILE* f = fopen(path.c_str(), "r");
    if (f == nullptr) return false;
    bool found = false;
    int time, l, r;
    while (fscanf(f, "%d\t%d\t%d\n", &time, &l, &r) == 3) {
        if (time > t) break;
        *left = l;
        *right = r;
        found = true;
    }
    fclose(f);
    return found;
}

long FromPlantFile(const std::string& path, std::string* why) {
    const int t = PlantFileTimeOf(path, why);
    if (t < 0) return -1;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    MakeState();
    maxmzheight = plan::MERISTEM_TOP_ROW;
    if (!InitPlantFromFileAt(path)) {
        why->clear();
        return -1;
    }
    // The root's length and epidermal cells counted with those that left at
    // the top are not in the file: they are taken from the series of the run
    // that wrote it, when they lie beside it, as they stood at its last line
    // up to the file's time; otherwise they start again from the initial
    // root's.
    rightsize = leftsize = plan::BODY_TOP_ROW + 1;
    totalrootcellnrL = totalrootcellnrR = plan::EPIDERMIS_CELLS_PER_HALF;
    LastPairAtOrBefore(folder + "/Tracktotalrootsize", t, &leftsize, &rightsize);
    LastPairAtOrBefore(folder + "/Tracktotalrootnumber", t, &totalrootcellnrL, &totalrootcellnrR);
    // Cell tracking starts anew with the cells that pass from now on.
    ResetCellTracking();
    TrackCells(t);
    // The file of time t is written after the last of the five steps of t.
    return LastStepOfTime(t);
}

}  // namespace

std::vector<std::string> RootsimOutputNames() {
    std::vector<std::string> names = PictureNameFormats();
    const std::vector<std::string> profiles = rules::ProfileNameFormats();
    names.insert(names.end(), profiles.begin(), profiles.end());
    const char* const others[] = {
        // The time series and tracks (Plotting).
        "%s/Totalauxin", "%s/Totalplts", "%s/Tracktotalrootsize", "%s/Tracktotalrootnumber",
        "%s/TemporalDynamicsPoint%i_%i", "%s/TemporalDynamicsQC%i_%i",
        "%s/TrackAuxCorinSpaceTime", "%s/TrackAuxendoinSpaceTime", "%s/TrackAuxperiinSpaceTime",
        "%s/TrackAuxsidevascinSpaceTime", "%s/TrackAuxmidvascinSpaceTime", "%s/TrackAuxinSpaceTime",
        "%s/TrackARR1sexpinSpaceTime", "%s/TrackARR12sexpinSpaceTime", "%s/TrackARR1seffinSpaceTime",
        "%s/TrackARR1vascexpinSpaceTime", "%s/TrackARR12vascexpinSpaceTime", "%s/TrackARR1vasceffinSpaceTime",
        "%s/TrackPltsinSpaceTime", "%s/TrackPltsexpinSpaceTime", "%s/TrackPltscorinSpaceTime",
        "%s/TrackPltscorexpinSpaceTime", "%s/TrackPltsvascinSpaceTime", "%s/TrackPltsvascexpinSpaceTime",
        "%s/TrackPltsaverageinSpaceTime", "%s/TrackPltsaverageexpinSpaceTime",
        "%s/TrackCellTypeinSpaceTime", "%s/TrackdivTFinSpaceTime", "%s/TrackelongTFinSpaceTime",
        "%s/TrackdivTFvascinSpaceTime", "%s/TrackelongTFvascinSpaceTime",
        // The logs and the dump.
        kTrackCellNameFormat, "%s/Lateralrootcapculling", kPlantFileNameFormat,
    };
    names.insert(names.end(), std::begin(others), std::end(others));
    return names;
}

int RootsimMain(int argc, char** argv) {
    ProgramRun run{"rootsim", NSTEPS_DEFAULT, StartUp, Step, FreeArrays, RootsimOutputNames()};
    run.makeState = MakeState;
    run.fromPlantFile = FromPlantFile;
    return RunProgram(argc, argv, run);
}

#ifndef ROOTSIM_NO_MAIN
int main(int argc, char** argv) { return RootsimMain(argc, argv); }
#endif
