// Cell-to-cell diffusion of a per-cell quantity through plasmodesmata (see
// the source for the rule).
#pragma once

// The loss near the tip: points of tissue tissueA or tissueB in rows
// 0..lastRow lose the fraction `rate` of the value per call.
struct TipLoss {
    int lastRow;
    int tissueA, tissueB;
    double rate;
};

// One explicit step of the diffusion of values[0..MAXCELLS-1] between cells:
// `vertical` across shootward and rootward membranes, `horizontal` across
// lateral ones, with the plasmodesmata densities of the membrane sides; with
// drainTop the highest cell point of each column relaxes toward topValue.
void DiffuseBetweenCells(double* values, double vertical, double horizontal, bool drainTop,
                         double topValue, const TipLoss& tipLoss);
