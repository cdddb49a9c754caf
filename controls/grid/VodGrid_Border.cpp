// Three window-level features of the grid: its own one-pixel border over
// the window frame in the modern looks, the answers to the tooltip's text
// requests and the embedded date control's change notices, and the quick
// configuration panel shown while the grid is being designed.
#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowManager.h"

namespace {

constexpr size_t kBalloonTextMax = 2048;
constexpr size_t kBalloonTitleMax = 100;

// The record of a date control's change notice.
struct TDateTimeChangeNotify {
    NMHDR hdr;
    DWORD dwFlags;
    SYSTEMTIME st;
};

// The version shown in the quick configuration panel (the grid's version
// query comes with its cell queries).
String DesignVersionText() { return L"1.0.0.0"; }

}  // namespace

// ---------------------------------------------------------------------------
// The border

void TVodStringGrid::DrawNCBorder()
{
    // 1. The modern looks only, and not under a foreign visual style.
    if (!(FLook == glSoft || (FLook >= glQel && FLook <= glCustom))) return;
    if (FUseVCLStyles) return;
    // 2.
    if (BorderStyle() != bsSingle || FBorderColor == clNone) return;
    // A flat grid (its 3D look off) keeps the window's own frame.
    if (!Ctl3D() && FLook != glCustom) return;
    if (!HandleAllocated()) return;
    // 3.
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    const Integer w = Width(), h = Height();
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FBorderColor));
    HGDIOBJ old = SelectObject(dc, pen);
    auto outline = [&](Integer l, Integer t, Integer r, Integer b, Integer startY) {
        MoveToEx(dc, l, startY, nullptr);
        LineTo(dc, l, t);
        LineTo(dc, r, t);
        LineTo(dc, r, b);
        LineTo(dc, l, b);
    };
    if (FFitCellsInGrid) {
        outline(1, 1, w - 2, h - 2, h);
        if (Parent()) {
            HPEN ppen = CreatePen(PS_SOLID, 1, ColorToRGB(Parent()->Color()));
            SelectObject(dc, ppen);
            DeleteObject(pen);
            pen = ppen;
            outline(0, 0, w - 1, h - 1, h);
        }
    } else if (FIsComCtl6) {
        outline(0, 0, w - 1, h - 1, h - 1);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
    ReleaseDC(Handle(), dc);
}

void TVodStringGrid::HandleNCPaint(TMessage& M)
{
    TBaseGrid::Dispatch(M);
    if (FUpdateCount <= 0) {
        DrawNCBorder();
        M.Result = 0;
    }
}

// ---------------------------------------------------------------------------
// Notifications

void TVodStringGrid::HandleNotify(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    if (!hdr) {
        TBaseGrid::Dispatch(M);
        return;
    }
    switch (int(hdr->code)) {
    case DTN_DATETIMECHANGE: {
        if (OnDateTimeChange) {
            const auto* dt = reinterpret_cast<const TDateTimeChangeNotify*>(hdr);
            TDateTime d = 0;
            if (dt->st.wYear && dt->st.wMonth && dt->st.wDay) d = SystemTimeToDateTime(dt->st);
            OnDateTimeChange(this, Col(), Row(), d);
        }
        TBaseGrid::Dispatch(M);
        return;
    }
    case TTN_GETDISPINFOW:
        if (FBalloon->Enable()) BalloonText(*reinterpret_cast<NMTTDISPINFOW*>(hdr));
        return;
    case TTN_SHOW:
    case TTN_POP: return;
    default: TBaseGrid::Dispatch(M);
    }
}

