// Time series, profiles and space-time tracks.
#include "rootsim.h"

void SaveTotAuxin(int) {}
void SaveTotPlts(int) {}
void Tracktotalmeasures(int) {}
void SaveTemp(int, int, int) {}
void SaveTempQC(int) {}
void SaveGradGridRes(int) {}
void SaveGradCellularRes(int) {}
void ExtraMeasurements(int) {}
void TrackCellTypeSpaceTime(int) {}
void TrackARRsSpaceTime(int) {}
void TrackPltsSpaceTime(int) {}
void TrackAuxSpaceTime(int) {}
