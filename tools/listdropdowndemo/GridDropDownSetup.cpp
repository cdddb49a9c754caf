#include "tools/listdropdowndemo/GridDropDownSetup.h"

#include <cstdio>

#include "controls/dropdown/GridDropDown.h"
#include "platform/base/SysUtils.h"

TVodCustomDropDown* CreateGridDropDown(TComponent* Owner)
{
    auto* d = CreateDropDown<TVodGridDropDown>(Owner);
    const struct {
        const wchar_t* Header;
        Integer Width;
    } cols[] = {{L"Site", 100}, {L"Country", 90}, {L"Since", 60}};
    for (auto& c : cols) {
        GridDropDownList::TDropDownColumn* col = d->Columns()->Add();
        col->SetHeader(c.Header);
        col->SetWidth(c.Width);
    }
    d->Columns()->Items(2)->SetAlignment(taRightJustify);
    const wchar_t* sites[][3] = {{L"Velmora", L"Corvantia", L"2009"},  {L"Streamhall", L"Norland", L"2012"},
                                 {L"Clipworks", L"Ostmark", L"2015"},  {L"Vidnest", L"Corvantia", L"2011"},
                                 {L"Reelbay", L"Sudania", L"2018"},    {L"Framefold", L"Norland", L"2007"},
                                 {L"Clipstead", L"Westholm", L"2020"}, {L"Tubewright", L"Ostmark", L"2014"}};
    for (auto& s : sites) {
        GridDropDownList::TDropDownItem* it = d->Items()->Add();
        for (auto* t : s) it->Text()->Add(t);
    }
    d->SetAutoSizeColumns(false);
    d->SetSorting(gsSingleColumn);
    d->SearchFooter()->SetVisible(true);
    d->SetDropDownHeight(260);
    d->DropDownHeader()->SetVisible(false);
    d->DropDownFooter()->SetVisible(false);
    d->EndUpdate();
    // The list opens sorted by its second column.
    if (auto* g = d->Grid()) g->SortSettings()->Column = 1;
    d->SetItemIndex(3);
    return d;
}

String GridDropDownValue(TVodCustomDropDown* d)
{
    auto* g = static_cast<TVodGridDropDown*>(d);
    return g->Text() + L" #" + IntToStr(g->ItemIndex());
}

void PrintGridDropDownPoints(TVodCustomDropDown* d)
{
    auto* g = static_cast<TVodGridDropDown*>(d)->Grid();
    if (!g) return;
    TRect h = g->CellRect(1, 0);
    TPoint hp = g->ClientToScreen(TPoint{(h.Left + h.Right) / 2, (h.Top + h.Bottom) / 2});
    std::printf("HEADER grid %d %d\n", hp.X, hp.Y);
    TRect r = g->CellRect(0, 1);
    TPoint rp = g->ClientToScreen(TPoint{r.Left + 20, (r.Top + r.Bottom) / 2});
    std::printf("ROWS grid %d %d %d\n", rp.X, rp.Y, g->RowHeights(1));
    std::fflush(stdout);
}
