// The global state's lifetime and the command line of the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "rootsim.h"
#include "test_support.h"

using testsupport::FileExists;
using testsupport::RunCommand;
using testsupport::ShellQuote;
using testsupport::StateGuard;
using testsupport::TempDir;

TEST(State, AllocationFillsZeroAndUnitPlasmodesmata) {
    StateGuard guard;
    for (int k = 0; k < MAXCELLS; k++) {
        for (int s = 0; s < 4; s++) ASSERT_EQ(Plasmodesmatapattern[k][s], 1.0);
        ASSERT_EQ(MeanCells[k], 0.0);
        ASSERT_EQ(OldTimePrevGrowth[k], 0);
        ASSERT_EQ(ARRpassed[k], 0);
        ASSERT_EQ(InvCellSizes[k], 0.0);
        ASSERT_EQ(TempOlddivTF[k], 0.0);
    }
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            ASSERT_EQ(Caux1[i][j], 0.0);
            ASSERT_EQ(Tc[i][j], 0);
            for (int k = 0; k < 4; k++) ASSERT_EQ(Inf[i][j][k], 0.0);
        }
    }
    EXPECT_EQ(actcells, 0);
}

TEST(State, GridIsColumnMajorAndContiguous) {
    StateGuard guard;
    // Column 30, row 1000 is the 1001st value of the 31st column.
    Caux1[30][1000] = 7.5;
    EXPECT_EQ(Caux1[0][30 * NROWS + 1000], 7.5);
    EXPECT_EQ(&Caux1[31][0], &Caux1[30][NROWS - 1] + 1);
    EXPECT_EQ(&DiffAuxC[1][0], &DiffAuxC[0][NROWS - 1] + 1);
}

TEST(State, FreeAfterMakeWithoutSteps) {
    MakeArrays();
    FreeArrays();
    EXPECT_EQ(Caux1, nullptr);
    EXPECT_EQ(Plasmodesmatapattern, nullptr);
    // A second lifetime works as the first.
    MakeArrays();
    EXPECT_EQ(Plasmodesmatapattern[3999][3], 1.0);
    FreeArrays();
}

TEST(CommandLine, UsageWithoutArgument) {
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "usage: rootsim dirname\n");
}

TEST(CommandLine, HelpExitsZero) {
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("--steps"), std::string::npos);
    EXPECT_EQ(r.out, "");
}

TEST(CommandLine, RefusesMissingDirectory) {
    TempDir tmp;
    std::string missing = tmp.path() + "/not_there";
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " --steps 1 " + ShellQuote(missing));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(missing), std::string::npos);
    EXPECT_EQ(r.out, "");
}

TEST(CommandLine, RefusesFileAndUnwritableDirectory) {
    TempDir tmp;
    std::string file = tmp.path() + "/plain";
    ASSERT_EQ(system(("touch " + ShellQuote(file)).c_str()), 0);
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " " + ShellQuote(file));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a directory"), std::string::npos) << r.err;

    // Root may write anywhere; test write refusal only when it applies.
    if (geteuid() != 0) {
        std::string ro = tmp.path() + "/ro";
        ASSERT_EQ(system(("mkdir " + ShellQuote(ro) + " && chmod 555 " + ShellQuote(ro)).c_str()), 0);
        r = RunCommand(ShellQuote(ROOTSIM_BIN) + " " + ShellQuote(ro));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("not writable"), std::string::npos) << r.err;
    }
}

TEST(CommandLine, RefusesOverlongDirectoryName) {
    std::string longname(10000, 'x');
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " " + longname);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("too long"), std::string::npos) << r.err;
}

TEST(CommandLine, RejectsBadStepCount) {
    TempDir tmp;
    for (const char* bad : {"abc", "-5", "12x", "99999999999"}) {
        auto t = RunCommand(ShellQuote(ROOTSIM_BIN) + " --threads " + bad + " " + ShellQuote(tmp.path()));
        EXPECT_EQ(t.status, 1) << bad;
        EXPECT_NE(t.err.find("--threads"), std::string::npos) << bad;
        auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " --steps " + bad + " " + ShellQuote(tmp.path()));
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_NE(r.err.find("--steps"), std::string::npos) << bad;
    }
}

TEST(CommandLine, ShortRunCompletes) {
    TempDir tmp;
    auto r = RunCommand(ShellQuote(ROOTSIM_BIN) + " --steps 100 --profile " + ShellQuote(tmp.path()));
    EXPECT_EQ(r.status, 0) << r.err;
    // The profile counts every call of the schedule's callees.
    EXPECT_NE(r.err.find("profile of 100 steps"), std::string::npos) << r.err;
    for (const char* line : {"UpdateAuxin                             100", "UpdateGeneExpression                     10",
                             "UpdateMembraneProteinsAndFluxes          10", "SaveTotAuxin                              1"})
        EXPECT_NE(r.err.find(line), std::string::npos) << line << "\n" << r.err;
    EXPECT_NE(r.out.find("actually starting simulation\n"), std::string::npos);
    // Progress goes to standard error, never to standard output.
    EXPECT_EQ(r.out.find("steps/s"), std::string::npos);
    EXPECT_NE(r.err.find("step 100/100"), std::string::npos) << r.err;
}
