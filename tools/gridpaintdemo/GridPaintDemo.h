// The grid painting demo's shared frame: one window with the main grid
// (fixed row and column, looks, glyphs, cell kinds) and a second grid (colour
// tones, thin scroll bars). Each family that paints something of the grid
// adds it in a source file of its own in this folder, registering a set-up
// step with a static object:
//
//   static const bool kRegistered = RegisterGridPaintDemoSetup(20, [](TGridPaintDemo& D) { ... });
//
// main runs the steps in ascending order after the frame's own cells are in
// place, then shows the window. A step may add named pixel checks for the
// smoke test with D.Point(...).
#pragma once

#include <functional>

#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"

struct TGridPaintDemo {
    TForm* Form = nullptr;
    TVodStringGrid* Grid = nullptr;      // the main grid
    TVodStringGrid* ToneGrid = nullptr;  // the second grid
    // A pixel the smoke test checks: cell (display column, row) of a grid,
    // (dx, dy) inside the cell, expected colour.
    std::function<void(const char* Name, TVodStringGrid* G, Integer Col, Integer Row, int dx, int dy, TColor C)>
        Point;
};

using TGridPaintDemoSetup = std::function<void(TGridPaintDemo&)>;

// Order: 0..9 the frame's own looks, 10..19 cell text and graphics, 20..29
// styles and companion windows.
bool RegisterGridPaintDemoSetup(int Order, TGridPaintDemoSetup Step);
