// Shared types of the grid's clipboard and drag and drop: the last
// clipboard operation and the events of pasting and dropping.
#pragma once

#include <functional>

#include "platform/base/Objects.h"
#include "platform/base/Types.h"

enum TClipOperation { coCut, coCopy };

using TBeforeCellPasteEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Allow)>;
using TBeforeCellPasteWideEvent = TBeforeCellPasteEvent;
using TAfterCellPasteEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
using TAfterCellPasteWideEvent = TAfterCellPasteEvent;

using TOleDragOverEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& Allow)>;
using TOleDragDropEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Data, bool& Allow)>;
using TOleDropURLEvent = TOleDragDropEvent;
using TOleDropFileEvent = TOleDragDropEvent;
using TOleDropColEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, Integer DropCol)>;
// After a text or native block was dropped: the cells it now fills.
struct TGridRect;
using TOleDroppedEvent = std::function<void(TObject* Sender, const TGridRect& ARect)>;
