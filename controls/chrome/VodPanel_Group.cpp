// The panel group: panels stacked in columns (vertical style) or in a row
// (horizontal style), with paddings, an own scroll bar, the mouse wheel,
// re-arrangement on every child change, and panels made from the group's
// default settings.
#include <algorithm>

#include "controls/chrome/VodPanel.h"
#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"

TVodPanelGroup::TVodPanelGroup(TComponent* AOwner) : TVodPanel(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetParent(this);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetAlign(alRight);
    FScrollBar->SetPosition(0);
    FScrollBar->OnScroll = [this](TObject* s, TScrollCode c, Integer& p) { ScrollBarScroll(s, c, p); };
    FScrollBar->SetVisible(false);
    FScrollBar->SetLargeChange(20);
    FScrollBar->SetSmallChange(2);
    FScrollBar->SetTabStop(false);
    FDefaultPanel = std::make_unique<TVodPanelSettings>();
    FPanelClass = [](TComponent* owner) -> TCustomVodPanel* { return new TCustomVodPanel(owner); };
    SetDoubleBuffered(!IsVistaOrLater());
}

TVodPanelGroup::~TVodPanelGroup()
{
    FDestroyingGroup = true;
    ++FUpdateCount;
    // Only the panels still in the list are the group's to free; each one
    // leaves the list as it goes.
    while (!FPanels.empty()) {
        TCustomVodPanel* p = FPanels.back();
        FPanels.pop_back();
        delete p;
    }
}

void TVodPanelGroup::CreateParams(TCreateParams& Params)
{
    TVodPanel::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TVodPanelGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    TVodPanel::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        FPanels.erase(std::remove(FPanels.begin(), FPanels.end(), AComponent), FPanels.end());
        if (AComponent == FScrollBar) FScrollBar = nullptr;
    }
}

void TVodPanelGroup::Loaded()
{
    TVodPanel::Loaded();
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
    UpdateScrollbar();
    ArrangeControls();
    InitPanels();
}

std::vector<TCustomVodPanel*> TVodPanelGroup::ChildPanels() const
{
    std::vector<TCustomVodPanel*> out;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomVodPanel*>(Controls(i))) out.push_back(p);
    return out;
}

void TVodPanelGroup::InitPanels()
{
    FPanels = ChildPanels();
    Renumber();
}

void TVodPanelGroup::Renumber()
{
    for (size_t i = 0; i < FPanels.size(); ++i) FPanels[i]->SetIndex(Integer(i));
}

TCustomVodPanel* TVodPanelGroup::Panels(Integer Index) const
{
    if (Index < 0 || Index >= PanelCount()) throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    return FPanels[size_t(Index)];
}

void TVodPanelGroup::SetPanels(Integer Index, TCustomVodPanel* v) { Panels(Index)->Assign(v); }

TCustomVodPanel* TVodPanelGroup::AddPanel()
{
    TCustomVodPanel* p = FPanelClass(this);
    p->SetParent(this);
    p->AssignSettings(FDefaultPanel.get());
    p->Caption()->SetVisible(FDefaultPanel->Caption()->Visible());
    p->Caption()->SetMinMaxButton(FDefaultPanel->Caption()->MinMaxButton());
    p->Caption()->SetCloseButton(FDefaultPanel->Caption()->CloseButton());
    p->SetIndex(PanelCount());
    FPanels.push_back(p);
    UpdateScrollbar();
    ArrangeControls();
    UpdateScrollbar();
    return p;
}

TCustomVodPanel* TVodPanelGroup::AppendPanel()
{
    TCustomVodPanel* p = AddPanel();
    if (PanelCount() > 1) MovePanelIndex(PanelCount() - 1, 0);
    return p;
}

TCustomVodPanel* TVodPanelGroup::InsertPanel(Integer Index)
{
    TCustomVodPanel* p = FPanelClass(this);
    p->SetParent(this);
    p->AssignSettings(FDefaultPanel.get());
    p->Caption()->SetVisible(FDefaultPanel->Caption()->Visible());
    p->Caption()->SetMinMaxButton(FDefaultPanel->Caption()->MinMaxButton());
    p->Caption()->SetCloseButton(FDefaultPanel->Caption()->CloseButton());
    Index = std::clamp(Index, 0, PanelCount());
    p->SetIndex(Index);
    FPanels.insert(FPanels.begin() + Index, p);
    Renumber();
    UpdateScrollbar();
    ArrangeControls();
    UpdateScrollbar();
    return p;
}

