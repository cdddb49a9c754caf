// Layout and drawing: RenderMarkup lays the text out line by line, each line
// twice (measure, then draw or hit-test at its aligned place), and the tag
// handlers change the drawing state.
#include <algorithm>

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/markup/MarkupEngine.h"
#include "controls/markup/MarkupEngine_Internal.h"

using namespace markup_detail;

TMarkupPolicy ReferenceMarkupPolicy() { return TMarkupPolicy(); }

bool RenderMarkup(TMarkupParams& P) { return RenderMarkup(P, ReferenceMarkupPolicy()); }

bool RenderMarkup(TMarkupParams& P, const TMarkupPolicy& Policy)
{
    if (!P.Canvas) return false;
    TMarkupRenderer r(P, Policy);
    return r.Run();
}

namespace markup_detail {

namespace {
Char Up(Char c) { return (c >= L'a' && c <= L'z') ? Char(c - 32) : c; }
}  // namespace

TMarkupRenderer::TMarkupRenderer(TMarkupParams& AP, const TMarkupPolicy& Policy)
    : P(AP), Pol(Policy), C(AP.Canvas)
{
}

TMarkupRenderer::~TMarkupRenderer() { RestoreFont(); }

void TMarkupRenderer::SetBrushColor(TColor c)
{
    if (c == clNone) {
        C->Brush()->SetStyle(bsClear);
    } else {
        C->Brush()->SetColor(c);
        C->Brush()->SetStyle(bsSolid);
    }
}

TColor TMarkupRenderer::BrushColorOrNone()
{
    return C->Brush()->Style() == bsClear ? clNone : C->Brush()->Color();
}

Integer TMarkupRenderer::ScaleX(Integer v) { return MulDiv(v, GetDeviceCaps(Dc, LOGPIXELSX), 96); }
Integer TMarkupRenderer::ScaleY(Integer v) { return MulDiv(v, GetDeviceCaps(Dc, LOGPIXELSY), 96); }

void TMarkupRenderer::SelectRotatedFont(Integer Angle)
{
    RestoreFont();
    C->RequireState();
    LOGFONTW lf{};
    GetObject(C->Font()->Handle(), sizeof(lf), &lf);
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = Angle * 10;
    RotatedFont = CreateFontIndirect(&lf);
    SavedFontHandle = HFONT(SelectObject(Dc, RotatedFont));
}

void TMarkupRenderer::RestoreFont()
{
    if (!RotatedFont) return;
    // The canvas may have chosen another font since; its own font goes back.
    SelectObject(Dc, C->Font()->Handle());
    DeleteObject(RotatedFont);
    RotatedFont = nullptr;
    SavedFontHandle = nullptr;
}

bool TMarkupRenderer::Run()
{
    Dc = C->Handle();
    const bool grid = Pol.GridRules;
    Base.Assign(C->Font());
    for (int i = 0; i < 2; ++i) {
        PassCanvasFont[i].Assign(C->Font());
        PassBaseFont[i].Assign(C->Font());
    }
    StartBrush = C->Brush()->Color();
    const TBrushStyle startBrushStyle = C->Brush()->Style();
    StartPenColor = C->Pen()->Color();
    StartPenWidth = C->Pen()->Width();
    SetBrushColor(clNone);
    FontSavedBrush = PSavedBrush = clNone;
    P.HyperLinks = P.YSize = P.XSize = 0;
    P.AnchorVal.clear();
    P.StripVal.clear();
    P.FocusAnchor.clear();
    P.AnchorTitle.clear();
    P.MouseLink = -1;
    if (Pol.ControlTags) {
        P.ControlRect = TRect();
        P.ControlValue.clear();
        P.ControlType.clear();
        if (!P.CheckOnly) P.ControlID.clear();
        RequestedControlID = P.ControlID;
        Themed = Pol.WinXP && ThemeAPI().IsThemeActive && ThemeAPI().IsThemeActive() != 0;
    }
    if (grid && P.ResFactor < 1) P.ResFactor = 1;
    SetBkMode(Dc, TRANSPARENT);

    Flags = BiDiDrawFlags(DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING, P.BiDiMode);
    NoPrefix = Pol.NoPrefixOnAmpersand && P.Text.find(L" & ") != String::npos;
    if (NoPrefix) Flags |= DT_NOPREFIX;
    if (!P.WordWrap) Flags |= DT_END_ELLIPSIS;

    String text = P.Text;
    if (text.find(L'&') != String::npos) text = DecodePreparedEntities(text);
    RemoveHashMarkers(text, text);
    if (grid) GridCRToBRTags(text, Pol.ConvertCR, text);
    else CRToBRTags(text, true, text);

    bool result = false;
    TRect lineR = P.Rect;
    if (grid) lineR.Left += 1;
    size_t cur = 0, end = text.size();
    MainText = &text;
    if (!grid)
        while (end > 0 && IsBlankOrControl(text[end - 1])) --end;
    while (cur < end) {
        C->Font()->Assign(&PassCanvasFont[0]);
        Base.Assign(&PassBaseFont[0]);
        const bool savedInLink = InLink;
        const String savedHRef = HRef, savedTitle = Title;
        L.SupRoom = L.SubRoom = L.BaselineGap = 0;
        Sub = Sup = false;
        HiUsed = false;
        const Integer savedAnchors = P.HyperLinks, savedLevel = ListLevel, savedImages = Images;
        const Integer h0 = C->TextHeight(L"gh");
        if (!grid) {
            while (cur < end && IsBlankOrControl(text[cur])) ++cur;
            if (cur >= end) break;
        }
        const bool savedShadow = Shadow, savedHidden = Hidden;
        const Integer savedPFloat = L.PFloat;
        ++LineNo;

        const size_t before = cur;
        FirstPass = true;
        String consumed = RenderLine(text, cur, end, lineR, h0, true, false);
        FirstPass = false;
        if (DropRest) cur = end;
        if (cur == before && cur < end) {
            // Nothing fitted and nothing was consumed: never loop on it.
            consumed += text[cur];
            ++cur;
        }
        Shadow = savedShadow;
        Hidden = savedHidden;
        InLink = savedInLink;
        HRef = savedHRef;
        if (grid) Title = savedTitle;
        PassCanvasFont[0].Assign(C->Font());
        PassBaseFont[0].Assign(&Base);

        const Integer lineH = L.Height + (Pol.UseLineSpacing ? P.LineSpacing : 0);
        TRect dr = lineR;
        if (L.Align == 1) {
            if (dr.Right - L.Width > dr.Left) dr.Left = dr.Right - L.Width;
        } else if (L.Align == 2) {
            Integer d = dr.Right - dr.Left - L.Width;
            if (d > 0) dr.Left += d / 2;
        }
        dr.Left += L.Indent;
        dr.Bottom = dr.Top + lineH + L.SubRoom + L.SupRoom;
        Integer advance = lineH;
        if (!P.CheckHeight) {
            C->Font()->Assign(&PassCanvasFont[1]);
            Base.Assign(&PassBaseFont[1]);
            P.HyperLinks = savedAnchors;
            ListLevel = savedLevel;
            Images = savedImages;
            Sub = Sup = false;
            size_t c2 = 0;
            RenderLine(consumed, c2, consumed.size(), dr, lineH, P.CheckOnly, !P.CheckOnly);
            PassCanvasFont[1].Assign(C->Font());
            PassBaseFont[1].Assign(&Base);
            // The drawing layout advances by the height with the line spacing,
            // as the measured layout does.
            advance = grid ? L.Height : std::max(L.Height, lineH);
            if (L.Float.Bottom != 0 && dr.Top > L.Float.Bottom) L.Float = TRect();
            lineR.Left = P.Rect.Left + L.Float.Left;
            lineR.Right = P.Rect.Right - L.Float.Right;
            const Integer band = dr.Bottom - L.BaselineGap;
            if ((L.OnAnchorText && P.YPos > band - C->TextHeight(L"gh") && P.YPos < band) || L.OnAnchorImage)
                result = true;
        }
        if (L.PFloat != 0 && savedPFloat == 0) {
            lineR.Left = L.PFloatPos.X;
            lineR.Top = L.PFloatPos.Y;
            L.PFloat = 0;
        } else {
            const Integer step = advance + L.SubRoom + L.SupRoom;
            lineR.Top += step;
            P.YSize += step;
        }
        if (!P.CheckHeight && h0 + lineR.Top > P.Rect.Bottom) break;
    }
    if (P.YSize == 0) P.YSize = C->TextHeight(L"gh");
    P.XSize = MaxWidth <= 0 ? 0 : (grid ? MaxWidth : MaxWidth + 2);
    RestoreFont();
    C->Brush()->SetColor(StartBrush);
    C->Brush()->SetStyle(startBrushStyle);
    C->Font()->Assign(&Base);
    if (grid) {
        C->Pen()->SetColor(StartPenColor);
        C->Pen()->SetWidth(StartPenWidth);
    }
    if (P.CheckHeight) result = false;
    return result;
}

Integer TMarkupRenderer::MeasureRun(const String& Display)
{
    C->RequireState();
    TRect r = L.R;
    DrawTextStr(Dc, Display, &r, Flags | DT_CALCRECT);
    return r.Right - r.Left;
}

void TMarkupRenderer::DrawErrorMark(Integer Left, Integer Right)
{
    const TColor pc = C->Pen()->Color();
    const Integer pw = C->Pen()->Width();
    C->Pen()->SetColor(clRed);
    C->Pen()->SetWidth(1);
    const Integer bottom = L.R.Bottom;
    Integer x = (Left / 2) * 2;
    Integer phase = (x % 4 == 0) ? 2 : 0;
    C->MoveTo(x, bottom + phase - 1);
    while (x < Right) {
        phase = 2 - phase;
        C->LineTo(x + 2, bottom + phase - 1);
        x += 2;
    }
    C->Pen()->SetColor(pc);
    C->Pen()->SetWidth(pw);
}

void TMarkupRenderer::DrawRun(const String& Display, Integer RunWidth, Integer RunHeight)
{
    const bool grid = Pol.GridRules;
    Integer bottom = L.R.Bottom - L.BaselineGap;
    if (Sup) bottom -= L.SupRoom;
    if (Sub) bottom += L.SubRoom;
    TRect r{CurLeft, std::min(L.R.Top, bottom - RunHeight), L.R.Right, bottom};
    if (!grid && C->Font()->Style().Contains(fsItalic)) r.Right += 2;
    const UINT df = grid ? Flags : (Flags & ~UINT(DT_EXTERNALLEADING));
    bool draw = true;
    if (!grid && !P.WordWrap && CurLeft >= L.R.Right - C->TextWidth(L"l")) draw = false;
    if (draw && RotatedFont) {
        // Text under ROT is drawn by the rotated font from the run's start on
        // the baseline band; prefix characters are resolved here.
        String t;
        for (size_t i = 0; i < Display.size(); ++i) {
            if (!NoPrefix && Display[i] == L'&' && i + 1 < Display.size()) ++i;
            t += Display[i];
        }
        C->RequireState();
        SelectObject(Dc, RotatedFont);
        TextOut(Dc, r.Left, bottom - RunHeight, t.c_str(), int(t.size()));
        draw = false;
    }
    if (draw) {
        if (Shadow) {
            const TColor fc = C->Font()->Color();
            C->Font()->SetColor(P.ShadowColor);
            TRect sr{r.Left + P.ShadowOffset, r.Top + P.ShadowOffset, r.Right + P.ShadowOffset,
                     r.Bottom + P.ShadowOffset};
            C->RequireState();
            DrawTextStr(Dc, Display, &sr, df);
            C->Font()->SetColor(fc);
        }
        C->RequireState();
        DrawTextStr(Dc, Display, &r, df);
    }
    if (InLink && P.FocusLink + 1 == P.HyperLinks) P.FocusAnchor = HRef;
    if (Error) DrawErrorMark(CurLeft, CurLeft + RunWidth);
    CurLeft += RunWidth;
}

String TMarkupRenderer::RenderLine(const String& Src, size_t& Cur, size_t End, TRect LR, Integer H1,
                                   bool Measuring, bool Drawing)
{
    const bool grid = Pol.GridRules;
    const size_t start = Cur;
    if (!grid) Title.clear();
    L.R = LR;
    L.R.Bottom -= L.SubRoom;
    L.Width = 0;
    TrailingBlank = 0;
    LineFull = Deferred = FirstLI = RunAccepted = DropRest = false;
    LineDisplay.clear();
    L.OnAnchorText = L.OnAnchorImage = false;
    L.Height = grid ? H1 : 0;
    CurLeft = L.R.Left;
    CurRight = L.R.Right;
    LineH1 = H1;
    if (Drawing) {
        if (Pol.OffsetTag) CurLeft += L.Offset;
        if (PBackground) {
            const TColor pc = C->Pen()->Color();
            C->Pen()->SetColor(C->Brush()->Color());
            C->Rectangle(P.Rect.Left, L.R.Top, P.Rect.Right, L.R.Top + H1);
            (void)pc;
        }
        if (FocusOpen) {
            FocusR.Left = CurLeft;
            FocusR.Top = L.R.Top;
        }
    }
    // The next "<" is kept across the lines of the whole text, so that a
    // long text without tags is not scanned to its end once per line.
    size_t localLt = 0;
    bool localValid = false;
    const bool mainText = &Src == MainText;
    size_t& ltPos = mainText ? MainLtPos : localLt;
    bool& ltValid = mainText ? MainLtValid : localValid;
    while (Cur < End && !LineFull && !Deferred && !DropRest) {
        if (Src[Cur] == L'<') {
            HandleTag(Src, Cur, End, Measuring, Drawing);
            continue;
        }
        if (!ltValid || ltPos < Cur) {
            ltValid = true;
            ltPos = Src.find(L'<', Cur);
            if (ltPos == String::npos || ltPos > End) ltPos = End;
        }
        size_t runEnd = std::min(ltPos, End);
        if (P.WordWrap)
            for (size_t i = Cur; i < runEnd; ++i)
                if (Src[i] == L' ') {
                    runEnd = i + 1;
                    break;
                }
        const String raw = Src.substr(Cur, runEnd - Cur);
        String disp = raw;
        if (disp.find(L'&') != String::npos) {
            while (disp.find(L"&nbsp;") != String::npos)
                ReplaceFirstNoCaseWith(L"&nbsp;", L" ", disp, Pol.AsciiCaseFolding);
            while (disp.find(L"&lt;") != String::npos)
                ReplaceFirstNoCaseWith(L"&lt;", L"<", disp, Pol.AsciiCaseFolding);
            while (disp.find(L"&gt;") != String::npos)
                ReplaceFirstNoCaseWith(L"&gt;", L">", disp, Pol.AsciiCaseFolding);
            if (Pol.EntityTable) DecodeEntityTable(disp);
        }
        ShowAmpersands(disp, NoPrefix);
        if (L.Height == 0) L.Height = H1;
        const Integer h = C->TextHeight(disp);
        if (Sub) L.SubRoom = std::max(L.SubRoom, h / 4);
        if (Sup) L.SupRoom = std::max(L.SupRoom, h / 4);
        L.Height = std::max(L.Height, h);
        if (Hidden) {
            if (FirstPass) P.StripVal += disp;
            Cur = runEnd;
            continue;
        }
        const Integer w = MeasureRun(disp);
        L.Width += w;
        if (Measuring) {
            const Integer xr = P.XPos - L.R.Left;
            if (InLink && xr >= L.Width - w && xr <= L.Width) {
                L.OnAnchorText = true;
                if (P.YPos > L.R.Top) {
                    P.AnchorVal = HRef;
                    if (grid) P.AnchorTitle = Title;
                    else P.FocusAnchor = Title;
                    AnchorHit = true;
                }
            }
        }
        if (Drawing) DrawRun(disp, w, h);
        bool accept = true, dropAfter = false;
        if (FirstPass) {
            const Integer avail = L.R.Right - L.R.Left - (Pol.OffsetTag ? L.Offset : 0);
            const bool fits = L.Width < avail;
            const bool alone = w >= avail && !RunAccepted;
            accept = fits || alone || !P.WordWrap;
            if (grid) {
                if (!accept && !LineDisplay.empty() && LineDisplay.back() != L' ') accept = true;
                if (!P.WordWrap && !fits && !alone && RunAccepted) dropAfter = true;
            }
        }
        if (accept) {
            Cur = runEnd;
            RunAccepted = true;
            if (FirstPass) P.StripVal += disp;
            LineDisplay += disp;
            TrailingBlank = (!raw.empty() && raw.back() == L' ') ? C->TextWidth(L" ") : 0;
            if (dropAfter) DropRest = true;
        } else {
            L.Width -= w;
            LineFull = true;
        }
    }
    L.Width -= TrailingBlank;
    MaxWidth = std::max(MaxWidth, L.Width);
    if (Drawing && FocusOpen) {
        TRect fr{FocusR.Left - 1, FocusR.Top, CurLeft + 1, L.R.Bottom};
        C->DrawFocusRect(fr);
    }
    return Src.substr(start, Cur - start);
}

void TMarkupRenderer::TagAnchorOpen(const String& Attr, const String& AttrUp, bool Drawing)
{
    const bool grid = Pol.GridRules;
    if (!grid) {
        AnchorColor = true;
        Base.SetColor(C->Font()->Color());
    }
    if (P.FocusLink == P.HyperLinks && Drawing) {
        FocusOpen = true;
        FocusR.Left = CurLeft;
        FocusR.Top = L.R.Top;
    }
    ++P.HyperLinks;
    AnchorDecorated = false;
    AnchorHit = false;
    if ((!P.Hover || P.HyperLinks == P.HoverLink) && Drawing) {
        AnchorDecorated = true;
        C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsUnderline});
        if (P.HoverColor != clNone) {
            HoverSavedBrush = BrushColorOrNone();
            SetBrushColor(P.HoverColor);
        }
        if (P.HoverFontColor != clNone) {
            HoverSavedFont = C->Font()->Color();
            C->Font()->SetColor(P.HoverFontColor);
        }
    }
    if (!P.IgnoreColors && !(P.Hover && P.HyperLinks == P.HoverLink && P.HoverFontColor != clNone))
        C->Font()->SetColor(P.URLColor);
    const size_t ph = AttrUp.find(L"HREF");
    if (ph != String::npos) {
        HRef = QuotedAfter(Attr, Integer(ph + 5));
        InLink = true;
    }
    const size_t pt = AttrUp.find(L"TITLE");
    if (pt != String::npos) Title = QuotedAfter(Attr, Integer(pt + 6));
    else Title.clear();
    AnchorStart = TPoint{CurLeft, L.R.Top};
    AnchorStart.X = L.R.Left + L.Width;
    AnchorStartLine = LineNo;
}

