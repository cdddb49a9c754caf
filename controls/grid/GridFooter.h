// The grid's floating footer: the panel at the grid's bottom edge that shows
// the footer row, and the settings that say whether and how it shows. The
// grid creates both (the panel through its overridable CreateFooterPanel);
// the painting of the panel comes with the grid's rendering.
#pragma once

#include <memory>

#include "platform/ui/ExtCtrls.h"

class TVodStringGrid;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview };

using TFooterCalcEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;

class TFooterPanel : public TCustomPanel {
    VEL_CLASS(TFooterPanel, TCustomPanel)
public:
    explicit TFooterPanel(TComponent* AOwner);
    // The grid whose footer row the panel shows (the owner when it is one).
    TVodStringGrid* Grid() const { return FGrid; }
    void SetGrid(TVodStringGrid* v) { FGrid = v; }

private:
    TVodStringGrid* FGrid = nullptr;
};

class TFloatingFooter : public TPersistent {
    VEL_CLASS(TFloatingFooter, TPersistent)
public:
    TFloatingFooter() = default;
    // Copies the settings from another floating footer; other sources are
    // ignored.
    void Assign(TPersistent* Source) override;
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    Integer Column() const { return FColumn; }
    void SetColumn(Integer v);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool v) { FEnableCalculation = v; }
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool v) { FCalculateHiddenRows = v; }
    TNotifyEvent OnChange;
    TFooterCalcEvent OnCalcFooter;

private:
    void Changed();
    bool FVisible = false;
    Integer FColumn = 0;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = clBtnFace;
    bool FEnableCalculation = true;
    bool FCalculateHiddenRows = true;
};
