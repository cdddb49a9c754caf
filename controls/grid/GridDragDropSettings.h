// The grid's drag-and-drop settings. The drop source, the drop target and
// what a drop does come with the grid's drag-and-drop family
// (VodGrid_DragDrop.cpp).
#pragma once

#include "platform/base/Objects.h"

class TVodStringGrid;

class TDragDropSettings : public TPersistent {
    VEL_CLASS(TDragDropSettings, TPersistent)
public:
    explicit TDragDropSettings(TVodStringGrid* AGrid) : FGrid(AGrid) {}
    // Copies the settings from other drag-and-drop settings; other sources
    // are ignored.
    void Assign(TPersistent* Source) override;
    TVodStringGrid* Grid() const { return FGrid; }
    bool OleDropRTF = false;
    bool OleAcceptText = true;
    bool OleEntireRows = false;
    bool OleDropSource = false;
    bool OleRemoveRows = false;
    bool OleAcceptFiles = true;
    bool OleAcceptURLs = true;
    bool OleDropTarget() const { return FOleDropTarget; }
    // Stores the switch; registering the grid's window comes with the drop
    // target.
    void SetOleDropTarget(bool v) { FOleDropTarget = v; }
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
};
