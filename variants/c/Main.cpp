// rootsim_c's run driver and global state: allocation, the command line,
// start-up and the schedule of one loop iteration.
//
// Iteration s writes the outputs of step s and then computes step s + 1
// (transport, and on multiples of 10 the gene step, growth and the carrier
// update), so the start-up computes step 1 after the auxin picture of time 0.
#include "rootsim_c.h"

#include <cstdio>
#include <iterator>

#include "plan.h"
#include "plant_file.h"
#include "run.h"

using namespace croot;

// ---------------------------------------------------------------------------
// State

void MakeArrays() {
    AllocateState();
    // The pre-pattern moves with the tissue; a point that leaves the tissue
    // loses its PIN share, not its AUX1 share.
    SetTissueFields({{&PinPrePat, true}, {&Aux1PrePat, false}});
}

void FreeArrays() { ReleaseState(); }

void Start(int argc, char** argv) { StartWithDirectory(argc, argv); }

int IntegerTime(long s) { return static_cast<int>(s * DT); }

// ---------------------------------------------------------------------------
// Schedule

const CScheduleCallees kCCallees = {
    UpdateAuxin,       UpdateGeneExpression, Growth,   UpdateMembraneProteinsAndFluxes,
    WritePlantToFile,  SaveTotAuxin,         SaveGradGridRes, SaveGradCellularRes,
    SaveEpidermalGrad, SaveTemp,             MakePNGFile,
};

void RunStep(long s, long last, const CScheduleCallees& f) {
    const int t = IntegerTime(s);
    // The five steps that share a dump time would each write the same file;
    // only the last of them (or the run's last step) writes it.
    if (t > 0 && t % C_DUMP_PERIOD == 0 && (s == last || IntegerTime(s + 1) != t)) f.WritePlantToFile(t);
    if (s % C_TOTALS_PERIOD == 0) f.SaveTotAuxin(t);
    if (s % C_OUTPUT_PERIOD == 0) {
        f.SaveGradGridRes(t);
        f.SaveGradCellularRes(t);
        f.SaveEpidermalGrad(t);
        f.SaveTemp(t, kSampleLeftCol, kSampleRow);
        f.SaveTemp(t, kSampleRightCol, kSampleRow);
        for (int kind = 0; kind <= 5; kind++) f.MakePNGFile(t, kind);
    }

    const long next = s + 1;
    f.UpdateAuxin();
    if (next % 10 == 0) {
        const int tn = IntegerTime(next);
        f.UpdateGeneExpression(tn);
        f.Growth(tn);
        f.UpdateMembraneProteinsAndFluxes(tn);
    }
}

void StartUp() {
    counter2 = 0;
    MakeArrays();
    maxmzheight = kMeristemTopRow;
    InitPlant();
    rightsize = leftsize = kInitialRootLength;
    totalrootcellnrL = totalrootcellnrR = kInitialEpidermisCells;
    MakePNGFile(0, 1);
    UpdateAuxin();
}

namespace {

void Step(long s, long last) { RunStep(s, last, kCCallees); }

// The state of a resumed run comes from its checkpoint.
void MakeState() {
    counter2 = 0;
    MakeArrays();
}

long FromPlantFile(const std::string& path, std::string* why) {
    const int t = PlantFileTimeOf(path, why);
    if (t < 0) return -1;
    MakeState();
    maxmzheight = kMeristemTopRow;
    if (!InitPlantFromFileAt(path)) {
        why->clear();
        return -1;
    }
    rightsize = leftsize = kInitialRootLength;
    totalrootcellnrL = totalrootcellnrR = kInitialEpidermisCells;
    // The file of time t is written by the loop's iteration of the last step
    // of t, which then computes the next step: the loop goes on with that
    // iteration (writing the file's time once more, from the plant read).
    return LastStepOfTime(t) - 1;
}

std::vector<std::string> OutputNames() {
    std::vector<std::string> names = PictureNameFormats();
    const std::vector<std::string> profiles = ProfileNameFormats();
    names.insert(names.end(), profiles.begin(), profiles.end());
    const char* const others[] = {"%s/Totalauxin", "%s/TemporalDynamicsPoint%i_%i", kPlantFileNameFormat};
    names.insert(names.end(), std::begin(others), std::end(others));
    return names;
}

}  // namespace

int RootsimCMain(int argc, char** argv) {
    ProgramRun run{"rootsim_c", C_STEPS_DEFAULT, StartUp, Step, FreeArrays, OutputNames()};
    run.makeState = MakeState;
    run.fromPlantFile = FromPlantFile;
    return RunProgram(argc, argv, run);
}

#ifndef ROOTSIM_NO_MAIN
int main(int argc, char** argv) { return RootsimCMain(argc, argv); }
#endif
