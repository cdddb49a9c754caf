// A TVodStringGrid on a form of the headless backend for the tests of hidden
// rows and columns and of the row, column and clearing operations, with
// helpers that fill a grid with texts naming their real cells and read the
// grid back as a table.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class TRowsGrid : public TVodStringGrid {
public:
    explicit TRowsGrid(TComponent* o) : TVodStringGrid(o) {}
    using TVodStringGrid::FAllColWidths;
    using TVodStringGrid::FFilterLevel;
    using TVodStringGrid::FVisibleCol;
    std::vector<TRect> Changed;
    void CellsChanged(TRect R) override
    {
        Changed.push_back(R);
        TVodStringGrid::CellsChanged(R);
    }
};

class GridRowsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 600, 400);
        Grid = NewGrid(5, 10);
        Form->Init();
        Form->Show();
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TRowsGrid* NewGrid(Integer cols, Integer rows)
    {
        auto* g = new TRowsGrid(Form);
        g->SetParent(Form);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetBounds(0, 0, 500, 300);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    // Every cell holds "c,r" of its position at the time of filling.
    static void Fill(TVodStringGrid* g)
    {
        for (Integer r = 0; r < g->RowCount(); ++r)
            for (Integer c = 0; c < g->TotalColCount(); ++c) g->SetCells(c, r, IntToStr(c) + L"," + IntToStr(r));
    }
    // The texts of one store column, row by row.
    static std::vector<String> Column(TVodStringGrid* g, Integer c)
    {
        std::vector<String> v;
        for (Integer r = 0; r < g->RowCount(); ++r) v.push_back(g->Cells(c, r));
        return v;
    }
    // The row numbers ("c,r" texts of column 0) in display order.
    static std::vector<Integer> RowIds(TVodStringGrid* g)
    {
        std::vector<Integer> v;
        for (Integer r = 0; r < g->RowCount(); ++r) {
            const String s = g->Cells(0, r);
            const auto p = s.find(L',');
            v.push_back(p == String::npos ? -1 : StrToInt(s.substr(p + 1)));
        }
        return v;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TRowsGrid* Grid = nullptr;
};
