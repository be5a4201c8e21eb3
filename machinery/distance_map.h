// The membrane pictures' distance map: for every cytoplasm point, the
// distance to the nearest membrane point of its own cell (doubled in narrow
// or short cells) and that point.  Only the band next to the membranes is
// drawn from it, so distances are exact within the band and NO_POINT beyond.
#pragma once

#include "picture.h"

constexpr double NO_POINT = 10000.0;   // distance of "no membrane point found"
constexpr int MEMBRANE_WALL_INDEX = 1; // walls in the membrane pictures

struct MembraneBand {
    int searchHalf;   // half size of the box searched for a membrane point
    double band;      // cytoplasm within this distance shows the membrane
    int narrowWidth;  // cells at most this wide have their distances doubled
    int shortHeight;  // ... and cells at most this high
};

// Builds the map for the current geometry; cytoplasm points whose cell has
// no membrane point in the search box are reported ("no membrane point
// found", with the point, its type and its cell's size).
void BuildDistanceMap(const MembraneBand& band);
// Repeats that report as a fresh build of the same map would print it.
void ReplayMissingReport();
double DistanceMapValue(int i, int j);
void DistanceMapNearest(int i, int j, int* ni, int* nj);

// Membrane field: membrane points with their own value, cytoplasm in the band
// with the value of its nearest membrane point, farther cytoplasm black.
template <typename Value, typename IndexOf>
void ScanMembrane(double band, Value value, IndexOf indexOf) {
    Scan([&](int i, int j, int& ci) {
        int t = Tc[i][j];
        if (t == TC_WALL) {
            ci = MEMBRANE_WALL_INDEX;
        } else if (t == TC_OUTSIDE) {
            ci = OUTSIDE_INDEX;
        } else if (t == TC_CYTO) {
            if (DistanceMapValue(i, j) <= band) {
                int ni, nj;
                DistanceMapNearest(i, j, &ni, &nj);
                ci = indexOf(value(ni, nj));
            } else {
                ci = 0;
            }
        } else {
            ci = indexOf(value(i, j));
        }
        PutIndex(i, j, ci);
    });
}
