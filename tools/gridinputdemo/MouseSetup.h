// The input demo's mouse set-up: click sorting with its undo step, sizable
// and movable headers with the size hint and the move feedback, hovered
// header cells and hover row, check-box clicks without the editor, anchors.
// The demo's main calls SetUpGridInputMouse once its grid is filled (a weak
// default there does nothing until this file is built with it).
#pragma once

class TForm;
class TVodStringGrid;

void SetUpGridInputMouse(TForm* Form, TVodStringGrid* Grid);
