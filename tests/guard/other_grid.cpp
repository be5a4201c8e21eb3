// Built for a grid of another size than the machinery it is linked with: the
// link must fail.
#include "state.h"

int main() { return Tc == nullptr ? 0 : 1; }
