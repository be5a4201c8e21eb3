// Helpers of the b family's tests: state and output directory for one test,
// a checksum of the whole simulation state, files.
#pragma once

#include <string>
#include <vector>

#include "bfamily.h"
#include "files.h"

namespace btest {

// Installs a program's table and allocates the state for one test; releases
// the state and installs b2's table again afterwards.
struct ProgramGuard {
    explicit ProgramGuard(const bfamily::Rules& rules);
    ~ProgramGuard();
    ProgramGuard(const ProgramGuard&) = delete;
    ProgramGuard& operator=(const ProgramGuard&) = delete;
};

// A fresh, empty temporary directory that can become the output directory.
class TempDir : public testsupport::ScratchDir {
public:
    void UseAsOutput() const;
};

// Checksum of every grid field, every cell table (in use or not) and the
// run-wide scalars: two states with equal sums are equal for all practical
// purposes.
unsigned long long StateChecksum();

using testsupport::FileExists;
using testsupport::ListDir;  // sorted names
using testsupport::ReadFile;
using testsupport::RunCommand;
int LineCount(const std::string& path);

// The cell whose bounding box starts at (minI, minJ), or -1.
int CellWithCorner(int minI, int minJ);

}  // namespace btest
