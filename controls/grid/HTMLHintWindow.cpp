#include "controls/grid/HTMLHintWindow.h"

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/gfx/Graphics.h"

namespace {

constexpr Integer kMargin = 4;          // height added to the text
constexpr Integer kActivateWidth = 1008;  // width a hint may take at most
constexpr TColor kShadowColor = TColor(0x808080);
constexpr TColor kLinkColor = TColor(0xFF0000);

bool IsPackedWide(const String& S) { return DetectTextMarkup(S, true) == tkPackedWide; }

void FillMarkup(TMarkupParams& P, TCanvas* C, const String& Text, const TRect& R, TCustomImageList* Images,
                TPictureContainer* Container)
{
    P.Canvas = C;
    P.Text = Text;
    P.Rect = R;
    P.Images = Images;
    P.Container = Container;
    P.ImageCache = nullptr;
    P.ShadowColor = kShadowColor;
    P.HoverColor = clNone;
    P.HoverFontColor = clNone;
    P.URLColor = kLinkColor;
}

}  // namespace

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void THTMLHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    Params.Style &= ~DWORD(WS_BORDER);
    Params.WindowClass.style |= CS_DROPSHADOW;
}

bool THTMLHintWindow::Measure(const String& AHint, Integer MaxWidth, Integer& W, Integer& H, String& Wide)
{
    // Measured on a scratch canvas so that no window is needed yet.
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font()->Assign(Font());
    if (IsPackedWide(AHint)) {
        if (!GridUnit().HintFontName.empty()) c->Font()->SetName(GridUnit().HintFontName);
        Wide = UnpackWideText(AHint);
        TRect r = Rect(0, 0, MaxWidth, 0);
        DrawText(c->Handle(), Wide.c_str(), int(Wide.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        W = r.Width();
        H = r.Height();
        return true;
    }
    TMarkupParams p;
    FillMarkup(p, c, AHint, Rect(0, 0, MaxWidth, 0), Images, PictureContainer);
    p.CheckHeight = true;
    VurHTMLE::RenderMarkup(p);
    W = p.XSize;
    H = p.YSize;
    return false;
}

TRect THTMLHintWindow::CalcHintRect(Integer MaxWidth, const String& AHint, void*)
{
    Integer w = 0, h = 0;
    String wide;
    Measure(AHint, MaxWidth, w, h, wide);
    return Rect(0, 0, w, h);
}

void THTMLHintWindow::ActivateHintData(TRect Rect, const String& AHint, void* AData)
{
    if (AData) {
        if (auto* g = dynamic_cast<TVodStringGrid*>(static_cast<TObject*>(AData))) {
            Images = g->GridImages();
            PictureContainer = g->PictureContainer();
        }
    }
    THintWindow::ActivateHintData(Rect, AHint, AData);
}

void THTMLHintWindow::ActivateHint(TRect Rect, const String& AHint)
{
    // 1.
    SetCaption(AHint);
    Rect.Right = Rect.Left + kActivateWidth;
    // 2. - 3.
    Integer w = 0, h = 0;
    String wide;
    const bool isWide = Measure(AHint, kActivateWidth, w, h, wide);
    FWideCaption = isWide ? wide : String();
    const Integer extra = isWide ? 8 : 16;
    FTextWidth = w;
    FTextHeight = h;
    Rect.Right = Rect.Left + w + extra;
    Rect.Bottom = Rect.Top + h + kMargin;
    // 4. Kept on the monitor nearest to its top-left corner.
    MONITORINFO mi;
    if (GetMonitorInfo(::MonitorFromPoint(TPoint{Rect.Left, Rect.Top}, MONITOR_DEFAULTTONEAREST), &mi)) {
        const TRect m = mi.rcMonitor;
        if (Rect.Right - m.Left > m.Width()) OffsetRect(Rect, m.Right - 2 - Rect.Right, 0);
        if (Rect.Bottom - m.Top > m.Height()) {
            Rect.Bottom = m.Top + m.Height() - 2;
            Rect.Top = Rect.Bottom - h - kMargin;
        }
    }
    // 5. Topmost, shown, never activated.
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    Invalidate();
}

void THTMLHintWindow::PaintWindow(HDC DC)
{
    // The platform hint's own plain text is not drawn: Paint draws it all.
    TCustomControl::PaintWindow(DC);
}

void THTMLHintWindow::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    // 1.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    // 2. A raised edge.
    c->Pen()->SetColor(cl3DLight);
    c->MoveTo(r.Left, r.Bottom - 2);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(cl3DDkShadow);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Top - 1);
    // 3.
    TRect t = r;
    t.Left += 4;
    t.Right -= 4;
    t.Top += (r.Height() - FTextHeight) / 2;
    t.Bottom = t.Top + FTextHeight + 8;
    c->Brush()->SetColor(Color());
    c->Font()->Assign(Font());
    // 4.
    if (!FWideCaption.empty() && IsPackedWide(Caption())) {
        if (!GridUnit().HintFontName.empty()) c->Font()->SetName(GridUnit().HintFontName);
        c->Brush()->SetStyle(bsClear);
        DrawText(c->Handle(), FWideCaption.c_str(), int(FWideCaption.size()), &t, DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    TMarkupParams p;
    FillMarkup(p, c, Caption(), t, Images, PictureContainer);
    VurHTMLE::RenderMarkup(p);
}

void THTMLHintWindow::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    THintWindow::Dispatch(Message);
}
