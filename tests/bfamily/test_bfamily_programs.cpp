// The four programs as delivered: their command line and a short run each.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bfamily_support.h"

using btest::TempDir;
using testsupport::RunCommand;

namespace {

struct Program {
    const char* name;
    const char* path;
};
const Program kPrograms[] = {
    {"rootsim_b1", ROOTSIM_B1_BIN},
    {"rootsim_b2", ROOTSIM_B2_BIN},
    {"rootsim_b3", ROOTSIM_B3_BIN},
    {"rootsim_b4", ROOTSIM_B4_BIN},
};

}  // namespace

TEST(Programs, RefuseAMissingArgumentOrDirectoryAtOnce) {
    TempDir scratch;
    for (const Program& p : kPrograms) {
        testsupport::CommandResult none = RunCommand(std::string(p.path));
        EXPECT_EQ(none.status, 1) << p.name;
        EXPECT_EQ(none.out, "usage: rootsim dirname\n") << p.name;

        testsupport::CommandResult missing = RunCommand(std::string(p.path) + " " + scratch.path() + "/nowhere");
        EXPECT_EQ(missing.status, 1) << p.name;
        EXPECT_EQ(missing.out, "") << p.name;
        EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << p.name << ": " << missing.err;
        EXPECT_NE(missing.err.find(p.name), std::string::npos) << p.name << ": " << missing.err;

        testsupport::CommandResult help = RunCommand(std::string(p.path) + " --help");
        EXPECT_EQ(help.status, 0) << p.name;
        EXPECT_NE(help.err.find("--steps N"), std::string::npos) << p.name;
        EXPECT_NE(help.err.find("--threads N"), std::string::npos) << p.name;

        testsupport::CommandResult bad = RunCommand(std::string(p.path) + " --threads 0 " + scratch.path());
        EXPECT_EQ(bad.status, 1) << p.name;
    }
}

TEST(Programs, ShortRunsWriteTheFirstPicturesTotalsAndNoDiagnostic) {
    for (const Program& p : kPrograms) {
        TempDir out;
        testsupport::CommandResult r = RunCommand(std::string(p.path) + " --steps 200 --threads 1 " + out.path());
        EXPECT_EQ(r.status, 0) << p.name << ": " << r.err;
        EXPECT_EQ(r.out, "") << p.name << ": the simulator printed a diagnostic";
        EXPECT_NE(r.err.find("step 200/200"), std::string::npos) << p.name << ": " << r.err;
        EXPECT_EQ(btest::LineCount(out.path() + "/Totalauxin"), 2) << p.name;
        // Growth runs from the first tenth step: the shedding log exists.
        EXPECT_TRUE(btest::FileExists(out.path() + "/Lateralrootcapculling")) << p.name;
        const bool b3 = std::string(p.name) == "rootsim_b3";
        EXPECT_EQ(btest::FileExists(out.path() + "/ABCD_00000000.png"), b3) << p.name;
        EXPECT_EQ(btest::FileExists(out.path() + "/ARF_00000000.png"), false) << p.name;
        for (const char* stem : {"Aux", "SatAux", "PINmem", "Aux1mem", "CellZonation", "OscilationZone",
                                 "TimeOfPrevGrowth", "Membrane", "Priming"})
            EXPECT_TRUE(btest::FileExists(out.path() + "/" + stem + "_00000000.png")) << p.name << " " << stem;
        EXPECT_EQ(btest::ListDir(out.path()).size(), b3 ? 12u : 11u) << p.name;  // with Totalauxin and the log
    }
}
