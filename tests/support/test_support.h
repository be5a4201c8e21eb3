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

// A small file system for disk-full cases: a tmpfs of the given size mounted
// on a fresh directory, where the machine allows it (mounting needs root and
// a system that permits it; CI runners usually do not).  Unmounted and
// removed on destruction.
class SmallDisk {
public:
    explicit SmallDisk(size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& path() const { return dir_.path(); }
    // Takes every free block with a filler file; Drain gives them back.
    void Fill();
    void Drain();

private:
    TempDir dir_;
    bool mounted_ = false;
};

// Whether writes to /dev/full fail as on a full disk (the fallback of the
// disk-full cases where no tmpfs can be mounted).
bool HaveDevFull();

}  // namespace testsupport
