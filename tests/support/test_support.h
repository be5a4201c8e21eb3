// Helpers shared by the test programs (of every program and grid).
#pragma once

#include <string>
#include <vector>

#include "state.h"

// Provided by every program: allocation and release of its whole state.
void MakeArrays();
void FreeArrays();

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

// A fresh, empty temporary directory, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // Points the simulator's output directory at this folder.
    void UseAsOutput() const;

private:
    std::string path_;
};

// Runs a shell command line, capturing standard output and standard error
// separately.  Returns the exit status (or -1 when it did not exit normally).
struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};
CommandResult RunCommand(const std::string& cmdline);

// Quotes a string for the shell.
std::string ShellQuote(const std::string& s);

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);

}  // namespace testsupport
