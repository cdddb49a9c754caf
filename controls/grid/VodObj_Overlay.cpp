// The grid's overlay windows: the focus glow window with its premultiplied
// alpha mask, the rounded-rectangle mask with its Gaussian blur, and the
// four arrow windows that mark a drop position.
#include <algorithm>
#include <cmath>

#include "controls/grid/VodObj.h"
#include "platform/ui/WindowManager.h"

// ---------------------------------------------------------------------------
// TGridFocusWindow

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 0, 0);
    SetColor(TColor(0x0000FF));
}

void TGridFocusWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED;
    Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

// ---------------------------------------------------------------------------
// TGridAlphaMask

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TGridAlphaMask*>(Source)) {
        FOpacity = s->FOpacity;
        SetPixelFormat(pf32bit);
        s->SetPixelFormat(pf32bit);
        const int w = std::min(Width(), s->Width()), h = std::min(Height(), s->Height());
        for (int y = 0; y < h; ++y) {
            auto* dst = static_cast<uint8_t*>(ScanLine(y));
            const auto* src = static_cast<const uint8_t*>(s->ScanLine(y));
            std::copy(src, src + size_t(w) * 4, dst);
        }
        return;
    }
    TBitmap::Assign(Source);
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor)
{
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    SetPixelFormat(pf32bit);
    SetSize(w, h);
    const bool mask24 = Mask && Mask->PixelFormat() == pf24bit;
    for (int y = 0; y < h; ++y) {
        const auto* src = static_cast<const uint8_t*>(Bitmap->ScanLine(y));
        const uint8_t* m = mask24 && y < Mask->Height() ? static_cast<const uint8_t*>(Mask->ScanLine(y)) : nullptr;
        auto* dst = static_cast<uint8_t*>(ScanLine(y));
        for (int x = 0; x < w; ++x) {
            Byte alpha = 0;
            if (m && x < Mask->Width())
                alpha = m[x * 3 + 2];
            else if (Mask && !mask24 && x < Mask->Width() && y < Mask->Height())
                alpha = Byte(ColorToRGB(Mask->Canvas()->Pixels(x, y)) & 0xFF);
            for (int c = 0; c < 3; ++c)
                dst[x * 4 + c] = Byte(std::nearbyint(alpha / 255.0 * src[x * 3 + c]));
            dst[x * 4 + 3] = alpha;
        }
    }
}

// ---------------------------------------------------------------------------
// Mask and blur

void DrawRoundRectMask(TBitmap* Bitmap, Integer Width, Integer Height, Integer PenWidth, Integer Rounding,
                       Integer BlurRadius)
{
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    c->Pen()->SetColor(clBlack);
    c->FillRect(TRect{0, 0, Width, Height});
    if (PenWidth < 1) {
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clWhite);
    } else {
        c->Pen()->SetWidth(PenWidth);
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetStyle(psSolid);
        c->Brush()->SetColor(clBlack);
    }
    const Integer k = PenWidth / 2;
    c->RoundRect(k + 2, k + 2, Width - k - 2, Height - k - 2, Rounding, Rounding);
    c->Pen()->SetWidth(1);
    if (BlurRadius > 0) BlurBitmap(Bitmap, BlurRadius);
}

std::vector<float> BlurKernel(Integer Radius)
{
    float w[21];
    float sum = 0;
    for (int k = -10; k <= 10; ++k) {
        const float q = float(k) / float(Radius);
        w[k + 10] = std::exp(-(q * q) / 2.0f);
        sum += w[k + 10];
    }
    for (float& v : w) v /= sum;
    int n = 10;
    float tail = 0;
    while (tail < 1.0f / 510.0f && n > 1) {
        tail += 2 * w[n + 10];
        --n;
    }
    std::vector<float> kernel(w + 10 - n, w + 10 + n + 1);
    float s = 0;
    for (float v : kernel) s += v;
    for (float& v : kernel) v /= s;
    return kernel;
}

