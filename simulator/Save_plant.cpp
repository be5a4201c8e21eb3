// Plant state dump and its reader.
#include "rootsim.h"

void WritePlantToFile(int) {}
void InitPlantFromFile(int) {}
