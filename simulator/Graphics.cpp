// Field rendering to PNG and the picture set.
#include "rootsim.h"

void MakePNGFile(int, int) {}
void MakeGraphics(int) {}
double min(double a, double b) { return a < b ? a : b; }
double max(double a, double b) { return a > b ? a : b; }
