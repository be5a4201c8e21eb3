// Files, folders and commands for the test programs of every grid.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// A fresh, empty temporary directory, removed with its contents on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

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
