// Images, list bullets, rules and backgrounds, and the drawing routines they
// share (stepped gradients, shell icons, printed bitmaps).
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/MarkupEngine_Internal.h"
#include "platform/base/Files.h"
#include "platform/os/Shell.h"

using namespace markup_detail;

void GradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                  Integer Steps, TColor FrameColor)
{
    if (!Canvas) return;
    if (Steps <= 0) Steps = 1;
    const Integer from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
    const int fr = from & 0xFF, fg = (from >> 8) & 0xFF, fb = (from >> 16) & 0xFF;
    const int tr = to & 0xFF, tg = (to >> 8) & 0xFF, tb = (to >> 16) & 0xFF;
    const Integer size = Horizontal ? R.Width() : R.Height();
    const Integer ext = size / Steps + 1;
    for (Integer n = 0; n < Steps; ++n) {
        auto ch = [&](int a, int b) { return a + int(std::nearbyint(double(n) * (b - a) / Steps)); };
        const TColor c = TColor(ch(fr, tr) | (ch(fg, tg) << 8) | (ch(fb, tb) << 16));
        const Integer off = Integer(std::nearbyint(double(n) * size / Steps));
        TRect b = R;
        if (Horizontal) {
            b.Left = R.Left + off;
            b.Right = std::min(b.Left + ext, R.Right);
        } else {
            b.Top = R.Top + off;
            b.Bottom = std::min(b.Top + ext, R.Bottom);
        }
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Rectangle(b);
    }
    if (FrameColor != clNone) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(FrameColor);
        Canvas->Rectangle(R);
    }
}

void GradientFill(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                  Integer Steps)
{
    GradientRect(Canvas, FromColor, ToColor, Horizontal, R, Steps, clNone);
}

bool IsDirectoryPath(const String& Path) { return !Path.empty() && DirectoryExists(Path); }

void StretchDIBDraw(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(size_t(w) * size_t(h));
    HDC screen = CreateCompatibleDC(nullptr);
    const int got = GetDIBits(screen, Bitmap->Handle(), 0, UINT(h), bits.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(screen);
    if (got <= 0) return;
    Canvas->RequireState();
    StretchDIBits(Canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), 0, 0, w, h, bits.data(), &bi,
                  DIB_RGB_COLORS, SRCCOPY);
}

void DrawSystemIcon(TCanvas* Canvas, Integer X, Integer Y, TSize& Size, double Factor, bool Printing,
                    bool Draw, bool Large, const String& Name)
{
    Integer index = 0;
    if (!Name.empty() && !TryStrToInt(Name, index)) {
        SHFILEINFO info;
        UINT flags = SHGFI_SYSICONINDEX;
        if (!(FileExists(Name) || IsDirectoryPath(Name))) flags |= SHGFI_USEFILEATTRIBUTES;
        SHGetFileInfo(Name.c_str(), 0, &info, sizeof(info), flags | (Large ? 0 : SHGFI_SMALLICON));
        index = info.iIcon;
    }
    SHFILEINFO li;
    TCustomImageList* list = reinterpret_cast<TCustomImageList*>(
        SHGetFileInfo(L"", 0, &li, sizeof(li), SHGFI_SYSICONINDEX | (Large ? 0 : SHGFI_SMALLICON)));
    if (!list) {
        Size = TSize{0, 0};
        return;
    }
    Size = TSize{list->Width(), list->Height()};
    if (!Draw || !Canvas || index < 0 || index >= list->Count()) return;
    if (!Printing) {
        list->Draw(Canvas, X, Y, index, true);
    } else {
        TBitmap bmp(list->Width(), list->Height());
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect{0, 0, list->Width(), list->Height()});
        list->Draw(bmp.Canvas(), 0, 0, index, true);
        StretchDIBDraw(Canvas,
                       TRect{X, Y, X + Integer(std::nearbyint(list->Width() * Factor)),
                             Y + Integer(std::nearbyint(list->Height() * Factor))},
                       &bmp);
    }
}

