// The b family's run driver and state: allocation of every array with the
// family's own grid field, the command line, start-up and the time loop.
//
// Start-up builds the plant, draws the pictures of time 0 and starts the cell
// tracking; there is no start-up message, no plasmodesmata pattern, no search
// for the meristem's top and no staggering of the growth clocks.  Every step
// moves auxin; every tenth step runs the gene network, growth (from the
// first tenth step on), the carrier update and the tracking; the plant is
// dumped every 50000 time units, the total auxin written every 100 steps,
// and every 18000 steps the profiles, the extra measurements, the point
// histories and last the pictures.
#include "bfamily.h"

#include <cstdio>

#include <iterator>

#include "checkpoint.h"
#include "plan.h"
#include "plant_file.h"
#include "profiles.h"
#include "renumbering.h"
#include "run.h"

double** Lax3PrePat = nullptr;

void MakeArrays() {
    AllocateState();
    Lax3PrePat = MakeGridField();
    // The carrier patterns move with the tissue; a point that leaves the
    // tissue loses its PIN patterns.
    SetTissueFields({{&PinPrePat, true}, {&Pin2PrePat, true}, {&Aux1PrePat, false}, {&Lax3PrePat, false}});
    // A checkpoint holds the family's own field too.
    AddCheckpointState("Lax3PrePat", Lax3PrePat[0], sizeof(double) * static_cast<size_t>(NCOLS) * NROWS);
}

void FreeArrays() {
    FreeGridField(Lax3PrePat);
    ReleaseState();
}

void Start(int argc, char** argv) { StartWithDirectory(argc, argv); }

int IntegerTime(long j) { return static_cast<int>(j * DT); }

namespace {

// Epidermal cells of the left half above the base wall, counted up the
// epidermal file.
int EpidermalCellsAboveBase() {
    int n = 0, last = -1;
    for (int j = bplan::MERISTEM_BASE_ROW; j < NROWS; j++) {
        const int x = Cell[bplan::EPIDERMIS_FIRST_COL][j];
        if (x >= 0 && x != last) n++;
        if (x >= 0) last = x;
    }
    return n;
}

}  // namespace

void StartUpBFamily() {
    const bfamily::Rules& rules = bfamily::Installed();
    counter2 = 0;
    MakeArrays();
    maxmzheight = rules.meristemTopRow;
    InitPlant();
    rules.MakeGraphics(0);
    // The root's length and epidermal cells per half, which culling at the
    // top adds to.
    rightsize = leftsize = rules.bodyTopRow + 1;
    totalrootcellnrL = totalrootcellnrR = EpidermalCellsAboveBase();
    TrackCells(0);
}

BScheduleCallees ScheduleOf(const bfamily::Rules& rules) {
    return {UpdateAuxin,        rules.UpdateGeneExpression, rules.Growth,       rules.UpdateMembraneProteinsAndFluxes,
            TrackCells,         WritePlantToFile,           SaveTotAuxin,       rules.SaveGradGridRes,
            ExtraMeasurements,  SaveTemp,                   rules.MakeGraphics, rules.firstSampleRow};
}

void RunBStep(long j, long last, const BScheduleCallees& f) {
    const int g = IntegerTime(j);

    f.UpdateAuxin();
    if (j % 10 == 0) {
        f.UpdateGeneExpression(g);
        f.Growth(g);
        f.UpdateMembraneProteinsAndFluxes(g);
        f.TrackCells(g);
    }
    // The five steps that share a dump time would each write the same file;
    // only the last of them (or the run's last step) writes it.
    if (g > 0 && g % 50000 == 0 && (j == last || IntegerTime(j + 1) != g)) f.WritePlantToFile(g);
    if (j % 100 == 0) f.SaveTotAuxin(g);
    if (j % 18000 == 0) {
        f.SaveGradGridRes(g);
        f.ExtraMeasurements(g);
        // The point histories of the outer vascular file, then of the
        // pericycle: the first sampling row, fifteen rows ten apart from
        // 147, and two rows of the body cells.
        for (int column : {bplan::SAMPLE_COL_VASC, bplan::SAMPLE_COL_PERICYCLE}) {
            f.SaveTemp(g, column, f.firstSampleRow);
            for (int k = 0; k < bplan::SAMPLE_BAND_COUNT; k++)
                f.SaveTemp(g, column, bplan::SAMPLE_BAND_FIRST_ROW + k * bplan::SAMPLE_BAND_STEP);
            f.SaveTemp(g, column, bplan::SAMPLE_BODY_ROW_1);
            f.SaveTemp(g, column, bplan::SAMPLE_BODY_ROW_2);
        }
        f.MakeGraphics(g);
    }
}

namespace {

void Step(long j, long last) { RunBStep(j, last, ScheduleOf(bfamily::Installed())); }

// The state of a resumed run comes from its checkpoint.
void MakeState() {
    counter2 = 0;
    MakeArrays();
}

long FromPlantFile(const std::string& path, std::string* why) {
    const int t = PlantFileTimeOf(path, why);
    if (t < 0) return -1;
    const bfamily::Rules& rules = bfamily::Installed();
    MakeState();
    maxmzheight = rules.meristemTopRow;
    if (!InitPlantFromFileAt(path)) {
        why->clear();
        return -1;
    }
    // The root's length and epidermal cells counted with those culled at the
    // top are not in the file (and the family writes no series of them):
    // they start again from the plant read.
    rightsize = leftsize = rules.bodyTopRow + 1;
    totalrootcellnrL = totalrootcellnrR = EpidermalCellsAboveBase();
    ResetCellTracking();
    TrackCells(t);
    return LastStepOfTime(t);
}

std::vector<std::string> OutputNames() {
    std::vector<std::string> names = PictureNameFormats();
    const std::vector<std::string> profiles = rules::ProfileNameFormats();
    names.insert(names.end(), profiles.begin(), profiles.end());
    const char* const others[] = {"%s/Totalauxin", "%s/TemporalDynamicsPoint%i_%i", kTrackCellNameFormat,
                                  "%s/Lateralrootcapculling", kPlantFileNameFormat};
    names.insert(names.end(), std::begin(others), std::end(others));
    return names;
}

}  // namespace

int RunBFamily(int argc, char** argv, const bfamily::Rules& rules) {
    bfamily::Install(rules);
    ProgramRun run{rules.name, BFAMILY_STEPS, StartUpBFamily, Step, FreeArrays, OutputNames()};
    run.makeState = MakeState;
    run.fromPlantFile = FromPlantFile;
    return RunProgram(argc, argv, run);
}