void TVodStringGrid::BalloonText(NMTTDISPINFOW& Info)
{
    // 1. The cell under the mouse, as its base cell and real column.
    TPoint pt;
    GetCursorPos(&pt);
    pt = ScreenToClient(pt);
    Integer c = -1, r = -1;
    MouseToCell(pt.X, pt.Y, c, r);
    const bool valid = c >= 0 && r >= 0;
    if (valid) {
        const TPoint b = BaseCell(c, r);
        c = b.X;
        r = b.Y;
    }
    const Integer rc = valid ? RealColIndex(c) : -1;
    // 2. Its plain text. 3. Tabs to blanks; leading tabs and line breaks
    // skipped; a long text cut.
    String text = valid ? BalloonPlainText(GetCellEx(rc, r)) : String();
    for (wchar_t& ch : text)
        if (ch == L'\t') ch = L' ';
    size_t lead = 0;
    while (lead < text.size() && (text[lead] == L'\n' || text[lead] == L'\r')) ++lead;
    text.erase(0, lead);
    if (text.size() > kBalloonTextMax) text = text.substr(0, kBalloonTextMax - 3) + L"...";
    // 4.
    Integer icon = 1;
    String title = L" ";
    if (!FBalloon->ShowCell()) {
        title.clear();
        text.clear();
    }
    // 5. The cell's own balloon (with the balloons in cells), then the event.
    if (OnCellBalloon) OnCellBalloon(this, rc, r, title, text, icon);
    // 6.
    FLastBalloonCell = TPoint{c, r};
    if (text.size() > kBalloonTextMax) text = text.substr(0, kBalloonTextMax - 3) + L"...";
    FToolTipText = text;
    Info.lpszText = FToolTipText.data();
    if (title.size() > kBalloonTitleMax) title = title.substr(0, kBalloonTitleMax - 3) + L"...";
    FToolTipTitle = title;
    // 7.
    if (HWND tip = Info.hdr.hwndFrom) {
        SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 300);
        if (FBalloon->TextColor() != clNone) SendMessage(tip, TTM_SETTIPTEXTCOLOR, ColorToRGB(FBalloon->TextColor()), 0);
        if (FBalloon->BackgroundColor() != clNone)
            SendMessage(tip, TTM_SETTIPBKCOLOR, ColorToRGB(FBalloon->BackgroundColor()), 0);
        SendMessage(tip, TTM_SETTITLEW, WPARAM(icon >= 0 && icon <= 3 ? icon : 0), LPARAM(FToolTipTitle.c_str()));
    }
}

// ---------------------------------------------------------------------------
// The design panel

TRect TVodStringGrid::DesignPanelRect(Integer& TH)
{
    Canvas()->Font()->SetName(L"Tahoma");
    Canvas()->Font()->SetSize(8);
    Canvas()->Font()->SetStyle(TFontStyles{});
    TH = Canvas()->TextHeight(L"gh");
    const Integer ph = 4 * TH + 18;
    const TRect cr = ClientRect();
    return TRect{cr.Right - 150, cr.Bottom - ph, cr.Right, cr.Bottom};
}

String TVodStringGrid::DesignLookText()
{
    String name;
    GetLookName(FLook, name);
    return L"Set look: " + name;
}

Integer TVodStringGrid::DesignHitTest(Integer X, Integer Y)
{
    Integer th = 0;
    const TRect pr = DesignPanelRect(th);
    const Integer l = th + 2, R = pr.Right, B = pr.Bottom, ph = pr.Height();
    Integer res = -1;
    if (X > R - 16 && Y > B - ph && Y < B - ph + 16) res = 4;
    if (X > R - 150 && X < R - 132 + Canvas()->TextWidth(L"Allow edit") && Y > B - ph + l + 4 && Y < B - ph + 2 * l + 4)
        res = 1;
    if (X > R - 150 && X < R - 132 + Canvas()->TextWidth(L"Column numbers") && Y > B - ph + 2 * l + 4 &&
        Y < B - ph + 3 * l + 4)
        res = 2;
    if (X > R - 150 && X < R - 150 + Canvas()->TextWidth(DesignLookText()) && Y > B - ph + 3 * l + 4 &&
        Y < B - ph + 4 * l + 4)
        res = 3;
    return res;
}

