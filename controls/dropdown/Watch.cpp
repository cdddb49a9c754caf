#include "controls/dropdown/Watch.h"

#include <algorithm>
#include <cmath>

#include "controls/foundation/VodGDIP.h"
#include "platform/base/ComObj.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/ui/Windows.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

ARGB WithAlpha(TColor c, Byte a) { return (ARGBFromTColor(c) & 0x00FFFFFFu) | (ARGB(a) << 24); }

// A point at angle a (degrees clockwise from 12) and distance d from c.
TGPPointF At(double cx, double cy, double a, double d)
{
    const double r = a * kPi / 180.0;
    return TGPPointF{REAL(cx + std::sin(r) * d), REAL(cy - std::cos(r) * d)};
}

void HMS(TDateTime t, Word& h, Word& m, Word& s)
{
    Word ms = 0;
    DecodeTime(t, h, m, s, ms);
}

}  // namespace

// ---------------------------------------------------------------------------
// TWatchSettings

void TWatchSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TWatchSettings*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSeconds = s->FSeconds;
    FTimeOffset = s->FTimeOffset;
    SetAuto(s->FAuto);
}

void TWatchSettings::SetAuto(bool v)
{
    if (FAuto == v) return;
    FAuto = v;
    Changed();
}

void TWatchSettings::SetSecond(bool v)
{
    if (FSeconds == v) return;
    FSeconds = v;
    Changed();
}

void TWatchSettings::SetTimeOffset(Integer v)
{
    if (FTimeOffset == v) return;
    FTimeOffset = v;
    Changed();
}

// ---------------------------------------------------------------------------
// TVodWatch

TVodWatch::TVodWatch(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()),
      FBKGCache(std::make_unique<TBitmap>()),
      FHandsBuffer(std::make_unique<TBitmap>())
{
    FrameDelay = [](DWORD ms) { Sleep(ms); };
    FAppearance->OnChange = [this](TObject*) {
        if (HandleAllocated()) Invalidate();
    };
    FSettings->OnChange = [this](TObject*) { SettingsChanged(); };
    FWatchTimer = new TTimer(this);
    FWatchTimer->SetEnabled(false);
    FWatchTimer->SetInterval(100);
    FWatchTimer->SetOnTimer([this](TObject*) { RedrawHands(); });
    FAnimationTimer = new TTimer(this);
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->SetOnTimer([this](TObject*) { AnimationTimerTick(); });
    SetBounds(Left(), Top(), 180, 180);
}

TVodWatch::~TVodWatch()
{
    FAppearance->OnChange = nullptr;
    FSettings->OnChange = nullptr;
}

String TVodWatch::Version()
{
    Integer v = GetVersionNr();
    return IntToStr((v >> 24) & 0xFF) + L"." + IntToStr((v >> 16) & 0xFF) + L"." + IntToStr((v >> 8) & 0xFF) +
           L"." + IntToStr(v & 0xFF);
}

bool TVodWatch::Animating() const { return FAnimationTimer->Enabled(); }

Integer TVodWatch::Hour() const
{
    Word h, m, s;
    HMS(FTime, h, m, s);
    return h;
}

Integer TVodWatch::Minute() const
{
    Word h, m, s;
    HMS(FTime, h, m, s);
    return m;
}

void TVodWatch::SetShowAMPM(bool v)
{
    if (FShowAMPM == v) return;
    FShowAMPM = v;
    if (HandleAllocated()) Invalidate();
}

void TVodWatch::SetShowNumbers(bool v)
{
    if (FShowNumbers == v) return;
    FShowNumbers = v;
    if (HandleAllocated()) Invalidate();
}

void TVodWatch::SetStyle(TWatchStyle v)
{
    if (FStyle == v) return;
    FStyle = v;
    TWatchStyleExtras x{FShowAMPM, FShowNumbers, FAnimation, FAnimationFactor};
    ApplyWatchStyle(*FAppearance, v, Width(), Height(), x);
    FShowAMPM = x.ShowAMPM;
    FShowNumbers = x.ShowNumbers;
    FAnimation = x.Animation;
    FAnimationFactor = x.AnimationFactor;
    if (HandleAllocated()) Invalidate();
}

void TVodWatch::SetComponentStyle(TQelStyle AStyle) { ApplyWatchComponentStyle(*FAppearance, AStyle); }