void TMarkupRenderer::TagAnchorClose(bool Drawing)
{
    AnchorColor = false;
    if (AnchorDecorated && Drawing) {
        C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsUnderline});
        if (P.HoverColor != clNone) SetBrushColor(HoverSavedBrush);
        if (P.HoverFontColor != clNone) C->Font()->SetColor(HoverSavedFont);
    }
    AnchorDecorated = false;
    if (!P.IgnoreColors) C->Font()->SetColor(Base.Color());
    InLink = false;
    if (AnchorHit) {
        TRect r;
        if (AnchorStartLine == LineNo) {
            r.Left = AnchorStart.X;
            r.Top = AnchorStart.Y;
        } else {
            r.Left = L.R.Left;
            r.Top = L.R.Top;
        }
        r.Right = L.R.Left + L.Width;
        r.Bottom = L.R.Bottom;
        P.HoverRect = r;
        P.MouseLink = P.HyperLinks;
        AnchorHit = false;
    }
    if (FocusOpen && Drawing && P.FocusLink + 1 == P.HyperLinks) {
        FocusOpen = false;
        FocusR.Right = CurLeft;
        FocusR.Bottom = L.R.Bottom - L.BaselineGap;
        FocusR.Top = FocusR.Bottom - C->TextHeight(L"gh");
        TRect fr{FocusR.Left - 1, FocusR.Top, FocusR.Right + 1, FocusR.Bottom};
        C->DrawFocusRect(fr);
    }
}

