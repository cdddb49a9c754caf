// The grid's balloon tooltip window, the transfer of the search footer
// settings onto the search panel with its placement, and the client area
// that leaves room for the panel.
#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowManager.h"

namespace {
constexpr Integer kSearchPanelHeight = 32;
}  // namespace

// ---------------------------------------------------------------------------
// The balloon tooltip window

void TVodStringGrid::CreateBalloonWindow() { BalloonInit(); }
void TVodStringGrid::RemoveBalloonWindow() { BalloonDone(); }

void TVodStringGrid::BalloonInit()
{
    if (FBalloon->FInit) return;
    FBalloon->FInit = true;
    FHToolTip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               HandleAllocated() ? Handle() : nullptr, nullptr, HInstance, nullptr);
    if (FHToolTip)
        SetWindowPos(FHToolTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    // The grid as the tool, its text asked for when the tip shows.
    if (FHToolTip && HandleAllocated()) {
        TOOLINFOW ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = Handle();
        ti.uId = UINT_PTR(Handle());
        ti.rect = ClientRect();
        ti.hinst = HInstance;
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessage(FHToolTip, TTM_ADDTOOLW, 0, LPARAM(&ti));
        wchar_t title[256] = {};
        const String t = L"ToolTipText";
        std::copy(t.begin(), t.end(), title);
        SendMessage(FHToolTip, TTM_SETTITLEW, 3, LPARAM(title));
    }
    if (!FHToolTip) return;
    if (FBalloon->InitialDelay() != -1) SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_INITIAL, FBalloon->InitialDelay());
    if (FBalloon->ReshowDelay() != -1) SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_RESHOW, FBalloon->ReshowDelay());
    if (FBalloon->AutoHideDelay() != -1)
        SendMessage(FHToolTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, FBalloon->AutoHideDelay());
    if (FBalloon->Transparency() > 0) {
        SetWindowLong(FHToolTip, GWL_EXSTYLE, GetWindowLong(FHToolTip, GWL_EXSTYLE) | WS_EX_LAYERED);
        DynSetLayeredWindowAttributes(FHToolTip, 0, Byte(255 - FBalloon->Transparency()), LWA_ALPHA);
    }
}

void TVodStringGrid::BalloonDone()
{
    if (!FBalloon->FInit) return;
    if (FHToolTip) DestroyWindow(FHToolTip);
    FHToolTip = nullptr;
    FBalloon->FInit = false;
}

void TVodStringGrid::DestroyWnd()
{
    TBaseGrid::DestroyWnd();
    if (!ComponentState().Contains(csDesigning)) BalloonDone();
}

// ---------------------------------------------------------------------------
// The search footer

