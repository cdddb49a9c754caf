// The grouping part of the string grid demo's outline page: a grouped table
// with summary rows (one group contracted), a stretched last column and
// proportional scroll bars.
#pragma once

class TForm;
class TVodStringGrid;

// Fills Grid with a table of downloads, groups it by kind with a summary row
// after each group (the sizes of the group added up) and contracts the
// second group; the last column fills the client width and the vertical
// scroll bar is proportional. The grid should already have its parent and
// bounds.
void FillGroupedDownloads(TVodStringGrid* Grid);
// The outline page's part: a second grid under the page's description,
// filled as above (the page's own grid keeps its nodes and check boxes).
void SetUpOutlineGrouping(TForm* Page, TVodStringGrid* Grid);
