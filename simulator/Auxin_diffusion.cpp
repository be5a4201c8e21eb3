// Implicit (ADI) auxin transport step.
#include "rootsim.h"

void UpdateAuxin(int) {}
void dsolvetridiag(int) {}