void TVodStringGrid::PaintDesignHelper()
{
    if (!ComponentState().Contains(csDesigning) || !FShowDesignHelper) return;
    Integer th = 0;
    const TRect pr = DesignPanelRect(th);
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clInfoBk);
    c->Pen()->SetColor(TColor(0x808080));
    c->Rectangle(pr);
    c->Font()->SetColor(TColor(0x800000));
    c->Font()->SetStyle(TFontStyles{fsUnderline});
    c->Brush()->SetStyle(bsClear);
    c->TextOut(pr.Left + 4, pr.Top + 4, L"Quick config [v" + DesignVersionText() + L"]");
    DrawResourceBitmap(c, clInfoBk, TRect{pr.Right - 16, pr.Top + 2, pr.Right - 2, pr.Top + 16}, L"VURCLOSE");
    auto check = [&](Integer top, bool on) {
        RECT r{pr.Left + 4, top, pr.Left + 20, top + 16};
        DrawFrameControl(c->Handle(), &r, DFC_BUTTON, UINT(DFCS_BUTTONCHECK) | (on ? UINT(DFCS_CHECKED) : 0u));
    };
    const Integer hover = FDesignHelperChoice;
    auto label = [&](Integer x, Integer y, const String& s, Integer choice) {
        c->Font()->SetStyle(hover == choice ? TFontStyles{fsUnderline} : TFontStyles());
        c->TextOut(x, y, s);
    };
    check(pr.Top + th + 4, Options().Contains(goEditing));
    label(pr.Left + 22, pr.Top + th + 6, L"Allow edit", 1);
    check(pr.Top + 2 * th + 6, FDesignColNumbers);
    label(pr.Left + 22, pr.Top + 2 * th + 8, L"Column numbers", 2);
    label(pr.Left + 4, pr.Top + 3 * th + 10, DesignLookText(), 3);
    c->Brush()->SetStyle(bsSolid);
    c->Font()->SetStyle(TFontStyles{});
}

void TVodStringGrid::HandleDesignHitTest(TMessage& M)
{
    TBaseGrid::Dispatch(M);
    if (!ComponentState().Contains(csDesigning) || !FShowDesignHelper) return;
    const Integer x = SmallInt(LOWORD(M.LParam)), y = SmallInt(HIWORD(M.LParam));
    const Integer choice = DesignHitTest(x, y);
    if (choice != FDesignHelperChoice) {
        const TRect cr = ClientRect();
        TRect r{cr.Right - 150, cr.Bottom - 70, cr.Right, cr.Bottom};
        if (HandleAllocated()) InvalidateRect(Handle(), &r, FALSE);
    }
    FDesignHelperChoice = choice;
    if (choice >= 1 && choice <= 4) M.Result = 1;
}

void TVodStringGrid::DesignHelperClick(Integer X, Integer Y)
{
    const Integer choice = DesignHitTest(X, Y);
    switch (choice) {
    case 1: {
        TGridOptions o = Options();
        if (o.Contains(goEditing))
            o.Exclude(goEditing);
        else
            o.Include(goEditing);
        SetOptions(o);
        DesignHelperChanged(o.Contains(goEditing));
        break;
    }
    case 2: SetShowColNrs(!FDesignColNumbers); break;
    case 3: {
        static const struct {
            const wchar_t* Caption;
            Integer Command;
        } kItems[] = {{L"Standard", 1}, {L"Soft", 2},        {L"Classic", 3},        {L"Qel", 4},        {L"ListView", 6},
                      {L"Office 2007", 9}, {L"Windows XP", 5}, {L"Windows Vista", 7}, {L"Windows 7", 8}};
        auto* menu = new TPopupMenu(this);
        for (const auto& it : kItems) {
            auto* mi = new TMenuItem(menu);
            mi->SetCaption(it.Caption);
            mi->SetChecked(Integer(FLook) == it.Command - 1);
            const Integer cmd = it.Command;
            mi->OnClick = [this, cmd](TObject*) { SetLook(TGridLook(cmd - 1)); };
            menu->Items()->Add(mi);
        }
        const TPoint sp = ClientToScreen(TPoint{X, Y});
        menu->Popup(sp.X, sp.Y);
        delete menu;
        break;
    }
    case 4:
        SetShowDesignHelper(false);
        break;
    default: return;
    }
    // The designer notices the change when the form's width moves.
    if (choice >= 1 && choice <= 3) {
        if (TCustomForm* f = FindParentForm()) {
            f->SetWidth(f->Width() - 1);
            f->SetWidth(f->Width() + 1);
        }
    }
}

void TVodStringGrid::SetShowColNrs(bool Value)
{
    FDesignColNumbers = Value;
    Invalidate();
}
