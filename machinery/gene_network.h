// The gene network of every cell, shared by the programs: auxin drives ARF,
// ARF a four-stage delay chain, its last stage (repressed by ARR12) the
// PLETHORA-type factors, which drive auxin synthesis, repress conjugation and
// drive division; auxin and PLETHORA control the cytokinin response
// regulators, which damp PIN production, drive conjugation in the outer
// tissues and favour elongation.  A program gives the rows its root puts
// these rules at.
#pragma once

// Rows of a root that the network reads.
struct GeneNetworkPlan {
    int capRampMinRow;    // lateral root cap cells starting at or above this row ...
    int capRampStartRow;  // ... have an ARF target falling from 100 at this row
    int capRampRows;      // to 30 over this many rows, and 30 above
    int gh317MinRow;      // Gh317 is made only in outer cells starting above this row
};

// PLETHORA moves between cells at this rate after every gene step.
constexpr double GENE_PLTS_DIFFUSION = 1.068e-4;

// Normalised Hill functions of exponent 2 (positive and negative) and 4; M is
// the point they are normalised to, 0 for none.
double PositiveSigmoid(double x, double K, double M);
double NegativeSigmoid(double x, double K, double M);
double Positive4Sigmoid(double x, double K, double M);

// The PLETHORA increment of a cell over dt for the given drive; sets the
// cell's Pltsexpr (0 in a mature cell, which only loses PLETHORA).
double PltsIncrement(int cell, double drive, double dt);
// The increments of ARR1 and ARR12 of a cell over dt at the given time; ARR1
// is switched on gradually between times 388800 and 432000.
void ARRIncrements(int time, int cell, double dt, double* dARR1, double* dARR12);

// One gene step (gene time 2) of cells 0..actcells-1: every increment of a
// cell from its values before the step.  The caller then lets PLETHORA
// diffuse between cells.
void GeneNetworkStep(int time, const GeneNetworkPlan& plan);
