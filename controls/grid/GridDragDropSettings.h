// The grid's drag-and-drop settings. The drop source, the drop target and
// what a drop does are in VodGrid_DragDrop.cpp.
#pragma once

#include "platform/base/Objects.h"

class TVodStringGrid;

class TDragDropSettings : public TPersistent {
    VEL_CLASS(TDragDropSettings, TPersistent)
public:
    explicit TDragDropSettings(TVodStringGrid* AGrid) : FGrid(AGrid) {}
    // Copies the settings from other drag-and-drop settings without their
    // writers (the registration and the process-wide rich text switch stay
    // as they are); other sources are ignored.
    void Assign(TPersistent* Source) override;
    TVodStringGrid* Grid() const { return FGrid; }
    // Writing it sets the process-wide rich text switch of every grid.
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool v);
    bool OleAcceptText = true;
    bool OleEntireRows = false;
    bool OleDropSource = false;
    bool OleRemoveRows = false;
    bool OleAcceptFiles = true;
    bool OleAcceptURLs = true;
    bool OleDropTarget() const { return FOleDropTarget; }
    // Registers the grid's window as a drop target (or revokes it); nothing
    // more at design time.
    void SetOleDropTarget(bool v);
    bool OleInsertRows = false;
    bool OleAppendRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
    bool OleColumnReorder = false;
    bool OleColumnsOnly = false;
    bool OleColumnPicker = false;
    bool ShowCells = true;

private:
    TVodStringGrid* FGrid;
    bool FOleDropTarget = false;
    bool FOleDropRTF = false;
};

#include "controls/grid/vurdd.h"

// The grid's drop source: moves the floating image of the dragged cells (or
// the header drag button) with the mouse and removes it when the drag ends.
class TGridDropSource : public vurdd::TVURDropSource {
public:
    explicit TGridDropSource(TVodStringGrid* AGrid) : FGrid(AGrid) {}
    void DragFinished() override;
    void CurrentEffect(Integer Effect) override;
    void QueryDrag() override;
    // The last copy or move effect the target answered.
    Integer LastEffect() const { return FLastEffect; }

private:
    TVodStringGrid* FGrid;
    Integer FLastEffect = 0;
};

// The grid's drop target: feedback with the arrow markers and scrolling
// near the edges while something is dragged over the grid, and the writing
// of what is dropped. A handler's failure never reaches the drag loop: the
// drop answers no effect and the grid hands the failure to the
// application after the drop.
class TGridDropTarget : public vurdd::TVURDropTarget {
public:
    explicit TGridDropTarget(TVodStringGrid* AGrid) : FGrid(AGrid) {}
    void DropText(TPoint Pt, const String& S) override;
    void DropStream(TPoint Pt, TMemoryStream* Stream) override;
    void DropCol(TPoint Pt, Integer Col) override;
    void DropRTF(TPoint Pt, const String& S) override;
    void DropFiles(TPoint Pt, TStrings* Files) override;
    void DropURL(TPoint Pt, const String& S) override;
    void DragMouseMove(TPoint Pt, bool& Allow, vurdd::TDropFormats DropFormats) override;
    void DragMouseEnter() override {}
    void DragMouseLeave() override;
    TVodStringGrid* Grid() const { return FGrid; }
    // The grid is going away: the target no longer reaches it.
    void Detach() { FGrid = nullptr; }

protected:
    void DropFailed(std::exception_ptr E) override;

private:
    // The append position of a drag below the last row.
    bool AppendPosition(TPoint Pt, Integer& c, Integer& r, vurdd::TDropFormats Formats);
    TVodStringGrid* FGrid;
};
