#include "test_support.h"

#include <cstdio>

namespace testsupport {

StateGuard::StateGuard() { MakeArrays(); }

void ClearToOutside() {
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

}  // namespace testsupport
