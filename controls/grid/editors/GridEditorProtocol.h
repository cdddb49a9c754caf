// The steps every special inplace editor of the grid shares: the commit of
// a value through the grid's validation, Tab with validation, leaving the
// cell by a key, Escape, the caret under the mouse and the change event.
// Editors call these with small callbacks that read and write their own
// text, so one sequence serves edits, combos, pickers and drop-downs.
#pragma once

#include <functional>

#include "controls/grid/VodGrid.h"

struct GridEditorProtocol {
    using TPut = std::function<void(const String&)>;
    using TSelect = std::function<void(Integer Start, Integer Length)>;

    // The commit: the value goes into the current cell and is validated.
    // Refused: the editor shows the validated text wholly selected, repaints,
    // the key is swallowed and False comes back (the editor stays). Accepted:
    // the editor shows the cell's value as validation stored it.
    static bool Commit(TVodStringGrid* G, const String& Value, const TPut& Put, const TSelect& Select,
                       TControl* Editor, Word& Key);

    enum TTabResult { tvRefused, tvMovedByGrid, tvContinue };
    // Tab when the grid needs Tab validation: refused keeps the editor with
    // the caret after the text; with goTabs the grid makes its own Tab move;
    // without, VK_TAB is posted to the grid and the caller leaves by key.
    static TTabResult TabWithValidation(TVodStringGrid* G, const String& Value, const TPut& Put,
                                        const TSelect& Select, TControl* Editor, Word& Key);

    // Hands the key to the grid's DoneInplaceEdit, reopens the editor in the
    // new cell with AdvanceOnEnter and AdvanceAutoEdit, and nulls the key.
    static void LeaveByKey(TVodStringGrid* G, Word& Key, TShiftState Shift);

    // Esc: the editor shows the cell's text again, the edit ends and the
    // grid takes the focus.
    static void Escape(TVodStringGrid* G, const TPut& Put);

    // When a click started the edit, the caret goes to the character under
    // the mouse pointer (asked of EditWnd, the editor's edit window).
    static void CaretUnderMouse(TVodStringGrid* G, TWinControl* Editor, HWND EditWnd = nullptr);

    // OnEditChange with the current column and row.
    static void FireEditChange(TVodStringGrid* G, const String& Text);

    // The grid's Tab move with Shift as it is now.
    static void GridTab(TVodStringGrid* G);

    // Whether Shift is held now.
    static bool ShiftDown();

    // The grid state the editors read and write.
    static String NewCellText(TVodStringGrid* G) { return G->FNewCellText; }
    static String& NewCellTextRef(TVodStringGrid* G) { return G->FNewCellText; }
    static TDateTime& OriginalDateTimeRef(TVodStringGrid* G) { return G->FOriginalDateTime; }
    static const String& CellCache(TVodStringGrid* G) { return G->FCellCache; }
    static String& CellCacheRef(TVodStringGrid* G) { return G->FCellCache; }
    static bool& LButFlg(TVodStringGrid* G) { return G->LButFlg; }
    static bool& EditMode(TVodStringGrid* G) { return G->EditMode; }
    static TEditorType& EditControl(TVodStringGrid* G) { return G->EditControl; }
    static TDateTime OriginalDateTime(TVodStringGrid* G) { return G->FOriginalDateTime; }
};
