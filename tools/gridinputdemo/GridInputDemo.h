// The grid input demo's window and the hooks through which the keys and
// mouse families add their set-ups, each in a source file of its own in
// this folder. Until one is linked the demo's weak default does nothing.
#pragma once

class TForm;
class TVodStringGrid;

// Columns of the demo's grid.
enum : int {
    kNodeCol = 0, kTextCol = 1, kComboCol = 2, kCheckCol = 3, kDateCol = 4, kMarkupCol = 5, kAmountCol = 6,
    kDemoCols = 7
};

// Called once the grid is filled, before the window shows: key handling
// (navigation settings, key events) and mouse handling (sorting clicks,
// moving and sizing, hover, anchors) of the grid.
void SetUpGridInputKeys(TForm* Form, TVodStringGrid* Grid);
void SetUpGridInputMouse(TForm* Form, TVodStringGrid* Grid);
// Prints a line for the smoke test (flushed).
void DemoSay(const char* Format, ...);
