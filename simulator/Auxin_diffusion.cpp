// The auxin step of every time step: the implicit transport of the auxin
// field, and once per run the report of a first left-right difference.
#include "rootsim.h"

#include "transport.h"

void dsolvetridiag(int n) { SolveTridiagonal(n); }

void UpdateAuxin(int time) {
    const long key = TransportStep(counter2 == 0);
    if (key < 0) return;
    // The first difference from the mirror image is reported once, with the
    // picture set of that moment.
    PrintAuxinAsymmetry(key);
    MakeGraphics(time);
    counter2++;
}