namespace {

// Blurs m pixels of 3 channels, Stride bytes apart.
void BlurLine(uint8_t* p, int m, int Stride, const std::vector<float>& kernel)
{
    const int n = int(kernel.size() / 2);
    std::vector<uint8_t> in(size_t(m) * 3);
    for (int i = 0; i < m; ++i)
        for (int c = 0; c < 3; ++c) in[size_t(i) * 3 + c] = p[i * Stride + c];
    for (int b = 0; b < m; ++b)
        for (int c = 0; c < 3; ++c) {
            float acc = 0;
            for (int k = -n; k <= n; ++k) acc += kernel[size_t(k + n)] * in[size_t(std::clamp(b - k, 0, m - 1)) * 3 + c];
            p[b * Stride + c] = acc < 0 ? 0 : acc > 255 ? 255 : uint8_t(acc);
        }
}

}  // namespace

void BlurBitmap(TBitmap* Bitmap, Integer Radius)
{
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit || Bitmap->HandleType() != bhDIB)
        throw Exception(L"Blur only works for 24-bit bitmaps");
    if (Radius <= 0) return;
    const std::vector<float> kernel = BlurKernel(Radius);
    const int w = Bitmap->Width(), h = Bitmap->Height();
    if (w <= 0 || h <= 0) return;
    // Rows: the first and last 21 each; those between copy blurred row 15,
    // the mask's middle being uniform.
    for (int y = 0; y < h; ++y) {
        if (y > 20 && y < h - 20) continue;
        BlurLine(static_cast<uint8_t*>(Bitmap->ScanLine(y)), w, 3, kernel);
    }
    if (h > 41 && h > 15) {
        const auto* r15 = static_cast<const uint8_t*>(Bitmap->ScanLine(15));
        for (int y = 21; y < h - 20; ++y) {
            auto* d = static_cast<uint8_t*>(Bitmap->ScanLine(y));
            std::copy(r15, r15 + size_t(w) * 3, d);
        }
    }
    // Columns likewise, through column 15.
    std::vector<uint8_t> col(size_t(h) * 3);
    for (int x = 0; x < w; ++x) {
        if (x > 20 && x < w - 20) continue;
        for (int y = 0; y < h; ++y) {
            const auto* s = static_cast<const uint8_t*>(Bitmap->ScanLine(y));
            for (int c = 0; c < 3; ++c) col[size_t(y) * 3 + c] = s[x * 3 + c];
        }
        BlurLine(col.data(), h, 3, kernel);
        for (int y = 0; y < h; ++y) {
            auto* d = static_cast<uint8_t*>(Bitmap->ScanLine(y));
            for (int c = 0; c < 3; ++c) d[x * 3 + c] = col[size_t(y) * 3 + c];
        }
    }
    if (w > 41) {
        for (int y = 0; y < h; ++y) {
            auto* d = static_cast<uint8_t*>(Bitmap->ScanLine(y));
            for (int x = 21; x < w - 20; ++x)
                for (int c = 0; c < 3; ++c) d[x * 3 + c] = d[15 * 3 + c];
        }
    }
}

// ---------------------------------------------------------------------------
// TArrowWindow

void TArrowWindow::ArrowPoints(TArrowDirection Direction, TPoint* P)
{
    static const TPoint up[7] = {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    static const TPoint down[7] = {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    static const TPoint left[7] = {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    static const TPoint right[7] = {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    const TPoint* src = Direction == arrUp ? up : Direction == arrDown ? down : Direction == arrLeft ? left : right;
    std::copy(src, src + 7, P);
}

void TArrowWindow::Init(TWinControl* AOwner, TArrowDirection Direction)
{
    Dir = Direction;
    ArrowPoints(Direction, Arrow);
    SetColor(TColor(0x00FF00));
    SetVisible(false);
    SetParent(AOwner);
}

void TArrowWindow::CreateParams(TCreateParams& Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    POINT pts[7];
    for (int i = 0; i < 7; ++i) pts[i] = POINT{Arrow[i].X, Arrow[i].Y};
    HRGN rgn = CreatePolygonRgn(pts, 7, WINDING);
    // The window owns the region from here on.
    SetWindowRgn(Handle(), rgn, TRUE);
}

void TArrowWindow::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Pen()->SetColor(Color());
    Canvas()->Rectangle(ClientRect());
}
