#include "files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

ScratchDir::ScratchDir() {
    const char* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/rootsim_test_XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
}

ScratchDir::~ScratchDir() {
    std::string cmd = "rm -rf " + ShellQuote(path_);
    if (system(cmd.c_str()) != 0) fprintf(stderr, "could not remove %s\n", path_.c_str());
}

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char ch : s) {
        if (ch == '\'') q += "'\\''";
        else q += ch;
    }
    return q + "'";
}

CommandResult RunCommand(const std::string& cmdline) {
    char outName[] = "/tmp/rootsim_cmd_out_XXXXXX";
    char errName[] = "/tmp/rootsim_cmd_err_XXXXXX";
    int fo = mkstemp(outName);
    int fe = mkstemp(errName);
    if (fo < 0 || fe < 0) throw std::runtime_error("mkstemp failed");
    close(fo);
    close(fe);
    std::string full = cmdline + " >" + outName + " 2>" + errName + " </dev/null";
    int st = system(full.c_str());
    CommandResult r;
    r.status = (st != -1 && WIFEXITED(st)) ? WEXITSTATUS(st) : -1;
    r.out = ReadFile(outName);
    r.err = ReadFile(errName);
    unlink(outName);
    unlink(errName);
    return r;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDir(const std::string& path) {
    std::vector<std::string> names;
    DIR* d = opendir(path.c_str());
    if (!d) return names;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport
