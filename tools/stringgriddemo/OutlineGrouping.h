// The grouping part of the string grid demo's outline page: a grouped table
// with summary rows (one group contracted), a stretched last column and
// proportional scroll bars.
#pragma once

class TVodStringGrid;

// Fills the grid with a table of downloads, groups it by kind with a summary
// row after each group (the sizes of the group added up) and contracts the
// second group; the last column fills the client width and the vertical
// scroll bar is proportional. The grid should already have its parent and
// bounds.
void SetUpOutlineGrouping(TVodStringGrid* Grid);