void TVodPanelGroup::RemovePanel(Integer Index)
{
    if (Index < 0 || Index >= PanelCount()) return;
    TCustomVodPanel* p = FPanels[size_t(Index)];
    FPanels.erase(FPanels.begin() + Index);
    delete p;
    Renumber();
    ArrangeControls();
}

void TVodPanelGroup::MovePanel(Integer FromIndex, Integer ToIndex)
{
    const Integer n = PanelCount();
    const Integer from = n - FromIndex - 1, to = n - ToIndex - 1;
    if (from < 0 || from >= n || to < 0 || to >= n) return;
    TCustomVodPanel* p = FPanels[size_t(from)];
    FPanels.erase(FPanels.begin() + from);
    FPanels.insert(FPanels.begin() + to, p);
    for (Integer i = 0; i < n; ++i) FPanels[size_t(i)]->SetIndex(n - i);
    ArrangeByIndex();
}

void TVodPanelGroup::MovePanelIndex(Integer CurIndex, Integer NewIndex)
{
    const Integer n = PanelCount();
    if (CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n) return;
    TCustomVodPanel* p = FPanels[size_t(CurIndex)];
    FPanels.erase(FPanels.begin() + CurIndex);
    FPanels.insert(FPanels.begin() + NewIndex, p);
    for (Integer i = 0; i < n; ++i) FPanels[size_t(i)]->SetIndex(n - i);
    ArrangeByIndex();
}

void TVodPanelGroup::ArrangeByIndex()
{
    FArrangeByIndex = true;
    const Integer saved = FUpdateCount;
    FUpdateCount = 0;
    ArrangeControls();
    FArrangeByIndex = false;
    FUpdateCount = saved;
}

void TVodPanelGroup::ArrangePanels()
{
    FArrangeByIndex = true;
    ArrangeControls();
    FArrangeByIndex = false;
}

void TVodPanelGroup::ChildPanelChanged(TCustomVodPanel*)
{
    UpdateScrollbar();
    ArrangeControls();
}

void TVodPanelGroup::CollapsChanged()
{
    ArrangeControls();
    UpdateScrollbar();
}

void TVodPanelGroup::UpdateGroup()
{
    ArrangeControls();
    UpdateScrollbar();
    SetHeight(Height() + 1);
    SetHeight(Height() - 1);
}

void TVodPanelGroup::Clear()
{
    for (TCustomVodPanel* p : ChildPanels()) delete p;
    FPanels.clear();
    UpdateScrollbar();
}

void TVodPanelGroup::CloseAllPanels()
{
    BeginUpdate();
    for (TCustomVodPanel* p : ChildPanels()) p->SetCollaps(true);
    EndUpdate();
    Invalidate();
}

void TVodPanelGroup::OpenAllPanels()
{
    BeginUpdate();
    for (TCustomVodPanel* p : ChildPanels()) p->SetCollaps(false);
    EndUpdate();
}

void TVodPanelGroup::BeginUpdate()
{
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
    ++FUpdateCount;
}

void TVodPanelGroup::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) {
        if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 1, 0);
        UpdateScrollbar();
        ArrangeControls();
        UpdateScrollbar();
    }
}

void TVodPanelGroup::SetGroupStyle(TGroupStyle v)
{
    FGroupStyle = v;
    UpdateScrollbar();
    ArrangeControls();
}

void TVodPanelGroup::SetHorzPadding(Integer v)
{
    if (FHorzPadding == v) return;
    FHorzPadding = v;
    ArrangeControls();
}

void TVodPanelGroup::SetVertPadding(Integer v)
{
    if (FVertPadding == v) return;
    FVertPadding = v;
    ArrangeControls();
}

void TVodPanelGroup::SetColumns(Integer v)
{
    if (v <= 0) return;
    FColumns = v;
    UpdateScrollbar();
    ArrangeControls();
    UpdateScrollbar();
}

void TVodPanelGroup::SetMouseWheelDelta(Integer v)
{
    FMouseWheelDelta = v;
    if (FScrollBar) FScrollBar->SetSmallChange(v);
}

Integer TVodPanelGroup::ScrollPosition() const { return FScrollBar ? FScrollBar->Position() : 0; }

void TVodPanelGroup::SetScrollPosition(Integer v)
{
    if (!FScrollBar) return;
    FScrollBar->SetPosition(v);
    Integer pos = FScrollBar->Position();
    ScrollBarScroll(FScrollBar, scEndScroll, pos);
}

