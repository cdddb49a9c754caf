// Painting one popup item: side bar, icon bar and background strips that
// join across the items of a window, then the separator or the item itself
// (highlight, check box, image, marks, submenu arrow, caption, notes and
// shortcut).
#include "controls/chrome/VodMenus.h"

#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"

namespace {

const String kNotesBreak = L"\\n";

TCustomVodMenuStyler* StylerOf(IVodMenu* M) { return M ? M->GetCurrentMenuStyler() : nullptr; }

std::vector<String> SplitNotes(const String& S)
{
    std::vector<String> parts;
    size_t from = 0, at;
    while ((at = S.find(kNotesBreak, from)) != String::npos) {
        parts.push_back(S.substr(from, at - from));
        from = at + kNotesBreak.size();
    }
    parts.push_back(S.substr(from));
    return parts;
}

// The screen's menu font (built from the platform's before the screen exists).
TFont* ScreenMenuFont()
{
    if (Screen) return Screen->MenuFont();
    static TFont* fallback = [] {
        auto* f = new TFont();
        LOGFONTW lf = MenuLogFont();
        HFONT h = CreateFontIndirect(&lf);
        f->SetHandle(h);
        DeleteObject(h);
        return f;
    }();
    return fallback;
}

void DrawSideBarCaption(TCanvas* C, const TRect& B, TSideBar* S)
{
    C->SetFont(S->Font());
    HDC dc = C->Handle();
    C->RequireState();
    HFONT rotated = CreateRotatedFont(S->Font(), S->Direction() == dDownToUp ? 90 : -90);
    HGDIOBJ old = SelectObject(dc, rotated);
    const String caption = S->Caption();
    TSize ext{0, 0};
    GetTextExtentPoint32(dc, caption.c_str(), Integer(caption.size()), &ext);
    const Integer w = ext.cx, h = ext.cy;
    Integer x = Integer(Round((S->Size() - h) / 2.0 - 0.5));
    SetBkMode(dc, TRANSPARENT);
    TRect clip = B;
    clip.Bottom += 1;
    const Integer OffsetY = S->OffsetY();
    const Integer height = B.Bottom - B.Top;
    Integer y;
    const bool downUp = S->Direction() == dDownToUp;
    if (S->Alignment() == taCenter) {
        y = Integer(Round((height + w) / 2.0 - 0.5));
    } else if ((S->Alignment() == taRightJustify) == downUp) {
        y = OffsetY + w;
    } else {
        y = height - OffsetY;
        TPicture* pic = S->Image()->PictureIfAny();
        if (pic && !pic->Empty() && (S->Image()->Position() == bpBottomLeft || S->Image()->Position() == bpBottomRight))
            y -= pic->Height();
    }
    if (!downUp) {
        y -= w;
        x += h + 1;
    }
    const Integer D = S->Depth();
    auto write = [&](TColor colour, Integer px, Integer py) {
        SetTextColor(dc, COLORREF(ColorToRGB(colour)));
        ExtTextOut(dc, px, py, ETO_CLIPPED, &clip, caption.c_str(), UINT(caption.size()), nullptr);
    };
    if (S->HighlightColor() != clNone) write(S->HighlightColor(), x - D, y + D);
    if (S->ShadowColor() != clNone) write(S->ShadowColor(), x + D, y - D);
    write(S->Font()->Color(), x, y);
    SelectObject(dc, old);
    DeleteObject(rotated);
    SetBkMode(dc, OPAQUE);
    C->Refresh();
}

void DrawSideBarBorder(TCanvas* C, const TRect& B, TSideBar* S)
{
    if (S->BorderColor() == clNone) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(S->BorderColor());
    C->FrameRect(TRect{B.Left, B.Top, B.Right - S->SplitterWidth(), B.Bottom});
}

void DrawSideBarSplitter(TCanvas* C, const TRect& B, TSideBar* S)
{
    if (S->SplitterColor() == clNone) return;
    MenuGradientBand(C, TRect{B.Right - S->SplitterWidth(), B.Top, B.Right, B.Bottom}, S->SplitterColor(),
                     S->SplitterColorTo(), gdVertical, S->SplitterGradientType(), S->SplitterGradientWidth(),
                     S->SplitterMargin());
}

void DrawSeparatorItem(TCanvas* C, TRect R, TCustomVodMenuStyler* S)
{
    R.Left += S->IconBar()->Size();
    const Integer M = R.Top + (R.Bottom - R.Top) / 2;
    const Integer w = S->Separator()->Width();
    const TRect line{R.Left, M - w / 2, R.Right, M + (w + 1) / 2};
    TSeparator* sep = S->Separator();
    MenuGradientBand(C, line, sep->Color(), sep->ColorTo(), sep->GradientDirection(), sep->GradientType(),
                     sep->GradientWidth(), sep->Margin());
}

// A bitmap whose black pixels take the canvas font colour: the mark is
// drawn with its white pixels transparent.
void DrawMark(TCanvas* C, TBitmap* Mark, Integer X, Integer Y, TColor Colour)
{
    if (!Mark || Mark->Empty()) return;
    TImageData img = Mark->ToImage();
    const uint32_t rgb = uint32_t(ColorToRGB(Colour));
    const uint32_t argb = 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    for (uint32_t& px : img.Pixels) px = (px & 0xFFFFFF) == 0 ? argb : 0xFFFFFFFFu;
    TBitmap copy;
    copy.FromImage(img, pf24bit);
    copy.SetTransparentMode(tmFixed);
    copy.SetTransparentColor(clWhite);
    copy.SetTransparent(true);
    C->Draw(X, Y, &copy);
}

void DrawCheckMark(TCanvas* C, TMenuItem* Item, TCustomVodMenuStyler* S, TOwnerDrawState State, const TRect& R,
                   const TRect& K, const TRect& Q)
{
    const bool selected = State.Contains(odSelected);
    const bool radio = Item->RadioItem();
    TColor c, cTo, border;
    TGradientDirection dir;
    if (selected) {
        TSelectedItem* si = S->SelectedItem();
        c = radio ? si->RadioColor() : si->CheckColor();
        cTo = radio ? si->RadioColorTo() : si->CheckColorTo();
        dir = radio ? si->RadioGradientDirection() : si->CheckGradientDirection();
        border = radio ? si->RadioBorder() : si->CheckBorder();
    } else {
        TIconBar* ib = S->IconBar();
        c = radio ? ib->RadioColor() : ib->CheckColor();
        cTo = radio ? ib->RadioColorTo() : ib->CheckColorTo();
        dir = radio ? ib->RadioGradientDirection() : ib->CheckGradientDirection();
        border = radio ? ib->RadioBorder() : ib->CheckBorder();
    }
    MenuGradientBox(C, K, c, cTo, dir, border, !State.Contains(odDisabled));
    if (selected) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(S->SelectedItem()->BorderColor());
        C->FrameRect(R);
    }
    DrawMark(C, radio ? S->Glyphs()->Radio() : S->Glyphs()->Check(), Q.Left, Q.Top, clBtnText);
}