void TMarkupRenderer::TagFontOpen(const String& AttrUp, bool Drawing)
{
    const bool grid = Pol.GridRules;
    if (!grid) FontSavedBrush = BrushColorOrNone();
    size_t p = AttrUp.find(L"FACE");
    if (p != String::npos) C->Font()->SetName(QuotedAfter(AttrUp, Integer(p + 5)));
    p = AttrUp.find(L" COLOR");
    if (p != String::npos && !P.IgnoreColors && (Drawing || grid)) {
        const TColor c = MarkupColor(QuotedAfter(AttrUp, Integer(p + 7)));
        if (!grid && !AnchorColor) Base.SetColor(C->Font()->Color());
        C->Font()->SetColor(c);
    }
    p = AttrUp.find(L"BGCOLOR");
    if (p != String::npos && Drawing && !P.IgnoreColors) {
        if (grid) FontSavedBrush = BrushColorOrNone();
        SetBrushColor(MarkupColor(QuotedAfter(AttrUp, Integer(p + 8))));
    }
    const size_t ps = AttrUp.find(L"STYLE");
    const size_t pz = AttrUp.find(L"SIZE");
    if (ps != String::npos) {
        String v = QuotedAfter(AttrUp, Integer(ps + 6));
        if (v.find(L"FONT-SIZE:") != String::npos) {
            v.erase(0, std::min<size_t>(10, v.size()));
            size_t pt = v.find(L"PT");
            if (pt != String::npos) v = v.substr(0, pt);
            C->Font()->SetSize(IntFromText(Trim(v)));
        }
    } else if (pz != String::npos) {
        const Integer n = IntFromText(QuotedAfter(AttrUp, Integer(pz + 5)));
        Integer size = n;
        if (grid) {
            static const Integer fixed[] = {0, 8, 10, 12, 14, 16};
            if (n >= 1 && n <= 5) size = fixed[n];
        } else {
            static const Integer rel[] = {0, 1, 2, 4, 6, 8};
            if (n >= 1 && n <= 5) size = Base.Size() + rel[n];
        }
        C->Font()->SetSize(size);
    }
}

