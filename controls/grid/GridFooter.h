// The grid's floating footer: the panel docked at the grid's bottom edge
// that stays put while the rows scroll, and the settings that say whether
// and how it shows. It shows the grid's last row as a fixed footer row
// (column sums and the like), a preview of one column of the current row, a
// template filled from the current row, or what the application paints.
// The grid creates both (the panel through its overridable
// CreateFooterPanel).
#pragma once

#include <memory>

#include "controls/grid/BaseGrid.h"
#include "platform/ui/ExtCtrls.h"

class TVodStringGrid;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

using TFooterCalcEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;

class TFooterPanel : public TCustomPanel {
    VEL_CLASS(TFooterPanel, TCustomPanel)
public:
    explicit TFooterPanel(TComponent* AOwner);
    // The grid whose footer the panel shows (the owner when it is one).
    TVodStringGrid* Grid() const { return FGrid; }
    void SetGrid(TVodStringGrid* v) { FGrid = v; }
    // The column of the last hint, -1 for none.
    Integer LastHintCol() const { return FLastHintCol; }
    // The width of the footer part: the fixed columns and the columns from
    // the grid's left column to the last one.
    Integer FooterWidth();
    // The display column under a panel x, found as the hint search finds it:
    // the fixed columns, then the columns from the left column on; over the
    // fixed columns the column before the left column; past the last
    // column -1.
    Integer ColumnAt(Integer X);
    // Expands a custom template for the current row: each "<#n>" becomes
    // the text of column n; a tag whose n is no integer is dropped.
    String ExpandTemplate(const String& Template);

protected:
    void CreateWnd() override;
    void Paint() override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;

private:
    Integer PaintFixedLastRow(TCanvas* C);
    Integer PaintColumnPreview(TCanvas* C);
    Integer PaintCustomPreview(TCanvas* C);
    void PreviewFrame(TCanvas* C, Integer W);
    TVodStringGrid* FGrid = nullptr;
    Integer FLastHintCol = -1;
};

class TFloatingFooter : public TPersistent {
    VEL_CLASS(TFloatingFooter, TPersistent)
public:
    explicit TFloatingFooter(TVodStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
    // Copies the settings from another floating footer (Visible through its
    // setter); other sources are ignored.
    void Assign(TPersistent* Source) override;
    // Repaints the panel.
    void Invalidate();
    // The calculation of a column's footer cell, kept in the property block
    // of its last-row cell (acNONE without a block).
    TColumnCalcType GetColumnCalc(Integer ACol);
    // Stores it and has the grid recalculate that footer cell.
    void SetColumnCalc(Integer ACol, TColumnCalcType Calc);

    // Showing the panel manages the grid's FixedFooters, the row a preview
    // style adds and the hidden last row.
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle v);
    // The footer's height; the panel is one pixel lower.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v);
    Integer Column() const { return FColumn; }
    void SetColumn(Integer v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    // The line along the panel's top edge (clNone: none).
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    const String& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const String& v);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool v) { FEnableCalculation = v; }
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool v) { FCalculateHiddenRows = v; }
    // Whether a row was appended for a preview style.
    bool RowAdded() const { return FRowAdded; }
    TNotifyEvent OnChange;
    TFooterCalcEvent OnCalcFooter;

private:
    friend class TVodStringGrid;
    void Changed();
    TVodStringGrid* FGrid = nullptr;
    bool FVisible = false;
    Integer FHeight = 24;
    TColor FColor = clBtnFace;
    TColor FBorderColor = clNone;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    Integer FColumn = 0;
    String FCustomTemplate;
    bool FShowHint = false;
    bool FEnableCalculation = true;
    bool FCalculateHiddenRows = true;
    bool FRowAdded = false;
};
