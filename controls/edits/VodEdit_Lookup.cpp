// TVodEdit: the lookup popup (refresh, keys, taking an entry, hiding, the
// history on focus loss) and the persistence of the text and the lookup
// lists in an INI file or under a registry key.
#include <algorithm>

#include "controls/edits/VodEdit.h"
#include "platform/base/Files.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"

// ---------------------------------------------------------------------------
// The popup classes

void TListBoxTab::Dispatch(TMessage& M)
{
    if (M.Msg == WM_GETDLGCODE) {
        M.Result = FHandleTab ? DLGC_WANTTAB : 0;
        return;
    }
    TListBox::Dispatch(M);
}

void TListBoxTab::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawRow) {
        OnDrawRow(Index, Rect, State);
        return;
    }
    TListBox::DrawItem(Index, Rect, State);
}

void TListHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    Params.Style |= WS_BORDER;
    Params.WindowClass.style |= CS_DROPSHADOW;
    Params.ExStyle |= WS_EX_TOPMOST;
}

void TListHintWindow::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_ACTIVATE:
        if (LOWORD(M.WParam) != WA_INACTIVE) {
            if (FListControl && FListControl->CanFocus() &&
                !FListControl->ComponentState().Contains(csDestroying))
                FListControl->SetFocus();
        } else {
            SetVisible(false);
        }
        return;
    case WM_NCHITTEST: {
        TRect r;
        GetWindowRect(Handle(), &r);
        const TPoint p = LParamToPoint(M.LParam);
        M.Result = (p.X > r.Left + r.Width() - 10 && p.Y > r.Top + r.Height() - 10) ? HTBOTTOMRIGHT : 0;
        if (M.Result == 0) THintWindow::Dispatch(M);
        return;
    }
    default: break;
    }
    THintWindow::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Refresh

bool TVodEdit::LookupVisible() const
{
    return FLookupList && FLookupList->HandleAllocated() && IsWindowVisible(FLookupList->Handle());
}

void TVodEdit::DoLookupNeedData(const String& Value, TStrings* List, Integer& ItemIndex)
{
    if (OnLookupNeedData) OnLookupNeedData(this, Value, List, ItemIndex);
}

void TVodEdit::DoneLookup()
{
    if (!FLookupList) return;
    if (FLookupList->HandleAllocated()) ShowWindow(FLookupList->Handle(), SW_HIDE);
    FLookupList->SetVisible(false);
}

namespace {

// The entry index a row carries (its DisplayList index).
TObject* IndexTag(Integer i) { return reinterpret_cast<TObject*>(intptr_t(i)); }
Integer TagIndex(TObject* o) { return Integer(reinterpret_cast<intptr_t>(o)); }

}  // namespace

