// Helpers of the b family's tests: state and output directory for one test,
// a checksum of the whole simulation state, files.
#pragma once

#include <string>
#include <vector>

#include "bfamily.h"

namespace btest {

// Installs a program's table and allocates the state for one test; releases
// the state and installs b2's table again afterwards.
struct ProgramGuard {
    explicit ProgramGuard(const bfamily::Rules& rules);
    ~ProgramGuard();
    ProgramGuard(const ProgramGuard&) = delete;
    ProgramGuard& operator=(const ProgramGuard&) = delete;
};

// A fresh, empty temporary directory, removed with its contents on
// destruction; UseAsOutput points the simulator's output directory at it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    void UseAsOutput() const;

private:
    std::string path_;
};

// Checksum of every grid field, every cell table (in use or not) and the
// run-wide scalars: two states with equal sums are equal for all practical
// purposes.
unsigned long long StateChecksum();

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);  // sorted names
int LineCount(const std::string& path);

// The cell whose bounding box starts at (minI, minJ), or -1.
int CellWithCorner(int minI, int minJ);

}  // namespace btest