void DrawSubMenuArrow(TCanvas* C, TMenuItem* Item, TCustomVodMenuStyler* S, const TRect& R)
{
    TMenu* menu = Item->GetParentMenu();
    if (SysLocale.MiddleEast && menu && menu->BiDiMode() == bdRightToLeft) return;
    const Integer Y = (R.Top + R.Bottom - 5) / 2;
    TRect A{R.Right - 8, Y, R.Right - 5, Y + 6};
    TBitmap* g = S->Glyphs()->SubMenu();
    CenterRect(A, g->Width(), g->Height());
    DrawMark(C, g, A.Left, A.Top, TColor(0x000000));
}

}  // namespace

TRect MenuItemsBounds(TMenuItem* Item, HWND Window)
{
    (void)Window;
    TRect u{0, 0, 0, 0};
    TMenuItem* parent = Item ? Item->Parent() : nullptr;
    if (!parent) return u;
    HMENU h = parent->Handle();
    bool any = false;
    for (Integer i = 0; i <= parent->Count(); ++i) {
        TRect r;
        if (!GetMenuItemRect(nullptr, h, UINT(i), &r)) continue;
        if (!any) u = r;
        else UnionRect(u, u, r);
        any = true;
    }
    return u;
}

void DrawMenuItemText(TMenuItem* Item, TCanvas* C, const String& Text, TRect& R, TOwnerDrawState State, UINT Format)
{
    IVodMenu* menu = GetVodMenu(Item);
    TCustomVodMenuStyler* S = StylerOf(menu);
    if (!S) return;
    TMenu* parentMenu = Item->GetParentMenu();
    if (parentMenu && parentMenu->IsRightToLeft()) Format |= DT_RIGHT | DT_RTLREADING;
    String X = Text;
    if ((Format & DT_CALCRECT) && (X.empty() || X == L"&")) X += L" ";
    C->Brush()->SetStyle(bsClear);
    const bool selected = State.Contains(odSelected);
    // 4. The font (the canvas keeps its font handle while the font stays).
    TFont* source = selected ? (S->SelectedItem()->UseSystemFont() ? ScreenMenuFont() : S->SelectedItem()->Font())
                             : (S->UseSystemFont() ? ScreenMenuFont() : S->Font());
    AssignFontIfDiffers(C->Font(), source);
    if (Item->Default()) C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsBold});
    auto disabledColour = [&] {
        if (Item->Enabled()) return;
        if (selected && ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow)) C->Font()->SetColor(clBtnHighlight);
        else C->Font()->SetColor(clBtnShadow);
    };
    const bool notes = menu->GetShowNotes() && X.find(kNotesBreak) != String::npos;
    const TAntiAlias aa = S->AntiAlias();
    TFont* notesFont = selected ? S->SelectedItem()->NotesFont() : S->NotesFont();

    auto gdipDraw = [&](const String& s, const TGPRectF& layout, TFont* f, bool vcentre, bool far) {
        TGPGraphics g(C->Handle());
        g.SetTextRenderingHint(aa == aaClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
        TGPFont gf(f->Name(), REAL(f->Size()), FontStyleRegular, UnitPoint);
        TGPStringFormat sf;
        sf.SetFormatFlags(StringFormatFlagsNoWrap);
        sf.SetHotkeyPrefix(HotkeyPrefixShow);
        if (vcentre) sf.SetLineAlignment(StringAlignmentCenter);
        sf.SetAlignment(far ? StringAlignmentFar : StringAlignmentNear);
        TGPSolidBrush brush(ARGBFromTColor(C->Font()->Color()));
        g.DrawString(s, -1, &gf, layout, &sf, &brush);
    };

    if (notes) {
        const std::vector<String> parts = SplitNotes(X);
        if (aa == aaNone) {
            disabledColour();
            const UINT f = Format & DT_SINGLELINE;
            RECT rr = R;
            C->RequireState();
            DrawText(C->Handle(), parts[0].c_str(), -1, &rr, f);
            TRect r = R;
            r.Top += C->TextHeight(L"gh");
            C->SetFont(notesFont);
            disabledColour();
            const Integer L = C->TextHeight(L"gh");
            for (size_t i = 1; i < parts.size(); ++i) {
                RECT nr = r;
                C->RequireState();
                DrawText(C->Handle(), parts[i].c_str(), -1, &nr, f);
                r.Top += L;
            }
        } else {
            disabledColour();
            TGPRectF layout{REAL(R.Left), REAL(R.Top), REAL(R.Right - R.Left), REAL(R.Bottom - R.Top)};
            gdipDraw(parts[0], layout, C->Font(), false, false);
            C->SetFont(notesFont);
            disabledColour();
            layout.Y += 20;
            TGPRectF box;
            {
                TGPGraphics g(C->Handle());
                TGPFont gf(notesFont->Name(), REAL(notesFont->Size()), FontStyleRegular, UnitPoint);
                g.MeasureString(L"gh", -1, &gf, TGPRectF{0, 0, 1000, 1000}, box);
            }
            const Integer L = Integer(std::lround(box.Height));
            for (size_t i = 1; i < parts.size(); ++i) {
                gdipDraw(parts[i], layout, notesFont, false, false);
                layout.Y += REAL(L);
            }
        }
        return;
    }
    disabledColour();
    if (aa == aaNone) {
        RECT rr = R;
        C->RequireState();
        DrawText(C->Handle(), X.c_str(), -1, &rr, Format);
        if (Format & DT_CALCRECT) R = rr;
        return;
    }
    if (Format & DT_CALCRECT) return;
    gdipDraw(X, TGPRectF{REAL(R.Left), REAL(R.Top), REAL(R.Right - R.Left), REAL(R.Bottom - R.Top)}, C->Font(), true,
             (Format & DT_RIGHT) != 0);
}