void TVodWatch::SetTime(TDateTime v)
{
    if (v == FTime) return;
    InternalSetTime(v);
    RedrawHands();
}

void TVodWatch::InternalSetTime(TDateTime t)
{
    if (t == FTime) return;
    FTime = t;
    Word h, m, s;
    HMS(t, h, m, s);
    FInternalSet = true;
    SetAM(h < 12);
    FInternalSet = false;
}

void TVodWatch::SettingsChanged()
{
    FWatchTimer->SetEnabled(FSettings->Auto());
    if (FSettings->Auto()) {
        FInternalSet = true;
        InternalSetTime(ShownTime());
        FInternalSet = false;
    }
    if (HandleAllocated()) Invalidate();
}

TDateTime TVodWatch::ShownTime()
{
    if (!FSettings->Auto()) return FTime;
    TDateTime t = Now() + FSettings->TimeOffset() / 1440.0;
    return t - std::floor(t);
}

// ---------------------------------------------------------------------------
// Setting hour and minute

void TVodWatch::ApplyHour(Integer v)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    InternalSetTime(EncodeTime(Word(v), m, s, 0));
    RedrawHands();
}

void TVodWatch::ApplyMinute(Integer v)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    // Passing 12 o'clock clockwise moves into the next hour.
    if (v == 0 && FMinuteFrom > 30) {
        h = Word(h == 23 ? 0 : h + 1);
        FMinuteFrom = 0;
    }
    InternalSetTime(EncodeTime(h, Word(v), s, 0));
    RedrawHands();
}

void TVodWatch::SetHour(Integer Value)
{
    if (Value < 0 || Value > 23) throw Exception(L"Invalid time");
    if (Value == Hour()) return;
    const bool loading = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
    if (!FAnimation || FInternalCall || loading) {
        FCurrentHourTo = Byte(Value);
        ApplyHour(Value);
        Changed();
        return;
    }
    FCurrentHourTo = Byte(Value);
    FHourAnimating = true;
    FAnimationTimer->SetEnabled(true);
}

void TVodWatch::SetMinute(Integer Value)
{
    if (Value < 0 || Value >= 60) throw Exception(L"Invalid time");
    if (Value == Minute()) return;
    const bool loading = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
    if (FAnimation && !FInternalCall && !loading) {
        FCurrentMinuteTo = Byte(Value);
        FHourAnimating = false;
        FMinuteFrom = Byte(Minute());
        FAnimationTimer->SetEnabled(true);
        return;
    }
    FMinuteFrom = Byte(Minute());
    FCurrentMinuteTo = Byte(Value);
    ApplyMinute(Value);
    Changed();
}

void TVodWatch::AnimationTimerTick()
{
    if (!FAnimation || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning)) return;
    if (FHourAnimating)
        StepTowardsHour();
    else
        StepTowardsMinute();
}

void TVodWatch::StepTowardsHour()
{
    const Integer factor = FAnimationFactor > 0 ? FAnimationFactor : 1;
    const Integer h = Hour(), t = FCurrentHourTo;
    const Integer dist = std::abs(t - h);
    Integer next = t;
    if (dist > 1) {
        const Integer step = std::max<Integer>(1, Integer(Round(double(dist) / factor)));
        next = t > h ? h + step : h - step;
    }
    ApplyHour(next);
    if (next == t) {
        FAnimationTimer->SetEnabled(false);
        Changed();
    }
}

void TVodWatch::StepTowardsMinute()
{
    const Integer factor = FAnimationFactor > 0 ? FAnimationFactor : 1;
    const Integer m = Minute(), t = FCurrentMinuteTo;
    const bool overTwelve = t == 0 && m > 30;
    const Integer dist = overTwelve ? 60 - m : std::abs(t - m);
    Integer next = t;
    if (dist > 1) {
        const Integer step = std::max<Integer>(1, Integer(Round(double(dist) / factor)));
        next = (m >= t && !overTwelve) ? m - step : m + step;
        if (next >= 60) next = 0;
    }
    ApplyMinute(next);
    if (next == t) {
        FAnimationTimer->SetEnabled(false);
        Changed();
    }
}

