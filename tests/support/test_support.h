// Helpers shared by the test programs.
#pragma once

#include <string>
#include <vector>

#include "files.h"
#include "rootsim.h"

namespace testsupport {

// Allocates the state for one test and releases it afterwards.
struct StateGuard {
    StateGuard();
    ~StateGuard();
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;
};

// Makes every grid point outside: no class, tissue, side or cell.
void ClearToOutside();

// A fresh, empty temporary directory, removed with its contents on
// destruction, that can become the simulator's output directory.
class TempDir : public ScratchDir {
public:
    // Points the simulator's output directory at this folder.
    void UseAsOutput() const;
};

}  // namespace testsupport