void TMarkupRenderer::TagFontClose(bool Measuring)
{
    C->Font()->SetName(Base.Name());
    C->Font()->SetSize(Base.Size());
    if (!Measuring && !P.IgnoreColors) {
        C->Font()->SetColor(Base.Color());
        SetBrushColor(FontSavedBrush);
    }
}

void TMarkupRenderer::TagHighlight(bool Drawing)
{
    if (!Drawing) return;
    HiSavedFont = C->Font()->Color();
    HiSavedBrush = BrushColorOrNone();
    HiSavedStyle = C->Font()->Style();
    if (Pol.UnitHighlightColors) {
        SetBrushColor(Pol.HighlightColor);
        C->Font()->SetColor(Pol.HighlightTextColor);
        HiUsed = true;
    } else {
        SetBrushColor(P.HighlightColor);
        C->Font()->SetColor(P.HighlightTextColor);
        C->Font()->SetStyle(P.HighlightStyle);
    }
}

void TMarkupRenderer::TagHighlightClose(bool Drawing)
{
    if (!Drawing) return;
    if (Pol.UnitHighlightColors) {
        if (!HiUsed) return;
        C->Font()->SetColor(HiSavedFont);
        SetBrushColor(HiSavedBrush);
        return;
    }
    C->Font()->SetColor(HiSavedFont);
    SetBrushColor(HiSavedBrush);
    C->Font()->SetStyle(HiSavedStyle);
}