void TVodWatch::WatchKeyDown(Word Key)
{
    if (FSettings->Auto()) return;
    const Integer h = Hour(), m = Minute();
    auto atOnce = [&](Integer v) {
        FInternalCall = true;
        try {
            SetHour(v);
        } catch (...) {
            FInternalCall = false;
            throw;
        }
        FInternalCall = false;
    };
    switch (Key) {
    case 'A':
        if (h >= 12) SetHour(h - 12);
        break;
    case 'P':
        if (h < 12) SetHour(h + 12);
        break;
    case VK_PRIOR:
        if (h == 23)
            atOnce(0);
        else
            SetHour(h + 1);
        break;
    case VK_NEXT:
        if (h == 0)
            atOnce(23);
        else
            SetHour(h - 1);
        break;
    case VK_HOME: atOnce(12); break;
    case VK_END: SetMinute(0); break;
    case VK_LEFT:
        if (m == 0) {
            Word hh, mm, ss, ms;
            DecodeTime(FTime, hh, mm, ss, ms);
            SetTime(EncodeTime(Word(hh == 0 ? 23 : hh - 1), 59, ss, 0));
            Changed();
        } else {
            SetMinute(m - 1);
        }
        break;
    case VK_RIGHT: SetMinute(m == 59 ? 0 : m + 1); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Picking

TRect TVodWatch::GetWatchRect()
{
    TRect c = ClientRect();
    const Integer w = c.Width(), h = c.Height();
    const Integer size = FAppearance->Size();
    const Integer s = size > 0 ? std::min({size, h, w}) : std::min(h, w) - 20;
    const Integer l = c.Left + (w - s) / 2, t = c.Top + (h - s) / 2;
    return TRect{l, t, l + s, t + s};
}

TPoint TVodWatch::GetCenter()
{
    TRect r = GetWatchRect();
    return TPoint{r.Left + r.Width() / 2, r.Top + r.Height() / 2};
}

Integer TVodWatch::GetRadius() { return GetWatchRect().Width() / 2; }

bool TVodWatch::IsPointInEllipse(Integer X, Integer Y)
{
    TRect r = GetWatchRect();
    const double a = r.Width() / 2.0, b = r.Height() / 2.0;
    if (a <= 0 || b <= 0) return false;
    const double dx = (X - (r.Left + a)) / a, dy = (Y - (r.Top + b)) / b;
    return dx * dx + dy * dy <= 1.0;
}

Integer TVodWatch::XYToMinute(Integer X, Integer Y)
{
    TPoint c = GetCenter();
    Integer dy = std::abs(c.Y - Y), dx = std::abs(c.X - X);
    if (dy == 0) dy = 1;
    if (dx == 0) dx = 1;
    const Integer m = Integer(Round(std::atan(double(dy) / dx) * 180.0 / kPi / 6.0));
    Integer r;
    if (X >= c.X && Y >= c.Y)
        r = m + 15;
    else if (X < c.X && Y >= c.Y)
        r = 45 - m;
    else if (X < c.X)
        r = m + 45;
    else
        r = 15 - m;
    if (r < 0 || r > 59) r = 0;
    return r;
}

Integer TVodWatch::XYToHour(Integer X, Integer Y)
{
    Integer h = Integer(Round(XYToMinute(X, Y) / 5.0));
    // 12 o'clock is hour 0 of the half, on both sides of the mark.
    if (h == 12) h = 0;
    if (h <= 0) return FAM ? 0 : 12;
    h = FAM ? h : h + 12;
    return h == 24 ? 0 : h;
}

TRect TVodWatch::GetAMPMRect()
{
    TBitmap probe;
    probe.SetSize(1, 1);
    TGPGraphics pg(probe.Canvas()->Handle());
    const Integer tw = pg.TextWidth(L"AM", FAppearance->AMPMFont());
    const Integer th = pg.TextHeight(L"AM", FAppearance->AMPMFont());
    TPoint c = GetCenter();
    const Integer r = GetRadius();
    const Integer w = tw + 8;
    const Integer l = c.X - w / 2, t = c.Y + Integer(Round(double(r - th) / 3));
    return TRect{l, t, l + w, t + th};
}

void TVodWatch::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FReadOnly || FSettings->Auto() || Button != mbLeft) return;
    if (!IsPointInEllipse(X, Y)) {
        SetMinute(XYToMinute(X, Y));
        return;
    }
    if (FShowAMPM && PtInRect(GetAMPMRect(), TPoint{X, Y})) {
        if (FAnimation) SetAM(!FAM);
        const Integer h = Hour();
        const Integer nh = h < 12 ? h + 12 : h - 12;
        FCurrentHourTo = Byte(nh);
        FInternalCall = true;
        SetHour(nh);
        FInternalCall = false;
        return;
    }
    SetHour(XYToHour(X, Y));
}

