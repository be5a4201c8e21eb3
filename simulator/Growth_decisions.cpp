// Growth decisions: zonation, growth timing, division.
#include "rootsim.h"

void Growth(int) {}
int growtiming(int, int, int) { return 0; }
void maxmzsize() {}
int epidermalcell(int) { return -1; }
