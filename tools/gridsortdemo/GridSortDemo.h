// The parts of the sorting and filtering demo's window that live in their
// own source files of this folder.
#pragma once

class TForm;
class TVodStringGrid;

// Puts the label with the calculations of the grid's row selection on the
// form, below the grid (the calculations family fills it in; until then it
// adds nothing).
void SetupCalcLabel(TForm* Form, TVodStringGrid* Grid);
