// Types of the grid's text search and of its cell validation: the options of
// every search, the kinds of condition a multi-column search tests, and the
// validator interface an application can attach to the grid.
#pragma once

#include "platform/base/Interfaces.h"
#include "platform/base/Objects.h"

// The options of a text search; the set is 16 bits, element n = bit n.
enum TFindParameters {
    fnMatchCase,             // compare case-sensitively
    fnMatchFull,             // the cell text must equal the search text
    fnMatchRegular,          // the search text is a filter expression
    fnDirectionLeftRight,    // walk row by row (else column by column)
    fnMatchStart,            // the search text must start the cell text
    fnFindInCurrentRow,
    fnFindInCurrentCol,
    fnIncludeFixed,
    fnAutoGoto,              // make the found cell current
    fnIgnoreHTMLTags,        // compare against the text without markup
    fnBackward,
    fnIncludeHiddenColumns,
    fnFindInPresetCol,       // only the column in FindCol
    fnFindInPresetRow,       // only the row in FindRow
    fnSelectedCells,         // only the selection rectangle
    fnIncludeHiddenRows
};
using TFindParams = TSet<TFindParameters>;

// How FindMulti turns a condition text into a filter term.
enum TSearchType { stStartsWith, stEndsWith, stContains, stEqual, stNotEqual, stNotContains };

// A validator the grid asks after its OnCellValidate event: it may refuse the
// value (Valid := false) or change it.
struct IQelCellValidate : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{6C2F8A51-3D4E-4B17-9A0C-5E8B7D21F364}");
    virtual void ValidateCell(Integer ACol, Integer ARow, bool& Valid, String& Value) = 0;
};
VEL_INTERFACE(IQelCellValidate)
