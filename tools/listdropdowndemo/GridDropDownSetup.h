// The grid drop-down of the list drop-down demo: sites in three columns,
// sorted by a column with sort glyphs, a search footer under the list. (A
// source of its own: the grid's header and the platform's common controls
// both name a search direction.)
#pragma once

#include "controls/dropdown/VodDropDown.h"

// A grid drop-down, filled and configured, owned by Owner.
TVodCustomDropDown* CreateGridDropDown(TComponent* Owner);
// "text #ItemIndex".
String GridDropDownValue(TVodCustomDropDown* d);
// Prints "HEADER grid x y" (the screen centre of the second column's
// header cell) and "ROWS grid x y height" (the first data row's centre and
// the row height) once the list shows.
void PrintGridDropDownPoints(TVodCustomDropDown* d);
