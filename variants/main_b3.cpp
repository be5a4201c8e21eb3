// rootsim_b3: the b family with its own layout, membrane sides, initial
// state, gene network, carrier update, growth, division, culling, profiles
// and pictures.
#include "bfamily.h"

int main(int argc, char** argv) { return RunBFamily(argc, argv, bfamily::B3Rules()); }