void TVodPanelGroup::ScrollBarScroll(TObject*, TScrollCode ScrollCode, Integer&)
{
    if (ScrollCode != scEndScroll || !FScrollBar) return;
    const Integer limit = FScrollBar->Max() - FScrollBar->PageSize();
    if (FScrollBar->Position() > limit) FScrollBar->SetPosition(std::max(limit, FScrollBar->Min()));
    ArrangeControls();
}

void TVodPanelGroup::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TVodPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (AWidth != FLastW || AHeight != FLastH) {
        FLastW = AWidth;
        FLastH = AHeight;
        ArrangeControls();
    }
}

void TVodPanelGroup::Dispatch(TMessage& M)
{
    TVodPanel::Dispatch(M);
    if (M.Msg == WM_SIZE) UpdateScrollbar();
}

void TVodPanelGroup::AlignControls(TControl* AControl, TRect& Rect)
{
    TVodPanel::AlignControls(AControl, Rect);
    UpdateScrollbar();
}

bool TVodPanelGroup::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!FScrollBar || !FScrollBar->Visible()) return TVodPanel::DoMouseWheelDown(Shift, MousePos);
    FScrollBar->SetPosition(FScrollBar->Position() + 2 * FScrollBar->SmallChange());
    if (FGroupStyle == gsVertical) ArrangeControlsVert();
    else ArrangeControlsHorz();
    return true;
}

bool TVodPanelGroup::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!FScrollBar || !FScrollBar->Visible()) return TVodPanel::DoMouseWheelUp(Shift, MousePos);
    FScrollBar->SetPosition(FScrollBar->Position() - 2 * FScrollBar->SmallChange());
    if (FGroupStyle == gsVertical) ArrangeControlsVert();
    else ArrangeControlsHorz();
    return true;
}

void TVodPanelGroup::DoArrangedControls()
{
    if (OnArrangedControls) OnArrangedControls(this);
}

void TVodPanelGroup::ArrangeControls()
{
    if (ComponentState().Contains(csLoading) || FArranging || FUpdateCount > 0 || FDestroyingGroup) return;
    FArranging = true;
    // Moving the panels asks the group to realign once per panel; once at
    // the end is enough.
    DisableAlign();
    try {
        if (FGroupStyle == gsVertical) ArrangeControlsVert();
        else ArrangeControlsHorz();
    } catch (...) {
        FArranging = false;
        EnableAlign();
        throw;
    }
    EnableAlign();
    FArranging = false;
    DoArrangedControls();
}

namespace {

// Ascending by the key; equal keys keep their order (a stable sort, as the
// neighbour-swapping sort it replaces, without its quadratic cost).
template <class Key>
void SortPanels(std::vector<TCustomVodPanel*>& List, Key key)
{
    std::stable_sort(List.begin(), List.end(),
                     [&](TCustomVodPanel* a, TCustomVodPanel* b) { return key(a) < key(b); });
}

}  // namespace

void TVodPanelGroup::ArrangeControlsVert()
{
    if (FUpdateCount > 0) return;
    ++FUpdateCount;
    std::vector<TCustomVodPanel*> list = ChildPanels();
    if (FArrangeByIndex) SortPanels(list, [](TCustomVodPanel* p) { return p->Index(); });
    else SortPanels(list, [](TCustomVodPanel* p) { return p->Top(); });
    const bool sbVisible = FScrollBar && FScrollBar->Visible();
    const Integer sbw = sbVisible ? FScrollBar->Width() : 0;
    Integer y = FVertPadding - (sbVisible ? FScrollBar->Position() : 0) + (FCaption->Visible() ? FCaptionSize : 0);
    if (FScrollSmooth)
        for (TCustomVodPanel* p : list)
            if (p->Visible()) p->BeginUpdate();
    const Integer cols = std::max(1, FColumns);
    const Integer W = Width();
    for (size_t i = 0; i < list.size(); ++i) {
        TCustomVodPanel* p = list[i];
        const Integer col = Integer(i) % cols;
        const Integer left = ((W - sbw - FHorzPadding) / cols) * col + FHorzPadding;
        const Integer width = (W - (cols + 1) * FHorzPadding - sbw) / cols;
        p->TControl::SetBounds(left, y, width, p->Height());
        if (!p->FCollaps && !p->FCollapsing && p->Caption()->Position() != cpTop) p->FFullHeight = width;
        if (p->Visible() && (Integer(i) + 1) % cols == 0) y += p->Height() + FVertPadding;
    }
    for (TCustomVodPanel* p : list) {
        if (FScrollSmooth && p->Visible()) p->EndUpdate();
        p->Invalidate();
        for (Integer k = 0; k < p->ControlCount(); ++k) {
            TControl* c = p->Controls(k);
            auto* wc = dynamic_cast<TWinControl*>(c);
            if (wc && wc->Visible() && wc->ControlCount() == 0 && wc->HandleAllocated()) {
                SendMessage(wc->Handle(), WM_SETREDRAW, 0, 0);
                SendMessage(wc->Handle(), WM_SETREDRAW, 1, 0);
            }
            c->SetWidth(c->Width() + 1);
            c->SetWidth(c->Width() - 1);
        }
    }
    --FUpdateCount;
    Invalidate();
}

