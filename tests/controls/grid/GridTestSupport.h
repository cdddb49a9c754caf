// A small grid on TBaseGrid that supplies the operations the base grid
// leaves to its descendant and records what the base grid calls, and a
// fixture with that grid on a form of the headless backend (fixed-metrics
// fonts).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "controls/grid/BaseGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class TTestGrid : public TBaseGrid {
public:
    explicit TTestGrid(TComponent* o) : TBaseGrid(o) {}
    std::vector<String> Log;
    struct TDrawn {
        Integer Col, Row;
        TRect Rect;
    };
    std::vector<TDrawn> Drawn;
    std::set<std::pair<Integer, Integer>> CheckCells;
    TColor SelectedColor = clHighlight;

    using TBaseGrid::MoveColumn;
    using TBaseGrid::MoveRow;
    using TBaseGrid::PaintCellFrame;
    void SetNormalRowCount(Integer v) { FNormalRowCount = v; }
    void SetHideLastRow(bool v) { FHideLastRow = v; }
    void SetHoverRowIdx(Integer v) { FHoverRowIdx = v; }
    bool EditCellSet() const { return FEditCellSet; }
    bool HasCellProps() const { return FHasCellProps; }

    bool IsNode(Integer) override { return false; }
    bool IsSummary(Integer) override { return false; }
    bool CellHasCheckBox(Integer c, Integer r) override { return CheckCells.count({c, r}) > 0; }
    void SetCheckBoxFromText(Integer c, Integer r, const String& v) override
    {
        Log.push_back(L"check " + IntToStr(c) + L"," + IntToStr(r) + L"=" + v);
        SetCellEx(c, r, v);
    }
    void UpdateCellScrollBar(Integer c, Integer r) override
    {
        Log.push_back(L"scroll " + IntToStr(c) + L"," + IntToStr(r) + L" " + GetGridCell(c, r));
    }
    void CellValueChanged() override { Log.push_back(L"changed"); }
    void DrawGridCell(TCanvas* C, Integer c, Integer r, TRect rc, TGridDrawState st) override
    {
        Drawn.push_back({c, r, rc});
        TBaseGrid::DrawGridCell(C, c, r, rc, st);
    }
    bool IsFixed(Integer c, Integer r) override { return c < FixedCols() || r < FixedRows(); }
    // Fixed cells in the fixed colour, selected ones in SelectedColor, the
    // others in the grid's colour.
    void GetVisualProperties(Integer c, Integer r, TGridDrawState& st, bool, bool, bool, TBrush* b, TColor&,
                             TColor&, TColor&, TFont*, TAlignment&, TVAlignment&, bool&,
                             TCellGradientDirection&) override
    {
        b->SetColor(st.Contains(gdFixed) ? FixedColor() : st.Contains(gdSelected) ? SelectedColor : Color());
    }
};

class BaseGridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 600, 400);
        Grid = new TTestGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        // 5 columns of 64 and 5 rows of 24, edge to edge: 320 x 120.
        Grid->SetBounds(0, 0, 320, 120);
        Form->Init();
        Form->Show();
        Grid->SetFocus();
        Drv->Pump();
        Grid->Log.clear();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    // The grid's pixel at a client point as 0x00BBGGRR.
    TColor Pixel(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Grid->Handle(), px, w, h);
        const uint32_t v = px[size_t(y) * size_t(w) + size_t(x)];
        return TColor(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TTestGrid* Grid = nullptr;
};