void DrawMenuItemContent(IVodMenu* Menu, TMenuItem* Item, TCanvas* C, TOwnerDrawState State, TRect R)
{
    TCustomVodMenuStyler* S = StylerOf(Menu);
    if (!S) return;
    if (Item->IsLine()) {
        DrawSeparatorItem(C, R, S);
        return;
    }
    if (!Item->Parent()) return;
    TCustomImageList* images = Item->GetImageList();
    auto* popup = dynamic_cast<TVodPopupMenu*>(Menu->GetMenu());
    TCustomImageList* disabled = popup ? popup->DisabledImages() : nullptr;
    const bool selected = State.Contains(odSelected);
    const TRect itemRect = R;

    // 1. Highlight.
    if (selected) {
        TSelectedItem* si = S->SelectedItem();
        MenuMirrorGradientBox(C, R, si->Color(), si->ColorTo(), si->ColorMirror(), si->ColorMirrorTo(),
                              si->GradientDirection(), si->BorderColor(), true);
    }
    // 2. - 6.
    TRect K{R.Left, R.Top + 1, R.Left + S->IconBar()->Size(), R.Bottom - 1};
    const Integer side = std::min(K.Right - K.Left, K.Bottom - K.Top);
    CenterRect(K, side, side);
    const Integer index = Item->ImageIndex();
    const bool hasImage = images && index >= 0 && index < images->Count();
    auto* action = dynamic_cast<TCustomAction*>(Item->Action());
    TCustomActionList* actionList = action ? action->ActionList() : nullptr;
    auto* manager = dynamic_cast<TActionManager*>(actionList);
    bool hasActionImage = false;
    if (Menu->GetActionImages() == aiNormal)
        hasActionImage = actionList && actionList->Images() && index != -1 && index < actionList->Images()->Count();
    else
        hasActionImage = manager && manager->LargeImages() && index != -1 && index < manager->LargeImages()->Count();
    const bool hasBitmap = Item->HasBitmap() && !hasImage;
    const bool showCheck = Item->Checked() && !hasImage && !hasBitmap;

    // 7.
    if (hasImage || hasActionImage || hasBitmap || showCheck) {
        TRect Q = K;
        TCustomImageList* L = images;
        bool E = Item->Enabled();
        if (hasActionImage && manager && Menu->GetActionImages() == aiNormal) {
            if (!Item->Enabled() && manager->DisabledImages()) L = manager->DisabledImages(), E = true;
            else if (!Item->Enabled() && disabled) L = disabled;
            else L = manager->Images();
        } else if (hasActionImage && manager) {
            if (!Item->Enabled() && manager->LargeDisabledImages()) L = manager->LargeDisabledImages(), E = true;
            else if (!Item->Enabled() && disabled) L = disabled;
            else L = manager->LargeImages();
        } else if (hasActionImage) {
            if (!Item->Enabled() && disabled) L = disabled;
            else L = actionList->Images();
        } else {
            if (!Item->Enabled() && disabled) L = disabled, E = true;
            else L = images;
        }
        if (Item->Checked()) {
            if (selected) {
                TSelectedItem* si = S->SelectedItem();
                MenuGradientBox(C, K, si->CheckColor(), si->CheckColorTo(), si->CheckGradientDirection(),
                                si->CheckBorder(), !State.Contains(odDisabled));
            } else {
                TIconBar* ib = S->IconBar();
                MenuGradientBox(C, K, ib->CheckColor(), ib->CheckColorTo(), ib->CheckGradientDirection(),
                                ib->CheckBorder(), !State.Contains(odDisabled));
            }
        }
        if ((hasImage || hasActionImage) && L) {
            CenterRect(Q, L->Width(), L->Height());
            if (index >= 0 && index < L->Count()) {
                if (action && actionList && actionList->Images() && actionList->Images()->Count() > index)
                    L->Draw(C, Q.Left, Q.Top, index, E);
                else if (disabled && !Item->Enabled())
                    disabled->Draw(C, Q.Left, Q.Top, index, true);
                else if (images)
                    images->Draw(C, Q.Left, Q.Top, index, Item->Enabled());
            }
        } else if (showCheck) {
            TBitmap* mark = Item->RadioItem() ? S->Glyphs()->Radio() : S->Glyphs()->Check();
            CenterRect(Q, mark->Width(), mark->Height());
            DrawCheckMark(C, Item, S, State, itemRect, K, Q);
        } else if (hasBitmap) {
            TBitmap* b = Item->Bitmap();
            CenterRect(Q, b->Width(), b->Height());
            b->SetTransparentMode(tmAuto);
            b->SetTransparent(true);
            C->Draw(Q.Left, Q.Top, b);
        }
    }
    // 8.
    if (Item->Count() > 0) DrawSubMenuArrow(C, Item, S, itemRect);
    // 9. - 15.
    R.Left += S->IconBar()->Size() + 8;
    const UINT format = DT_LEFT | DT_SINGLELINE | DT_EXPANDTABS;
    const TRect T = R;
    const String caption = Item->Caption();
    if (caption.find(kNotesBreak) == String::npos) {
        TRect calc = R;
        DrawMenuItemText(Item, C, caption, calc, State, format | DT_CALCRECT | DT_NOCLIP);
        R = TRect{R.Left, R.Top, R.Left + (calc.Right - calc.Left), R.Top + (calc.Bottom - calc.Top)};
    }
    OffsetRect(R, 0, ((T.Bottom - T.Top) - (R.Bottom - R.Top)) / 2);
    DrawMenuItemText(Item, C, caption, R, State, format);
    if (Item->ShortCut() != 0) {
        R.Right = T.Right - 10;
        DrawMenuItemText(Item, C, ShortCutText(Item->ShortCut(), Menu->GetIntlKeybShortCuts()), R, State, DT_RIGHT);
    }
}