void TVodStringGrid::ApplySearchFooterSettings()
{
    if (ComponentState().Contains(csLoading) || !FSearchPanel) return;
    TSearchFooter* sf = FSearchFooter.get();
    TSearchPanel* p = FSearchPanel;
    // 1.
    if ((p->HighLightButton()->Down() && p->Visible() && !sf->Visible()) || sf->AlwaysHighLight()) Invalidate();
    // 2.
    p->SetColor(sf->Color());
    p->SetColorTo(sf->ColorTo());
    p->SetVisible(sf->Visible());
    p->FindNextCaption = sf->FindNextCaption();
    p->FindPrevCaption = sf->FindPrevCaption();
    p->HighLightCaption = sf->HighLightCaption();
    p->MatchCaseCaption = sf->MatchCaseCaption();
    p->HintFindNext = sf->HintFindNext();
    p->HintFindPrev = sf->HintFindPrev();
    p->HintClose = sf->HintClose();
    p->HintHighlight = sf->HintHighlight();
    p->ForwardButton()->SetCaption(sf->FindNextCaption());
    p->BackwardButton()->SetCaption(sf->FindPrevCaption());
    p->MatchCase()->SetCaption(sf->MatchCaseCaption());
    p->HighLightButton()->SetCaption(sf->HighLightCaption());
    p->Font()->Assign(sf->Font());
    // 3. The look of the three caption buttons.
    TVodGridButton* const buttons[] = {p->ForwardButton(), p->BackwardButton(), p->HighLightButton()};
    for (TVodGridButton* b : buttons) {
        switch (FControlLook->ControlStyle()) {
        case TControlLook::csFlat: b->SetFlat(true); break;
        case TControlLook::csWinXP:
        case TControlLook::csTheme:
            if (!sf->AutoThemeAdapt()) {
                b->SetAutoXPStyle(true);
                b->SetFlat(false);
            }
            break;
        case TControlLook::csClassic:
            b->SetAutoXPStyle(false);
            b->SetFlat(false);
            break;
        default: break;
        }
        if (sf->AutoThemeAdapt()) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        }
    }
    // 4. Visibility and hints.
    p->HighLightButton()->SetVisible(sf->ShowHighLight());
    p->ExitButton()->SetVisible(sf->ShowClose());
    p->MatchCase()->SetVisible(sf->ShowMatchCase());
    p->MatchCase()->SetTransparent(true);
    p->BackwardButton()->SetVisible(sf->ShowFindPrev());
    p->ForwardButton()->SetVisible(sf->ShowFindNext());
    const std::pair<TControl*, String> hints[] = {{p->ForwardButton(), sf->HintFindNext()},
                                                  {p->BackwardButton(), sf->HintFindPrev()},
                                                  {p->ExitButton(), sf->HintClose()},
                                                  {p->HighLightButton(), sf->HintHighlight()}};
    for (const auto& [c, h] : hints) {
        c->SetHint(h);
        c->SetShowHint(!h.empty());
    }
    // 5. Layout.
    TVodCheckBox* mc = p->MatchCase();
    mc->SetBounds(p->HighLightButton()->Visible() ? 425 : 330, mc->Top(), 200, mc->Visible() ? 18 : 0);
    for (TVodGridButton* b : buttons) b->SetHeight(b->Visible() ? 23 : 0);
    if (sf->Visible()) {
        p->SetHeight(kSearchPanelHeight);
        UpdateSearchPanel();
    } else {
        p->SetHeight(0);
    }
}

void TVodStringGrid::UpdateSearchPanel()
{
    if (!HandleAllocated() || !FSearchPanel || !FSearchPanel->Visible()) return;
    // At the foot of the client area (which ends above a horizontal scroll
    // bar and inside the border), the rule the client rectangle follows: the
    // panel and the last rows never overlap.
    const TRect cr = TBaseGrid::ClientRect();
    const Integer top = cr.Bottom - kSearchPanelHeight;
    FSearchPanel->SetBounds(cr.Left, top, cr.Width(), FSearchPanel->Height());
}

// ---------------------------------------------------------------------------
// The client area

TRect TVodStringGrid::ClientRect()
{
    TRect r = TBaseGrid::ClientRect();
    if (FSearchFooter && FSearchFooter->Visible() && FSearchPanel) {
        r.Bottom = std::max(r.Top, r.Bottom - FSearchPanel->Height());
    }
    return r;
}

// ---------------------------------------------------------------------------
// Balloon texts

// The plain text a balloon shows for a cell text.
String TVodStringGrid::BalloonPlainText(const String& S)
{
    switch (DetectTextMarkup(S, true)) {
    case 1: {
        String plain;
        StripMarkup(S, plain);
        return plain;
    }
    case 2: {
        // The rich text's plain text; a text the reader cannot take shows
        // as it is.
        std::string bytes;
        bytes.reserve(S.size());
        for (wchar_t c : S) bytes.push_back(char(c & 0xFF));
        try {
            TRichDocument doc;
            ReadRtf(bytes, doc);
            return doc.Text();
        } catch (const Exception&) {
            return S;
        }
    }
    case 5: return UnpackWideText(S);
    default: return S;
    }
}

