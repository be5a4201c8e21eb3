// rootsim_b4: the b family with its own division timing.
#include "bfamily.h"

int main(int argc, char** argv) { return RunBFamily(argc, argv, bfamily::B4Rules()); }
