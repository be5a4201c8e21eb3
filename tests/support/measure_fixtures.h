// Hand-made plant states for the measurement and plant-file tests.
#pragma once

#include <string>
#include <vector>

namespace measurefix {

// Every point outside the root, no cells.
void ClearToOutside();

// A rectangular cell over columns i0..i1 and rows j0..j1: its border points
// are membrane, the rest cytoplasm, all of tissue type `tissue` and number
// `id`.  The ring of points around it becomes wall where it was outside.
// Sets the cell's bounding box and size tables and raises actcells to id + 1
// when needed.
void AddCell(int id, int tissue, int i0, int i1, int j0, int j1);

// Points (i0..i1, j0..j1) become wall points.
void AddWall(int i0, int i1, int j0, int j1);

// The lines of a text, each without its newline; a text that does not end in
// a newline gives its last partial line as well.
std::vector<std::string> Lines(const std::string& text);

// The tab-separated fields of a line.
std::vector<std::string> Fields(const std::string& line);

}  // namespace measurefix
