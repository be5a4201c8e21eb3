#include "c_support.h"

#include <cstdio>

namespace ctest {

void TempDir::UseAsOutput() const { snprintf(dirname, sizeof dirname, "%s", path().c_str()); }

}  // namespace ctest