void TMarkupRenderer::TagParagraph(const String& AttrUp, bool Drawing)
{
    size_t p = AttrUp.find(L"ALIGN");
    if (p != String::npos) {
        const String v = QuotedAfter(AttrUp, Integer(p + 6));
        if (v.find(L"RIGHT") != String::npos) L.Align = 1;
        if (v.find(L"LEFT") != String::npos) L.Align = 0;
        if (v.find(L"CENTER") != String::npos) L.Align = 2;
    }
    p = AttrUp.find(L"INDENT");
    if (p != String::npos) L.Indent = IntFromText(QuotedAfter(AttrUp, Integer(p + 7)));
    p = AttrUp.find(L"FLOAT");
    if (p != String::npos) {
        const String v = QuotedAfter(AttrUp, Integer(p + 6));
        if (v == L"LEFT" || v == L"RIGHT") {
            L.PFloat = v == L"LEFT" ? 1 : 2;
            L.PFloatPos = TPoint{L.R.Left, L.R.Top};
        }
    }
    const bool grid = Pol.GridRules;
    if (!Drawing || (!grid && P.IgnoreColors)) return;
    p = AttrUp.find(L"BGCOLOR");
    if (p == String::npos) return;
    const TColor c = MarkupColor(QuotedAfter(AttrUp, Integer(p + 8)));
    const size_t pt = grid ? String::npos : AttrUp.find(L"BGCOLORTO");
    PBackground = true;
    if (pt == String::npos) {
        PSavedBrush = BrushColorOrNone();
        SetBrushColor(c);
        C->Pen()->SetColor(c);
        C->Rectangle(P.Rect.Left, L.R.Top, P.Rect.Right, L.R.Bottom);
    } else {
        const TColor c2 = MarkupColor(QuotedAfter(AttrUp, Integer(pt + 10)));
        C->Pen()->SetColor(c);
        GradientRect(C, c, c2, true, TRect{P.Rect.Left, L.R.Top, P.Rect.Right, L.R.Bottom + 2}, 64, clNone);
        SetBrushColor(clNone);
    }
}