namespace markup_detail {

void TMarkupRenderer::ResolveSource(String Value, TImageSource& Out)
{
    Out = TImageSource();
    const bool ascii = Pol.AsciiCaseFolding;
    if (FoldUpper(Value, ascii).find(L"IDX:") != String::npos) {
        Value.erase(0, std::min<size_t>(4, Value.size()));
        const Integer idx = IntFromText(Value);
        if (P.Images && idx >= 0 && idx < P.Images->Count()) {
            Out.Kind = TImageSource::skList;
            Out.Index = idx;
        }
    }
    if (FoldUpper(Value, ascii).find(L"SSYS:") != String::npos) {
        Value.erase(0, std::min<size_t>(5, Value.size()));
        Out.Kind = TImageSource::skSmallIcon;
        Out.Name = Value;
    }
    if (FoldUpper(Value, ascii).find(L"LSYS:") != String::npos) {
        Value.erase(0, std::min<size_t>(5, Value.size()));
        Out.Kind = TImageSource::skLargeIcon;
        Out.Name = Value;
    }
    if (Value.find(L':') == String::npos && P.Container) {
        if (TGraphic* g = ContainerPicture(P.Container, Value)) {
            Out.Kind = TImageSource::skPicture;
            Out.Picture = g;
        }
    }
    if (Value.find(L"://") != String::npos && P.ImageCache) {
        if (TGraphic* g = CachePicture(P.ImageCache, Value)) {
            Out.Kind = TImageSource::skPicture;
            Out.Picture = g;
        }
    }
    if (Out.Kind == TImageSource::skPicture &&
        (!Out.Picture || Out.Picture->Empty() || Out.Picture->Width() <= 0 || Out.Picture->Height() <= 0))
        Out.Kind = TImageSource::skNone;
}

bool TMarkupRenderer::TagImage(const String& Attr, const String& AttrUp, bool Drawing)
{
    const bool grid = Pol.GridRules;
    ++Images;
    const Integer number = Images;
    const Integer th = C->TextHeight(L"gh");
    Integer voff = 0;
    Integer x = CurLeft;
    const Integer top = L.R.Top;
    auto value = [&](const wchar_t* name, size_t skip, bool keepCase) {
        size_t p = AttrUp.find(name);
        if (p == String::npos) return String();
        return QuotedAfter(keepCase ? Attr : AttrUp, Integer(p + skip));
    };
    String src = value(L"SRC", 4, !grid);
    const size_t pa = AttrUp.find(L"ALT");
    if (pa != String::npos && number == HoveredImage) src = QuotedAfter(AttrUp, Integer(pa + 4));
    const Integer reqW = IntFromText(value(L"WIDTH", 6, false));
    const Integer reqH = IntFromText(value(L"HEIGHT", 7, false));
    const String alignV = value(L"ALIGN", 6, false);
    const Integer valign = alignV == L"MIDDLE" ? 1 : alignV == L"TOP" ? 2 : 0;
    const String floatV = value(L"FLOAT", 6, false);
    const Integer fl = floatV == L"LEFT" ? 1 : floatV == L"RIGHT" ? 2 : 0;
    if (fl == 1) x = P.Rect.Left;
    auto vertical = [&](Integer h) {
        if (grid || h >= th) return 0;
        return valign == 0 ? th - h : valign == 1 ? (th - h) / 2 : 0;
    };

    Integer lw = 0, lh = 0, dw = 0, dh = 0;
    TImageSource s;
    ResolveSource(src, s);
    switch (s.Kind) {
    case TImageSource::skList: {
        const Integer w = P.Images->Width(), h = P.Images->Height();
        lw = dw = ScaleX(w);
        lh = dh = ScaleY(h);
        voff = vertical(h);
        if (Drawing) {
            if (!P.Printing) {
                P.Images->Draw(C, x, top + voff, s.Index, true);
            } else {
                TBitmap bmp(w, h);
                bmp.Canvas()->Brush()->SetColor(clWhite);
                bmp.Canvas()->FillRect(TRect{0, 0, w, h});
                P.Images->Draw(bmp.Canvas(), 0, 0, s.Index, true);
                StretchDIBDraw(C,
                               TRect{x, top, x + Integer(std::nearbyint(w * P.ResFactor)),
                                     top + Integer(std::nearbyint(h * P.ResFactor))},
                               &bmp);
            }
        }
        break;
    }
    case TImageSource::skSmallIcon:
    case TImageSource::skLargeIcon: {
        TSize sz{0, 0};
        DrawSystemIcon(C, x, top, sz, P.ResFactor, P.Printing, Drawing, s.Kind == TImageSource::skLargeIcon,
                       s.Name);
        lw = dw = ScaleX(sz.cx);
        lh = dh = ScaleY(sz.cy);
        break;
    }
    case TImageSource::skPicture: {
        TGraphic* g = s.Picture;
        const Integer pw = g->Width(), ph = g->Height();
        if (reqW > 0 && reqH > 0) {
            dw = reqW;
            dh = reqH;
        } else if (reqW > 0) {
            dw = reqW;
            dh = Integer(std::nearbyint(double(ph) * reqW / pw));
        } else if (reqH > 0) {
            dh = reqH;
            dw = Integer(std::nearbyint(double(pw) * reqH / ph));
        } else {
            dw = pw;
            dh = ph;
        }
        if (fl == 2) x = L.R.Right - dw;
        TFrameFacts ff;
        const bool animated = PictureFrameFacts(g, ff);
        if (Drawing) {
            if (reqW > 0 || reqH > 0) {
                SetPictureStretch(g, true);
                C->StretchDraw(TRect{x, top, x + dw, top + dh}, g);
            } else {
                if (animated && ff.Frames > 1) {
                    const TColor pc = C->Pen()->Color();
                    const TColor bc = C->Brush()->Color();
                    const TBrushStyle bs = C->Brush()->Style();
                    C->Pen()->SetColor(StartBrush);
                    SetBrushColor(StartBrush);
                    C->Rectangle(x, top, x + ff.MaxWidth, top + ff.MaxHeight);
                    C->Pen()->SetColor(pc);
                    C->Brush()->SetColor(bc);
                    C->Brush()->SetStyle(bs);
                }
                voff = vertical(ph);
                if (animated) C->Draw(x + ff.OffsetX, top + ff.OffsetY + voff, g);
                else C->Draw(x, top + voff, g);
            }
        }
        if (reqW > 0 || reqH > 0) {
            lw = ScaleX(dw);
            lh = ScaleY(dh);
        } else if (animated) {
            lw = ScaleX(ff.MaxWidth);
            lh = ScaleY(ff.MaxHeight);
        } else {
            lw = ScaleX(pw);
            lh = ScaleY(ph);
        }
        break;
    }
    default:
        break;
    }

    const Integer xr = P.XPos - L.R.Left;
    if (xr > L.Width && xr < L.Width + lw && P.YPos > top && P.YPos < top + lh && InLink) {
        L.OnAnchorImage = true;
        HoveredImage = number;
        P.AnchorVal = HRef;
        if (grid) P.AnchorTitle = Title;
        else if (!Title.empty()) P.FocusAnchor = Title;
    }
    const Integer avail = L.R.Right - L.R.Left;
    if (FirstPass && L.Width + lw > avail && lw < avail && L.Width > 0) return true;
    L.Width += lw + 2;
    CurLeft += lw + 2;
    L.Height = std::max(L.Height, lh);
    if (AttrUp.find(L"ALIGN") != String::npos) {
        if (AttrUp.find(L"\"TOP") != String::npos) L.BaselineGap = L.Height - th;
        else if (AttrUp.find(L"\"MIDDLE") != String::npos) L.BaselineGap = std::max(0, (L.Height - th) / 2);
    }
    if (AttrUp.find(L"WRAP") != String::npos) {
        L.Height = th;
        L.BaselineGap = 0;
    }
    if (fl != 0) {
        L.BaselineGap = L.Height - th;
        if (fl == 1) L.Float.Left = dw + 2;
        else L.Float.Right = dw + 2;
        L.Float.Bottom = std::max(L.Float.Bottom, top + dh);
        if (Drawing) L.Height = th;
        if (fl == 2) L.Width = L.R.Right - L.R.Left;
    }
    return false;
}

bool TMarkupRenderer::TagListItem(const String& AttrUp, bool Drawing)
{
    const bool grid = Pol.GridRules;
    TColor color = clNone;
    String type;
    if (!grid && AttrUp.find(L'>') == String::npos) {
        // The attribute text ends before the ">"; without one nothing is read.
    }
    if (!grid) {
        size_t p = AttrUp.find(L"TYPE");
        if (p != String::npos) type = QuotedAfter(AttrUp, Integer(p + 5));
        p = AttrUp.find(L"COLOR");
        if (p != String::npos) color = MarkupColor(QuotedAfter(AttrUp, Integer(p + 6)));
    }
    // A second item in one line starts the next line; its indent is not
    // counted in this one.
    if (FirstLI) return true;
    FirstLI = true;
    L.Width += ListLevel * 12;
    CurLeft += ListLevel * 12 - 12;
    if (Drawing && !Hidden) {
        const Integer x = CurLeft, top = L.R.Top;
        if (type == L"SQUARE" || type == L"CIRCLE") {
            const TColor saved = BrushColorOrNone();
            const TColor c = color == clNone ? C->Font()->Color() : color;
            C->Pen()->SetColor(c);
            C->Brush()->SetColor(c);
            C->Brush()->SetStyle(bsSolid);
            if (type == L"SQUARE") C->Rectangle(x, top + 2, x + 8, top + 10);
            else C->Ellipse(x, top + 2, x + 8, top + 10);
            SetBrushColor(saved);
        } else if (!type.empty()) {
            SetBrushColor(clNone);
        } else {
            const TColor fc = C->Font()->Color();
            const String fn = C->Font()->Name();
            if (color != clNone) C->Font()->SetColor(color);
            C->Font()->SetName(L"Symbol");
            const String bullet = Ordered ? IntToStr(ItemCounter) + L". " : String(ListLevel % 2 ? L"\u00B7" : L"o");
            TRect r{x, top, L.R.Right, L.R.Bottom};
            C->RequireState();
            DrawTextStr(Dc, bullet, &r, 0);
            if (Ordered) {
                ++ItemCounter;
                CurLeft += C->TextWidth(bullet) - 12;
            }
            C->Font()->SetName(fn);
            C->Font()->SetColor(fc);
        }
    }
    CurLeft += 12;
    return false;
}

void TMarkupRenderer::TagRule(const String& Attr, const String& AttrUp, bool Drawing)
{
    if (!Drawing) return;
    TColor c = TColor(0);
    if (!Pol.GridRules) {
        const size_t p = AttrUp.find(L"COLOR");
        if (p != String::npos) c = MarkupColor(QuotedAfter(Attr, Integer(p + 6)));
    }
    const TColor pc = C->Pen()->Color();
    C->Pen()->SetColor(c);
    C->MoveTo(L.R.Left, L.R.Bottom + 1);
    C->LineTo(L.R.Right, L.R.Bottom + 1);
    C->Pen()->SetColor(pc);
}

void TMarkupRenderer::DrawBodyPicture(const TImageSource& S, bool RightColumn)
{
    const TRect& R = P.Rect;
    const Integer top = L.R.Top;
    if (S.Kind == TImageSource::skList) {
        const Integer w = P.Images->Width(), h = P.Images->Height();
        const Integer x = RightColumn ? L.R.Right - w : CurLeft;
        if (!P.Printing) {
            P.Images->Draw(C, x, top, S.Index, true);
        } else {
            TBitmap bmp(w, h);
            bmp.Canvas()->Brush()->SetColor(clWhite);
            bmp.Canvas()->FillRect(TRect{0, 0, w, h});
            P.Images->Draw(bmp.Canvas(), 0, 0, S.Index, true);
            const Integer sw = Integer(std::nearbyint(w * P.ResFactor));
            const Integer sh = Integer(std::nearbyint(h * P.ResFactor));
            const Integer sx = RightColumn ? L.R.Right - sw : x;
            StretchDIBDraw(C, TRect{sx, top, sx + sw, top + sh}, &bmp);
        }
    } else if (S.Kind == TImageSource::skSmallIcon || S.Kind == TImageSource::skLargeIcon) {
        TSize sz{0, 0};
        const bool large = S.Kind == TImageSource::skLargeIcon;
        DrawSystemIcon(C, 0, 0, sz, P.ResFactor, P.Printing, false, large, S.Name);
        const Integer w = P.Images ? P.Images->Width() : sz.cx;
        const Integer x = RightColumn ? L.R.Right - w : CurLeft;
        DrawSystemIcon(C, x, top, sz, P.ResFactor, P.Printing, true, large, S.Name);
    } else if (S.Kind == TImageSource::skPicture) {
        TGraphic* g = S.Picture;
        const Integer pw = g->Width(), ph = g->Height();
        const int saved = SaveDC(Dc);
        IntersectClipRect(Dc, R.Left, R.Top, R.Right, R.Bottom);
        for (Integer y = R.Top; y < R.Bottom; y += ph) {
            if (RightColumn) C->Draw(R.Right - pw, y, g);
            else
                for (Integer x = R.Left; x < R.Right; x += pw) C->Draw(x, y, g);
        }
        RestoreDC(Dc, saved);
        C->Refresh();
    }
}

void TMarkupRenderer::TagBody(const String& Attr, const String& AttrUp, bool Drawing)
{
    if (!Drawing) return;
    const bool grid = Pol.GridRules;
    auto at = [&](const wchar_t* name) { return AttrUp.find(name); };
    TImageSource s;
    size_t p = at(L"BACKGROUND");
    if (p != String::npos) {
        const String v = QuotedAfter(Attr, Integer(p + 11));
        if (grid) {
            if (v.find(L':') == String::npos || v.find(L"://") != String::npos) ResolveSource(v, s);
            if (s.Kind == TImageSource::skPicture) DrawBodyPicture(s, false);
        } else {
            ResolveSource(v, s);
            DrawBodyPicture(s, false);
        }
    }
    if (!grid) {
        p = at(L"BGTOPLEFT");
        if (p != String::npos) {
            ResolveSource(QuotedAfter(Attr, Integer(p + 10)), s);
            DrawBodyPicture(s, false);
        }
        p = at(L"BGTOPRIGHT");
        if (p != String::npos) {
            ResolveSource(QuotedAfter(Attr, Integer(p + 11)), s);
            DrawBodyPicture(s, true);
        }
    }
    p = at(L"BGCOLOR");
    if (p == String::npos) return;
    const String v = QuotedAfter(AttrUp, Integer(p + 8));
    const TRect& R = P.Rect;
    if (grid) {
        if (v.find(L"CL") != String::npos) SetBrushColor(TextToColor(LowerCase(v)));
        if (v.find(L'#') != String::npos) SetBrushColor(HexToColor(v));
        FontSavedBrush = BrushColorOrNone();
        const TColor pc = C->Pen()->Color();
        C->Pen()->SetColor(C->Brush()->Color());
        C->Rectangle(R);
        C->Pen()->SetColor(pc);
        return;
    }
    const TColor c = v.empty() ? clNone : MarkupColor(v);
    const size_t pt = at(L"BGCOLORTO");
    if (pt == String::npos) {
        FontSavedBrush = BrushColorOrNone();
        SetBrushColor(c);
        const TColor pc = C->Pen()->Color();
        C->Pen()->SetColor(c);
        C->Rectangle(R.Left - 2, R.Top, R.Right, R.Bottom);
        C->Pen()->SetColor(pc);
    } else {
        const String v2 = QuotedAfter(AttrUp, Integer(pt + 10));
        const TColor c2 = v2.empty() ? clNone : MarkupColor(v2);
        const size_t pd = at(L"DIR");
        const String dir = pd == String::npos ? String(L"H") : QuotedAfter(AttrUp, Integer(pd + 4));
        C->Pen()->SetColor(c);
        GradientRect(C, c, c2, dir == L"H", R, 64, clNone);
        SetBrushColor(clNone);
    }
}

}  // namespace markup_detail