void TVodWatch::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETDLGCODE: M.Result = TabStop() ? 5 : 0; return;
    case WM_SETCURSOR:
        if (!ComponentState().Contains(csDesigning) && HandleAllocated()) {
            TPoint p = ScreenToClient(Mouse ? Mouse->CursorPos() : TPoint{});
            if (FShowAMPM && PtInRect(GetAMPMRect(), p)) {
                ::SetCursor(Screen->Cursors(crHandPoint));
                M.Result = 1;
                return;
            }
        }
        break;
    case WM_SIZE:
        TCustomControl::Dispatch(M);
        if (HandleAllocated()) Invalidate();
        return;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// AM and PM

void TVodWatch::SetAM(bool v)
{
    if (FAM == v) return;
    FAM = v;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet && HandleAllocated() &&
        FBKGCache->Width() == Width() && FBKGCache->Height() == Height()) {
        // The box scrolls from the old text to the new one, a pixel row a
        // frame.
        TRect box = GetAMPMRect();
        TRect inner = box;
        InflateRect(inner, -1, -1);
        const Integer rows = std::max<Integer>(0, inner.Height());
        TBitmap frame;
        frame.SetSize(Width(), Height());
        for (Integer i = 1; i <= rows; ++i) {
            BitBlt(frame.Canvas()->Handle(), 0, 0, Width(), Height(), FBKGCache->Canvas()->Handle(), 0, 0, SRCCOPY);
            {
                TGPGraphics g(frame.Canvas()->Handle());
                g.SetSmoothingMode(SmoothingModeAntiAlias);
                g.SetTextRenderingHint(TextRenderingHintAntiAlias);
                TGPSolidBrush fill(ARGBFromTColor(FAppearance->AMPMColor()));
                TGPRectF ir = NewGPRectF(REAL(inner.Left), REAL(inner.Top), REAL(inner.Width()), REAL(inner.Height()));
                g.FillRectangle(&fill, ir);
                g.SetClip(std::unique_ptr<TGPRegion>(new TGPRegion(ir)).get());
                std::unique_ptr<TGPFont> font(g.MakeFont(FAppearance->AMPMFont()));
                TGPSolidBrush text(ARGBFromTColor(FAppearance->AMPMFont()->Color()));
                TGPStringFormat sf;
                sf.SetAlignment(StringAlignmentCenter);
                sf.SetLineAlignment(StringAlignmentCenter);
                // The strip holds "AM" above "PM"; going to PM it moves up.
                const REAL shift = REAL(v ? rows - i : i);
                TGPRectF am = NewGPRectF(REAL(box.Left), REAL(box.Top) - shift, REAL(box.Width()), REAL(box.Height()));
                TGPRectF pm = NewGPRectF(am.X, am.Y + REAL(rows), am.Width, am.Height);
                g.DrawString(L"AM", -1, font.get(), am, &sf, &text);
                g.DrawString(L"PM", -1, font.get(), pm, &sf, &text);
                g.ResetClip();
                if (FAppearance->AMPMBorderColor() != clNone) {
                    TGPPen pen(ARGBFromTColor(FAppearance->AMPMBorderColor()));
                    g.DrawRectangle(&pen, REAL(box.Left), REAL(box.Top), REAL(box.Width() - 1), REAL(box.Height() - 1));
                }
            }
            DrawHands(frame.Canvas()->Handle());
            CopyToControl(&frame);
            if (FrameDelay) FrameDelay(10);
        }
    }
    if (HandleAllocated()) Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TVodWatch::CopyToControl(TBitmap* B)
{
    if (!HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    if (!dc) return;
    BitBlt(dc, 0, 0, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
    ReleaseDC(Handle(), dc);
}

void TVodWatch::Paint() { PaintWatch(); }

void TVodWatch::PaintWatch()
{
    const Integer w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    FBKGCache->SetSize(w, h);
    HDC cache = FBKGCache->Canvas()->Handle();
    TCanvas* c = Canvas();
    // What lies under the face shows through.
    BitBlt(cache, 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
    {
        TGPGraphics g(cache);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        g.SetTextRenderingHint(TextRenderingHintAntiAlias);
        DrawBackground(g);
        DrawTickMarks(g);
        if (FShowNumbers) DrawNumbers(g);
        if (FShowAMPM) DrawAMPM(g);
    }
    BitBlt(c->Handle(), 0, 0, w, h, cache, 0, 0, SRCCOPY);
    DrawHands(c->Handle());
}

void TVodWatch::RedrawHands()
{
    if (!HandleAllocated()) return;
    const Integer w = Width(), h = Height();
    if (FBKGCache->Width() != w || FBKGCache->Height() != h) {
        Invalidate();
        return;
    }
    if (FHandsBuffer->Width() != w || FHandsBuffer->Height() != h) FHandsBuffer->SetSize(w, h);
    HDC buf = FHandsBuffer->Canvas()->Handle();
    BitBlt(buf, 0, 0, w, h, FBKGCache->Canvas()->Handle(), 0, 0, SRCCOPY);
    DrawHands(buf);
    CopyToControl(FHandsBuffer.get());
}

namespace {

// The shape of the face as a path.
void ShapePath(TGPGraphicsPath& p, TWatchShape shape, const TRect& client, TPoint c, Integer r, Integer shrink)
{
    const REAL l = REAL(client.Left), t = REAL(client.Top);
    const REAL w = REAL(client.Width() - shrink), h = REAL(client.Height() - shrink);
    switch (shape) {
    case wsCircle: p.AddEllipse(REAL(c.X - r), REAL(c.Y - r), REAL(2 * r), REAL(2 * r)); break;
    case wsRect: p.AddRectangle(NewGPRectF(l, t, w, h)); break;
    case wsRoundRect: {
        const REAL d = 16;  // corners of radius 8
        p.AddLine(l + 8, t, l + w - 8, t);
        p.AddArc(l + w - d, t, d, d, 270, 90);
        p.AddLine(l + w, t + 8, l + w, t + h - 8);
        p.AddArc(l + w - d, t + h - d, d, d, 0, 90);
        p.AddLine(l + w - 8, t + h, l + 8, t + h);
        p.AddArc(l, t + h - d, d, d, 90, 90);
        p.AddLine(l, t + h - 8, l, t + 8);
        p.AddArc(l, t, d, d, 180, 90);
        p.CloseFigure();
        break;
    }
    }
}

}  // namespace

void TVodWatch::DrawBackground(TGPGraphics& g)
{
    TWatchAppearance* a = FAppearance.get();
    const TRect client = ClientRect();
    const TPoint c = GetCenter();
    const Integer r = GetRadius();
    TPicture* pic = a->Picture();
    if (pic->Graphic() && !pic->Empty()) {
        // The picture stretched over the control; keyed on its top-left
        // colour unless it carries its own alpha.
        TMemoryStream bytes;
        pic->Graphic()->SaveToStream(&bytes);
        const size_t n = size_t(bytes.Size());
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(n, 1));
        if (!block) throw Exception(L"Could not allocate memory for image");
        TComPtr<IStream> stream;
        if (CreateStreamOnHGlobal(block, 1, stream.ReleaseAndGetAddressOf()) != S_OK || !stream) {
            GlobalFree(block);
        } else {
            ULONG written = 0;
            stream->Write(bytes.Memory(), ULONG(n), &written);
            stream->Seek(0, STREAM_SEEK_SET, nullptr);
            TGPBitmap img(stream.Get());
            if (img.GetLastStatus() == Ok && img.GetWidth() > 0) {
                TGPRectF dest = NewGPRectF(REAL(client.Left), REAL(client.Top), REAL(client.Width()),
                                           REAL(client.Height()));
                if (img.GetFormat() == ifPNG) {
                    g.DrawImage(&img, dest);
                } else {
                    ARGB key = 0;
                    img.GetPixel(0, 0, key);
                    TGPImageAttributes attrs;
                    attrs.SetColorKey(key, key);
                    g.DrawImage(&img, dest, 0, 0, REAL(img.GetWidth()), REAL(img.GetHeight()), UnitPixel, &attrs);
                }
            }
        }
    } else {
        const TColor from = a->BackgroundColor();
        const TColor to = a->BackgroundColorTo() == clNone ? from : a->BackgroundColorTo();
        TGPGraphicsPath path;
        ShapePath(path, a->Shape(), client, c, r, 0);
        if (a->BackgroundGradient() == wgRadial) {
            TGPPathGradientBrush b(&path);
            b.SetCenterPoint(TGPPointF{REAL(c.X), REAL(c.Y)});
            b.SetCenterColor(ARGBFromTColor(from));
            ARGB edge = ARGBFromTColor(to);
            INT count = 1;
            b.SetSurroundColors(&edge, count);
            g.FillPath(&b, &path);
        } else if (client.Width() > 0 && client.Height() > 0) {
            LinearGradientMode mode = a->BackgroundGradient() == wgVertical          ? LinearGradientModeVertical
                                      : a->BackgroundGradient() == wgDiagonalForward ? LinearGradientModeForwardDiagonal
                                                                                     : LinearGradientModeBackwardDiagonal;
            TGPRectF cr = NewGPRectF(REAL(client.Left), REAL(client.Top), REAL(client.Width()), REAL(client.Height()));
            TGPLinearGradientBrush b(cr, ARGBFromTColor(from), ARGBFromTColor(to), mode);
            g.FillPath(&b, &path);
        }
    }
    if (a->BorderStyle() != wbNone && a->BorderWidth() > 0 && a->BorderColor() != clNone) {
        TGPGraphicsPath border;
        ShapePath(border, a->Shape(), client, c, r, 1);
        TGPPen pen(ARGBFromTColor(a->BorderColor()), REAL(a->BorderWidth()));
        g.DrawPath(&pen, &border);
    }
}

void TVodWatch::DrawTickMarks(TGPGraphics& g)
{
    TWatchAppearance* a = FAppearance.get();
    if (a->TickMarks() == tmNone) return;
    const TPoint c = GetCenter();
    const double ro = GetRadius() - a->BorderWidth() / 2;
    const double ri = a->HourMarkLength() > 0 ? ro - a->HourMarkLength() : ro * 0.9;
    TGPPen hourPen(ARGBFromTColor(a->HourColor()), REAL(a->HourMarkWidth()));
    auto mark = [&](TGPPen& pen, double angle, double inner, double offset) {
        // offset: across the mark, for the doubled quarter marks.
        TGPPointF p1 = At(c.X, c.Y, angle, inner), p2 = At(c.X, c.Y, angle, ro);
        const double rad = angle * kPi / 180.0;
        const REAL ox = REAL(std::cos(rad) * offset), oy = REAL(std::sin(rad) * offset);
        g.DrawLine(&pen, p1.X + ox, p1.Y + oy, p2.X + ox, p2.Y + oy);
    };
    for (Integer i = 0; i < 12; ++i) {
        const double angle = i * 30.0;
        const bool quarter = i % 3 == 0;
        if (quarter) {
            if (a->HourMarkStyle() == hmsQuartDblLine) {
                mark(hourPen, angle, ri, -2);
                mark(hourPen, angle, ri, 2);
            } else {
                mark(hourPen, angle, ri, 0);
            }
        } else if (a->TickMarks() == tmAll || a->TickMarks() == tmHours) {
            mark(hourPen, angle, ri, 0);
        }
    }
    if (a->TickMarks() != tmAll) return;
    const double mi = a->MinuteMarkLength() > 0 ? ro - a->MinuteMarkLength() : ro * 0.95;
    TGPPen minutePen(ARGBFromTColor(a->MinuteColor()), REAL(a->MinuteMarkWidth()));
    for (Integer i = 0; i < 60; ++i)
        if (i % 5 != 0) mark(minutePen, i * 6.0, mi, 0);
}

void TVodWatch::DrawNumbers(TGPGraphics& g)
{
    TWatchAppearance* a = FAppearance.get();
    const TPoint c = GetCenter();
    const Integer ro = GetRadius() - a->BorderWidth() / 2;
    const Integer L = a->HourMarkLength() > 0 ? a->HourMarkLength() : Integer(Round(ro - ro * 0.9)) + 2;
    const Integer rn = ro - 2 * L - 2;
    std::unique_ptr<TGPFont> font(g.MakeFont(a->HourFont()));
    TGPSolidBrush brush(ARGBFromTColor(a->HourFont()->Color()));
    for (Integer i = 1; i <= 12; ++i) {
        if (a->TickMarks() == tmQuartHours && i % 3 != 0) continue;
        const String s = IntToStr(i);
        const Integer tw = g.TextWidth(s, a->HourFont()), th = g.TextHeight(s, a->HourFont());
        const Integer k = i == 10 ? Integer(Round(0.2 * th)) : i == 11 ? Integer(Round(0.15 * th)) : 0;
        const double radius = rn + L / 2 - k;
        const double rad = i * 30.0 * kPi / 180.0;
        const Integer px = c.X + Integer(Round(std::sin(rad) * radius)) + 1;
        const Integer py = c.Y - Integer(Round(std::cos(rad) * radius)) + 1;
        g.DrawString(s, -1, font.get(), TGPPointF{REAL(px - tw / 2 - 1), REAL(py - th / 2 - 1)}, &brush);
    }
}

void TVodWatch::DrawAMPM(TGPGraphics& g)
{
    TWatchAppearance* a = FAppearance.get();
    if (a->AMPMColor() == clNone && a->AMPMBorderColor() == clNone) return;
    const TRect r = GetAMPMRect();
    TGPGraphicsPath path;
    const REAL l = REAL(r.Left), t = REAL(r.Top), w = REAL(r.Width() - 1), h = REAL(r.Height() - 1);
    if (a->AMPMFrame() == apRoundRect) {
        const REAL d = 5;
        path.AddArc(l, t, d, d, 180, 90);
        path.AddArc(l + w - d, t, d, d, 270, 90);
        path.AddArc(l + w - d, t + h - d, d, d, 0, 90);
        path.AddArc(l, t + h - d, d, d, 90, 90);
        path.CloseFigure();
    } else {
        path.AddRectangle(NewGPRectF(l, t, w, h));
    }
    if (a->AMPMColor() != clNone) {
        TGPSolidBrush fill(ARGBFromTColor(a->AMPMColor()));
        g.FillPath(&fill, &path);
    }
    if (a->AMPMBorderColor() != clNone) {
        TGPPen pen(ARGBFromTColor(a->AMPMBorderColor()));
        g.DrawPath(&pen, &path);
    }
    std::unique_ptr<TGPFont> font(g.MakeFont(a->AMPMFont()));
    TGPSolidBrush text(ARGBFromTColor(a->AMPMFont()->Color()));
    TGPStringFormat sf;
    sf.SetAlignment(StringAlignmentCenter);
    sf.SetLineAlignment(StringAlignmentCenter);
    g.DrawString(FAM ? L"AM" : L"PM", -1, font.get(), NewGPRectF(l, t, REAL(r.Width()), REAL(r.Height())), &sf,
                 &text);
}

void TVodWatch::DrawHands(HDC DC)
{
    TWatchAppearance* a = FAppearance.get();
    TDateTime t = FTime;
    if (FSettings->Auto()) {
        t = ShownTime();
        Word h0, m0, s0;
        HMS(t, h0, m0, s0);
        FInternalSet = true;
        SetAM(h0 < 12);
        FInternalSet = false;
        FOldHour = h0;
        FOldMinute = m0;
        FOldSecond = s0;
    }
    Word hh, mm, ss;
    HMS(t, hh, mm, ss);
    const double hourAngle = (hh % 12) * 30.0 + mm / 2.0, minuteAngle = mm * 6.0, secondAngle = ss * 6.0;
    const TPoint cp = GetCenter();
    const double cx = cp.X, cy = cp.Y, r = GetRadius();
    TGPGraphics g(DC);
    g.SetSmoothingMode(SmoothingModeAntiAlias);

    const TPointerStyle ps = a->PointerStyle();
    auto lineHand = [&](TColor color, Byte size, double angle, double len, double dx, double dy, bool arrow,
                        double arrowLen, double arrowAngle, Byte alpha) {
        TGPPen pen(alpha == 255 ? ARGBFromTColor(color) : WithAlpha(color, alpha), REAL(size));
        const double tail = ps == psShortLine ? 0 : 0.1 * r;
        TGPPointF p1 = At(cx + dx, cy + dy, angle + 180, tail), p2 = At(cx + dx, cy + dy, angle, len);
        g.DrawLine(&pen, p1.X, p1.Y, p2.X, p2.Y);
        if (arrow) {
            for (double sgn : {-1.0, 1.0}) {
                TGPPointF q = At(cx + dx, cy + dy, angle + sgn * arrowAngle, arrowLen);
                g.DrawLine(&pen, p2.X, p2.Y, q.X, q.Y);
            }
        }
    };
    auto pointerHand = [&](TColor color, double angle, double len, double dx, double dy, Byte alpha) {
        TGPSolidBrush brush(alpha == 255 ? ARGBFromTColor(color) : WithAlpha(color, alpha));
        const double ox = cx + dx, oy = cy + dy;
        TGPPointF pts[4] = {At(ox, oy, angle + 180, 0.1 * r), At(ox, oy, angle - 90, 0.05 * r),
                            At(ox, oy, angle, len), At(ox, oy, angle + 90, 0.05 * r)};
        g.FillPolygon(&brush, pts, 4);
    };
    const bool arrow = ps == psLineArrow;
    // Hour hand.
    if (ps == psPointer) {
        if (a->HourPointerShadow() != clNone) pointerHand(a->HourPointerShadow(), hourAngle, 0.5 * r, 1, 3, 80);
        pointerHand(a->HourPointer(), hourAngle, 0.5 * r, 0, 0, 255);
    } else {
        if (a->HourPointerShadow() != clNone)
            lineHand(a->HourPointerShadow(), a->HourPointerSize(), hourAngle, 0.46 * r, -1, 3, arrow, 0.4 * r, 10, 80);
        lineHand(a->HourPointer(), a->HourPointerSize(), hourAngle, 0.5 * r, 0, 0, arrow, 0.4 * r, 10, 255);
    }
    // Minute hand.
    if (ps == psPointer) {
        if (a->MinutePointerShadow() != clNone) pointerHand(a->MinutePointerShadow(), minuteAngle, 0.7 * r, 1, 3, 80);
        pointerHand(a->MinutePointer(), minuteAngle, 0.7 * r, 0, 0, 255);
    } else {
        if (a->MinutePointerShadow() != clNone)
            lineHand(a->MinutePointerShadow(), a->MinutePointerSize(), minuteAngle, 0.65 * r, 0, 3, arrow, 0.6 * r, 7,
                     80);
        lineHand(a->MinutePointer(), a->MinutePointerSize(), minuteAngle, 0.7 * r, 0, 0, arrow, 0.6 * r, 7, 255);
    }
    // Second hand.
    if (FSettings->Auto() && FSettings->Second()) {
        TGPPen pen(ARGBFromTColor(a->SecondPointer()), REAL(a->SecondPointerSize()));
        TGPPointF p1 = At(cx, cy, secondAngle + 180, 0.2 * r), p2 = At(cx, cy, secondAngle, 0.9 * r);
        g.DrawLine(&pen, p1.X, p1.Y, p2.X, p2.Y);
    }
    // Centre point.
    const Integer s = a->CenterPointSize();
    if (s > 0) {
        const REAL d = REAL(s);
        if (a->CenterPointColor() != clNone) {
            TGPSolidBrush b(ARGBFromTColor(a->CenterPointColor()));
            g.FillEllipse(&b, REAL(cx - d / 2), REAL(cy - d / 2), d, d);
        }
        Integer u = 0;
        if (a->CenterPointOuterBorderColor() != clNone) {
            u = Integer(Round(0.2 * s));
            TGPPen pen(ARGBFromTColor(a->CenterPointOuterBorderColor()), REAL(u));
            g.DrawEllipse(&pen, REAL(cx - d / 2), REAL(cy - d / 2), d, d);
        }
        if (a->CenterPointBorderColor() != clNone) {
            const REAL di = REAL(s - u);
            TGPPen pen(ARGBFromTColor(a->CenterPointBorderColor()), REAL(Round(0.1 * s)));
            g.DrawEllipse(&pen, REAL(cx - di / 2), REAL(cy - di / 2), di, di);
        }
    }
}