void TMarkupRenderer::TagParagraphClose(bool Measuring, bool Drawing)
{
    LineFull = true;
    if (Pol.GridRules) {
        PBackground = false;
        if (Drawing) {
            L.Align = 0;
            SetBrushColor(PSavedBrush);
        }
        return;
    }
    if (Drawing) PBackground = false;
    if (!Measuring && !P.CheckOnly && !P.IgnoreColors) SetBrushColor(PSavedBrush);
}

void TMarkupRenderer::HandleTag(const String& Src, size_t& Cur, size_t End, bool Measuring, bool Drawing)
{
    const bool grid = Pol.GridRules;
    const size_t rem = End - Cur;
    if (rem < 3) {
        Cur = End;
        return;
    }
    size_t gt = Src.find(L'>', Cur);
    if (gt != String::npos && gt >= End) gt = String::npos;
    const bool closing = Src[Cur + 1] == L'/' && rem >= 4;
    const size_t nameAt = Cur + (closing ? 2 : 1);
    const Char ch = Up(Src[nameAt]);
    const Char n1 = nameAt + 1 < End ? Up(Src[nameAt + 1]) : Char(0);
    const size_t tagEnd = gt == String::npos ? End : gt;
    // The attribute text from a fixed position after the tag's letters.
    auto attr = [&](size_t skip) {
        size_t a = std::min(Cur + skip, tagEnd);
        String s = Src.substr(a, tagEnd - a);
        ShowAmpersands(s, true);
        return s;
    };
    auto up = [&](const String& s) { return FoldUpper(s, Pol.AsciiCaseFolding); };
    auto endsLine = [&]() { LineFull = true; };
    bool deferred = false;
    const bool holds = RunAccepted || L.Width > 0;

    if (!closing) {
        switch (ch) {
        case L'A': {
            const String a = attr(2);
            TagAnchorOpen(a, up(a), Drawing);
            break;
        }
        case L'B':
            if (n1 == L'>') C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsBold});
            else if (n1 == L'L') {
                if (!P.Blink) C->Font()->SetColor(StartBrush);
            } else if (n1 == L'O') {
                if (Drawing && (grid || !P.IgnoreColors)) {
                    const String a = attr(5);
                    TagBody(a, up(a), Drawing);
                }
            } else if (n1 == L'R') {
                endsLine();
                if (L.Height == 0) L.Height = LineH1;
                if (FirstPass) P.StripVal += L"\r";
            }
            break;
        case L'C':
            if (Pol.ControlTags) deferred = TagControl(attr(8), Drawing);
            break;
        case L'E':
            if (Drawing) Error = true;
            break;
        case L'F':
            if (gt != String::npos) TagFontOpen(up(attr(5)), Drawing);
            break;
        case L'H':
            if (n1 == L'I') TagHighlight(Drawing);
            else if (n1 == L'R') {
                endsLine();
                const String a = attr(3);
                TagRule(a, up(a), Drawing);
            }
            break;
        case L'I':
            if (n1 == L'>') C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsItalic});
            else if (n1 == L'N') {
                const String a = attr(4);
                const Integer p = PosNoCaseWith(L"x", a, Pol.AsciiCaseFolding);
                if (p > 0) {
                    Integer x = 0;
                    if (TryStrToInt(QuotedAfter(a, p + 2), x) && x > L.Width) {
                        L.Width = x;
                        CurLeft = P.Rect.Left + x;
                    }
                }
            } else if (n1 == L'M') {
                const String a = attr(4);
                deferred = TagImage(a, up(a), Drawing);
            }
            break;
        case L'L':
            deferred = TagListItem(up(attr(3)), Drawing);
            break;
        case L'O':
            if (n1 == L'L') {
                if (holds) {
                    deferred = true;
                } else {
                    if (!grid || Drawing) ++ListLevel;
                    Ordered = true;
                    ItemCounter = 1;
                }
            } else if (n1 == L'F' && Pol.OffsetTag) {
                const String a = attr(4);
                const Integer p = PosNoCaseWith(L"x", a, Pol.AsciiCaseFolding);
                if (p > 0) {
                    const Integer x = IntFromText(QuotedAfter(a, p + 2));
                    L.Offset = x;
                    L.Width = x;
                    CurLeft = P.Rect.Left + x;
                }
            }
            break;
        case L'P':
            if (gt != String::npos) TagParagraph(up(attr(2)), Drawing);
            break;
        case L'R': {
            const String a = attr(4);
            const Integer p = PosNoCaseWith(L"a", a, Pol.AsciiCaseFolding);
            if (p > 0) SelectRotatedFont(IntFromText(QuotedAfter(a, p + 2)));
            break;
        }
        case L'S':
            if (n1 == L'>') C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsStrikeOut});
            else if (n1 == L'T') C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsStrikeOut});
            else if (n1 == L'H') Shadow = true;
            else if (n1 == L'P') {
                if (gt != String::npos) {
                    const String a = up(attr(5));
                    const size_t ps = a.find(L"STYLE");
                    if (ps != String::npos) {
                        const String v = QuotedAfter(a, Integer(ps + 6));
                        const size_t pb = v.find(L"BACKGROUND-COLOR:");
                        if (pb != String::npos) {
                            String hex = Trim(v.substr(pb + 17));
                            if (hex.size() >= 7 && hex[0] == L'#') {
                                FontSavedBrush = BrushColorOrNone();
                                SetBrushColor(HexToColor(hex));
                            }
                        }
                    }
                }
            } else if (rem >= 5) {
                const String t = up(Src.substr(Cur, 5));
                if (t == L"<SUB>") Sub = true;
                else if (t == L"<SUP>") Sup = true;
            }
            break;
        case L'U':
            if (n1 == L'>') C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsUnderline});
            else if (holds) deferred = true;
            else {
                if (!grid || Drawing) {
                    ++ListLevel;
                    Ordered = false;
                }
            }
            break;
        case L'Z':
            Hidden = true;
            break;
        default:
            break;
        }
    } else {
        switch (ch) {
        case L'A':
            TagAnchorClose(Drawing);
            break;
        case L'B':
            if (n1 == L'>') C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsBold});
            else C->Font()->SetColor(Base.Color());
            break;
        case L'E':
            if (Drawing) Error = false;
            break;
        case L'F':
            TagFontClose(Measuring);
            break;
        case L'H':
            TagHighlightClose(Drawing);
            break;
        case L'I':
            C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsItalic});
            break;
        case L'L':
            endsLine();
            break;
        case L'O':
            if (n1 == L'>' || ListLevel == 0) {
                if (!grid) L.Offset = 0;
            } else {
                --ListLevel;
                if (Drawing) Ordered = false;
            }
            break;
        case L'P':
            TagParagraphClose(Measuring, Drawing);
            break;
        case L'R':
            RestoreFont();
            break;
        case L'S':
            if (n1 == L'H') Shadow = false;
            else if (n1 == L'P') {
                C->Brush()->SetColor(FontSavedBrush == clNone ? C->Brush()->Color() : FontSavedBrush);
                C->Brush()->SetStyle(bsClear);
            } else if (n1 == L'U') Sub = Sup = false;
            else C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsStrikeOut});
            break;
        case L'U':
            if (n1 == L'>' || ListLevel == 0) C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsUnderline});
            else --ListLevel;
            break;
        case L'Z':
            Hidden = false;
            break;
        default:
            break;
        }
    }
    if (deferred) {
        Deferred = true;
        return;
    }
    Cur = gt == String::npos ? End : gt + 1;
}

}  // namespace markup_detail
