// The string grid's left button down: the ordered chain of hit tests before
// the platform's press handling, the mouse-down override and radio groups.
#include "controls/grid/VodGrid.h"
#include "platform/ui/WindowManager.h"

TShiftState TVodStringGrid::ClickShiftState()
{
    if (GetKeyState(VK_MENU) < 0) return TShiftState{ssAlt};
    if (GetKeyState(VK_SHIFT) < 0) return TShiftState{ssShift};
    if (GetKeyState(VK_CONTROL) < 0) return TShiftState{ssCtrl};
    return TShiftState{};
}

// Least bodies until the chain lands.
void TVodStringGrid::PlatformLButtonDown(TMessage& M) { TBaseGrid::WMLButtonDown(M); }
void TVodStringGrid::WMLButtonDown(TMessage& M) { PlatformLButtonDown(M); }
void TVodStringGrid::LButtonDownCell(TMessage& M, Integer, Integer, TShiftState) { PlatformLButtonDown(M); }
void TVodStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TBaseGrid::MouseDown(Button, Shift, X, Y);
}
void TVodStringGrid::ClickRadioGroup(Integer, Integer, Integer, Integer) {}