void DrawMenuItem(TMenuItem* Item, TCanvas* C, TRect R, TOwnerDrawState State, bool SideBarShown)
{
    IVodMenu* menu = GetVodMenu(Item);
    TCustomVodMenuStyler* S = StylerOf(menu);
    if (!S) return;
    // 2.
    Integer extra = 0;
    if (auto* pm = dynamic_cast<TPopupMenu*>(Item->Owner());
        pm && pm->Items()->Count() > 0 && pm->Items()->Items(pm->Items()->Count() - 1) == Item)
        extra = R.Bottom - R.Top;
    // 3., 4.
    const bool SB = SideBarShown && !InLaterColumn(Item);
    TRect Cr = R;
    TSideBar* bar = S->SideBar();
    if (SB) Cr.Left = R.Left + bar->Size() + bar->SplitterWidth();
    // 5. The items' whole area in this window's client coordinates.
    HWND W = WindowFromDC(C->Handle());
    TRect Full = MenuItemsBounds(Item, W);
    if (W && IsWindow(W)) {
        TPoint o{Full.Left, Full.Top};
        ScreenToClient(W, &o);
        OffsetRect(Full, o.X - Full.Left, o.Y - Full.Top);
    } else {
        OffsetRect(Full, -Full.Left, -Full.Top);
    }
    Full.Right -= MenuStripWidth;
    // 6. Side bar, once per window.
    if (SB && IsFirstVisibleItem(Item)) {
        TRect B = Full;
        B.Right = B.Left + bar->Size() + bar->SplitterWidth();
        bar->SetPopupHeight(B.Bottom - B.Top);
        PaintBackground(C, B, bar->Background(), true);
        if (bar->Image()->Color() != clNone && bar->Image()->HasPicture()) PaintBackground(C, B, bar->Image(), true);
        DrawSideBarCaption(C, B, bar);
        DrawSideBarBorder(C, B, bar);
        DrawSideBarSplitter(C, B, bar);
    }
    // 7. Icon bar strip.
    TIconBar* ib = S->IconBar();
    const TRect I{Cr.Left, Full.Top, Cr.Left + ib->Size(), Full.Bottom};
    MenuClippedGradient(C, I, Cr, ib->Color(), ib->ColorTo(), ib->GradientDirection());
    if (ib->SeparatorColor() != clNone) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(ib->SeparatorColor());
        C->MoveTo(I.Right - 1, I.Top);
        C->LineTo(I.Right - 1, I.Bottom);
    }
    // 8. Background strip.
    TBackground* bg = S->Background();
    TRect G = Cr;
    G.Left = I.Right;
    TRect GF{I.Right, Full.Top, Cr.Right, Full.Bottom};
    if (bg->MarginX() > 0 || bg->MarginY() > 0) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(bg->Color());
        C->FillRect(G);
        G.Left += bg->MarginX();
        G.Right -= bg->MarginX();
        G.Top += bg->MarginY();
        G.Bottom -= bg->MarginY();
    }
    G.Bottom += extra;
    GF.Bottom += extra;
    MenuClippedGradient(C, GF, G, bg->Color(), bg->ColorTo(), bg->GradientDirection());
    // 9. The background picture, rendered once per window size.
    if (bg->HasPicture()) {
        TBitmap* cache = S->BackgroundBitmap();
        const Integer fw = Full.Right - Full.Left, fh = Full.Bottom - Full.Top;
        if (cache->Width() != fw || cache->Height() != fh) {
            cache->SetPixelFormat(pf24bit);
            cache->SetSize(fw, fh);
            PaintBackground(cache->Canvas(), TRect{0, 0, fw, fh}, bg, false);
        }
        TRect src = G;
        OffsetRect(src, -Full.Left, -Full.Top);
        C->SetCopyMode(cmSrcCopy);
        C->CopyRect(G, cache->Canvas(), src);
    }
    // 10., 11.
    DrawMenuItemContent(menu, Item, C, State, Cr);
    StyleMenuWindow(Item, C);
}
