// Helpers of rootsim_c's tests: the state and the output directory of one
// test; files and commands from the helpers every grid shares.
#pragma once

#include "files.h"
#include "rootsim_c.h"

namespace ctest {

// Allocates the state for one test and releases it afterwards.
struct StateGuard {
    StateGuard() { MakeArrays(); }
    ~StateGuard() { FreeArrays(); }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;
};

// A fresh, empty temporary directory that can become the output directory.
class TempDir : public testsupport::ScratchDir {
public:
    void UseAsOutput() const;
};

using testsupport::CommandResult;
using testsupport::FileExists;
using testsupport::ListDir;  // sorted names
using testsupport::ReadFile;
using testsupport::RunCommand;
using testsupport::ShellQuote;

}  // namespace ctest
