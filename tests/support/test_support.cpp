#include "test_support.h"
#include "tissue_watch.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>

namespace testsupport {

StateGuard::StateGuard() { MakeArrays(); }

void ClearToOutside() {
    TissueChanged();
    for (int i = 0; i < NCOLS; i++) {
        for (int j = 0; j < NROWS; j++) {
            Tc[i][j] = TC_OUTSIDE;
            Tct[i][j] = 0;
            Tmt[i][j] = 0;
            Cell[i][j] = -1;
        }
    }
}
StateGuard::~StateGuard() { FreeArrays(); }

void TempDir::UseAsOutput() const { snprintf(dirname, sizeof dirname, "%s", path().c_str()); }

SmallDisk::SmallDisk(size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_ && umount(dir_.path().c_str()) != 0) fprintf(stderr, "could not unmount %s\n", dir_.path().c_str());
}

void SmallDisk::Fill() {
    FILE* f = fopen((dir_.path() + "/.filler").c_str(), "a");
    if (f == nullptr) return;
    setvbuf(f, nullptr, _IONBF, 0);
    static const char block[4096] = {};
    while (fwrite(block, 1, sizeof block, f) == sizeof block) {
    }
    // The rest of a last, partly taken block.
    while (fwrite(block, 1, 1, f) == 1) {
    }
    fclose(f);
}

void SmallDisk::Drain() { unlink((dir_.path() + "/.filler").c_str()); }

bool HaveDevFull() {
    FILE* f = fopen("/dev/full", "w");
    if (f == nullptr) return false;
    setvbuf(f, nullptr, _IONBF, 0);
    bool full = fputc('x', f) == EOF && errno == ENOSPC;
    fclose(f);
    return full;
}

}  // namespace testsupport