void TVodPanelGroup::ArrangeControlsHorz()
{
    std::vector<TCustomVodPanel*> list = ChildPanels();
    SortPanels(list, [](TCustomVodPanel* p) { return p->Left(); });
    const bool sbVisible = FScrollBar && FScrollBar->Visible();
    Integer x = FHorzPadding - (sbVisible ? FScrollBar->Position() : 0);
    const Integer h = Height() - 2 * FVertPadding - (sbVisible ? FScrollBar->Height() : 0);
    for (TCustomVodPanel* p : list) {
        p->TControl::SetBounds(x, FVertPadding, p->Width(), h);
        if (p->Visible()) x += p->Width() + FHorzPadding;
    }
}

void TVodPanelGroup::UpdateScrollbar()
{
    if (FUpdateCount > 0 || !FScrollBar || FDestroyingGroup) return;
    Integer total = 0;
    Integer extent = 0;
    if (FGroupStyle == gsHorizontal) {
        FScrollBar->SetKind(sbHorizontal);
        FScrollBar->SetAlign(alBottom);
        FScrollBar->SetHeight(16);
        total = FHorzPadding;
        for (TCustomVodPanel* p : ChildPanels())
            if (p->Visible()) total += p->Width() + FHorzPadding;
        extent = Width();
    } else {
        FScrollBar->SetKind(sbVertical);
        FScrollBar->SetAlign(alRight);
        FScrollBar->SetWidth(16);
        // Rows counted by the panels that end a row, in child order; every
        // arranged panel can be scrolled into view.
        total = FVertPadding;
        const Integer cols = std::max(1, FColumns);
        Integer i = 0;
        std::vector<TCustomVodPanel*> panels = ChildPanels();
        for (size_t k = 0; k < panels.size(); ++k) {
            TCustomVodPanel* p = panels[k];
            const bool rowEnd = (i + 1) % cols == 0 || k + 1 == panels.size();
            if (p->Visible() && rowEnd) total += p->Height() + FVertPadding;
            ++i;
        }
        if (FCaption->Visible()) total += FCaptionSize;
        extent = Height();
    }
    const bool show = extent < total && total > 0;
    if (show) {
        if (FScrollBar->Position() > total) FScrollBar->SetPosition(total);
        FScrollBar->SetPageSize(0);
        FScrollBar->SetMax(total);
        FScrollBar->SetPageSize(extent);
        FScrollBar->SetLargeChange(extent / 3);
    } else if (FScrollBar->Position() != 0) {
        FScrollBar->SetPosition(0);
    }
    FScrollBar->SetVisible(show);
}

void TVodPanelGroup::Publish(TPublisher<TVodPanelGroup>& p)
{
    using G = TVodPanelGroup;
    p.Integer(L"Columns", &G::Columns, &G::SetColumns).Default = 1;
    p.Object(L"DefaultPanel", &G::DefaultPanel);
    p.Enum(L"GroupStyle", &G::GroupStyle, &G::SetGroupStyle, {L"gsVertical", L"gsHorizontal"}).Default = gsVertical;
    p.Boolean(L"ScrollSmooth", &G::ScrollSmooth, &G::SetScrollSmooth).Default = 0;
    p.Integer(L"MouseWheelDelta", &G::MouseWheelDelta, &G::SetMouseWheelDelta).Default = 0;
    p.Integer(L"HorzPadding", &G::HorzPadding, &G::SetHorzPadding).Default = 8;
    p.Integer(L"VertPadding", &G::VertPadding, &G::SetVertPadding).Default = 8;
}