void TVodEdit::RefreshLookup()
{
    if (!FLookup->Enabled()) return;
    String T = GetText();
    Integer o = 0;
    if (FLookup->Multi()) {
        const Char sep = FLookup->Separator();
        for (size_t q; (q = T.find(sep)) != String::npos;) {
            o += Integer(q) + 1;
            T.erase(0, q + 1);
        }
    }
    if (!FLookupList || Integer(T.size()) < FLookup->NumChars() || !HandleAllocated()) {
        if (FLookupList) {
            DoneLookup();
            FLookupList->SetParentWindow(nullptr);
        }
        return;
    }
    TListBoxTab* lb = FLookupListBox;
    FLookupList->SetCaption(L"  ");
    FLookupList->SetColor(FLookup->Color());
    lb->SetColor(FLookup->Color());
    FLookupList->SetColor(clWindow);
    lb->Font()->Assign(FLookup->Font());
    lb->SetCtl3D(false);
    lb->SetHandleTab(FLookup->AcceptOnTab());
    const TPoint origin = ClientToScreen(TPoint{0, 0});
    const TRect wr = [&] {
        TRect r;
        GetWindowRect(FHandle, &r);
        return r;
    }();
    const Integer X0 = wr.Left, Y0 = wr.Top, E = Height();
    (void)origin;
    Integer x = 0;
    {
        const LRESULT p = SendMessage(FHandle, EM_POSFROMCHAR, WPARAM(o), 0);
        if (p != -1) x = GET_X_LPARAM(p);
        x = std::min(x, Width());
    }

    TStringList rows;
    const bool cs = FLookup->CaseSensitive();
    const String needle = cs ? T : AnsiUpperCase(T);
    TStringList* display = FLookup->DisplayList();
    TStringList* values = FLookup->ValueList();
    static const wchar_t* const opens[] = {L"(", L"[", L"<", L""};
    static const wchar_t* const closes[] = {L")", L"]", L">", L""};
    for (Integer i = 0; i < display->Count(); ++i) {
        const String entry = display->Strings(i);
        const Integer m1 = Pos(needle, cs ? entry : AnsiUpperCase(entry));
        Integer m2 = -1;
        if (FLookup->SearchValue() && i < values->Count()) {
            const String v = values->Strings(i);
            m2 = Pos(needle, cs ? v : AnsiUpperCase(v));
        }
        const bool match = FFullTextSearch ? (m1 > 0 || m2 > 0) : (m1 == 1 || m2 == 1);
        if (!match) continue;
        String shown = entry;
        if (FLookup->ShowValue() && i < values->Count() && !values->Strings(i).empty()) {
            const Integer k = Integer(FLookup->ValueSeparator());
            shown += String(L" ") + opens[k] + values->Strings(i) + closes[k];
        }
        rows.AddObject(shown, IndexTag(i));
    }
    Integer itemIndex = 0;
    DoLookupNeedData(T, &rows, itemIndex);
    rows.SetSorted(true);
    lb->Items()->Assign(&rows);
    const Integer N = lb->Items()->Count();

    // Row height and the popup's size from the list font.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, lb->Font()->Handle());
    SIZE gh{};
    GetTextExtentPoint32(dc, L"gh", 2, &gh);
    Integer widest = 50;
    for (Integer i = 0; i < N; ++i) {
        const String s = lb->Items()->Strings(i);
        SIZE sz{};
        GetTextExtentPoint32(dc, s.c_str(), Integer(s.size()), &sz);
        widest = std::max<Integer>(widest, sz.cx);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    const Integer rowH = gh.cy + FLookup->Spacing();
    lb->SetItemHeight(std::max<Integer>(rowH, 1));
    const Integer h = rowH * std::min(N, FLookup->DisplayCount()) + 4;
    Integer w = widest + 8;
    if (N > FLookup->DisplayCount()) w += GetSystemMetrics(SM_CXHSCROLL);

    if (N < 1) {
        DoneLookup();
        return;
    }
    FLookupList->SetParentWindow(FHandle);
    FLookupList->HandleNeeded();
    lb->SetItemIndex(std::clamp(itemIndex, 0, N - 1));
    const HWND ph = FLookupList->Handle();
    MoveWindow(ph, X0 + x + 8, Y0 + E - 4, w, h, TRUE);
    FLookupList->SetVisible(true);
    ShowWindow(ph, SW_SHOWNOACTIVATE);
    SetWindowPos(ph, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    lb->SetItemIndex(std::clamp(itemIndex, 0, N - 1));
}

// ---------------------------------------------------------------------------
// Taking an entry, keys

void TVodEdit::TakeLookupEntry()
{
    if (!FLookupListBox) return;
    const Integer row = FLookupListBox->ItemIndex();
    if (row < 0) return;
    const Integer i = TagIndex(FLookupListBox->Items()->Objects(row));
    String V = FLookupListBox->Items()->Strings(row);
    if (HandleAllocated()) {
        SetForegroundWindow(FHandle);
        SetActiveWindow(FHandle);
        ::SetFocus(FHandle);
    }
    DoneLookup();
    TStringList* values = FLookup->ValueList();
    if (values->Count() > 0) {
        if (i >= 0 && i < values->Count()) V = values->Strings(i);
    }
    if (OnLookupSelect) OnLookupSelect(this, V);
    if (OnLookupIndexSelect) OnLookupIndexSelect(this, i, V);
    if (FLookup->Multi()) {
        V += FLookup->Separator();
        const String t = GetText();
        const size_t last = t.rfind(FLookup->Separator());
        const String head = last == String::npos ? String() : t.substr(0, last + 1);
        SetText(head + V);
        if (HandleAllocated()) {
            SetSelStart(Integer(WindowText().size()) - Integer(FSuffix.size()));
            SetSelLength(0);
        }
    } else {
        SetText(V);
        SelectAll();
    }
}

void TVodEdit::MoveLookupHighlight(Integer Key)
{
    if (!FLookupListBox) return;
    const Integer n = FLookupListBox->Items()->Count();
    if (n == 0) return;
    Integer i = FLookupListBox->ItemIndex();
    const Integer page = FLookup->DisplayCount();
    switch (Key) {
    case VK_UP: if (i > 0) --i; break;
    case VK_DOWN: if (i + 1 < n) ++i; break;
    case VK_HOME: i = 0; break;
    case VK_END: i = n - 1; break;
    case VK_NEXT: i = i + page < n ? i + page : n - 1; break;
    case VK_PRIOR: i = i > page ? i - page : 0; break;
    default: return;
    }
    FLookupListBox->SetItemIndex(i);
}

void TVodEdit::LookupListKeyPress(TObject*, wchar_t& Key)
{
    if (Key == L'\r' || (Key == L'\t' && FLookup->AcceptOnTab())) {
        Key = 0;
        TakeLookupEntry();
    } else if (Key == 27) {
        Key = 0;
        DoneLookup();
        if (HandleAllocated()) ::SetFocus(FHandle);
    }
}

void TVodEdit::LookupListMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) { TakeLookupEntry(); }

void TVodEdit::CMCancelMode(TMessage& M)
{
    TCustomEdit::Dispatch(M);
    DoneLookup();
}

void TVodEdit::AddToLookupHistory()
{
    const String t = Trim(GetText());
    if (FLookup->Enabled() && FLookup->History() && !t.empty() && FLookup->DisplayList()->IndexOf(t) < 0)
        FLookup->DisplayList()->Add(t);
}

// ---------------------------------------------------------------------------
// Persistence

TCustomIniFile* TVodEdit::OpenPersistStore()
{
    if (FPersistence->Location() == plRegistry) return new TRegistryIniFile(FPersistence->Key());
    if (FPersistence->Key().empty()) FPersistence->SetKey(ChangeFileExt(ParamStr(0), L".INI"));
    if (FPersistence->Section().empty()) FPersistence->SetSection(Name());
    // One safe write of the whole file per save.
    return new TMemIniFile(FPersistence->Key());
}

void TVodEdit::LoadPersist()
{
    if (!FPersistence->Enable()) return;
    std::unique_ptr<TCustomIniFile> ini(OpenPersistStore());
    const String sec = FPersistence->Section();
    if (FLookup->Enabled() && FLookup->History()) {
        const Integer count = ini->ReadInteger(sec, L"LOOKUPCOUNT", 0);
        for (Integer n = 1; n <= count; ++n) {
            // The two lists stay aligned: an empty value is kept too.
            const String v = ini->ReadString(sec, L"LOOKUPVAL" + IntToStr(n), L"");
            if (!v.empty() || ini->ValueExists(sec, L"LOOKUPVAL" + IntToStr(n))) FLookup->ValueList()->Add(v);
            const String d = ini->ReadString(sec, L"LOOKUPDISPL" + IntToStr(n), L"");
            if (!d.empty()) FLookup->DisplayList()->Add(d);
        }
    }
    const String t = ini->ReadString(sec, Name(), L"@");
    if (t != L"@") SetWindowText(t);
}

void TVodEdit::SavePersist()
{
    if (!FPersistence->Enable()) return;
    std::unique_ptr<TCustomIniFile> ini(OpenPersistStore());
    const String sec = FPersistence->Section();
    ini->WriteString(sec, Name(), WindowText());
    if (FLookup->Enabled() && FLookup->History()) {
        TStringList* d = FLookup->DisplayList();
        TStringList* v = FLookup->ValueList();
        ini->WriteInteger(sec, L"LOOKUPCOUNT", d->Count());
        for (Integer n = 1; n <= d->Count(); ++n) {
            ini->WriteString(sec, L"LOOKUPDISPL" + IntToStr(n), d->Strings(n - 1));
            if (n <= v->Count()) ini->WriteString(sec, L"LOOKUPVAL" + IntToStr(n), v->Strings(n - 1));
        }
    }
    ini->UpdateFile();
}
