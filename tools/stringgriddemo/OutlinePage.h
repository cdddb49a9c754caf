// The string grid demo's outline page: a grid with a node tree, a check-box
// column (one parent grayed), a radio button column, a radio group cell, an
// expand button and balloons, and a memo that lists their states.
#pragma once

class TForm;
class TVodStringGrid;

// Called by the page once its own cells are set: grouping, a stretched last
// column and proportional scroll bars on the page's grid (or on a grid of
// its own on the page). Its definition lives in a source of its own in this
// folder; until one is there the page's weak default does nothing.
void SetUpOutlineGrouping(TForm* Page, TVodStringGrid* Grid);
