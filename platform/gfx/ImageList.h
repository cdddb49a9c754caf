// Image lists: a row of equally sized images with transparency, drawn
// enabled, disabled (greyed) or through the common-controls style calls.
#pragma once

#include <vector>

#include "platform/base/Objects.h"
#include "platform/gfx/Graphics.h"

class TCustomImageList;
using HIMAGELIST = TCustomImageList*;

// ImageList_Draw styles.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_ROP = 0x0040;
// ImageList_DrawIndirect states.
constexpr DWORD ILS_NORMAL = 0x0000;
constexpr DWORD ILS_GLOW = 0x0001;
constexpr DWORD ILS_SHADOW = 0x0002;
constexpr DWORD ILS_SATURATE = 0x0004;
constexpr DWORD ILS_ALPHA = 0x0008;

struct IMAGELISTDRAWPARAMS {
    DWORD cbSize = sizeof(IMAGELISTDRAWPARAMS);
    HIMAGELIST himl = nullptr;
    int i = 0;
    HDC hdcDst = nullptr;
    int x = 0, y = 0;
    int cx = 0, cy = 0;          // 0: the image's size
    int xBitmap = 0, yBitmap = 0;
    COLORREF rgbBk = CLR_DEFAULT;
    COLORREF rgbFg = CLR_DEFAULT;
    UINT fStyle = ILD_NORMAL;
    DWORD dwRop = 0;
    DWORD fState = ILS_NORMAL;
    DWORD Frame = 0;             // ILS_ALPHA: the opacity, 0..255
    COLORREF crEffect = 0;
};

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle);
BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* params);
int ImageList_GetImageCount(HIMAGELIST himl);

// Told when its image list changes; unregisters itself when freed.
class TChangeLink : public TObject {
    VEL_CLASS(TChangeLink, TObject)
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* v) { FSender = v; }
    virtual void Change();
    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
    VEL_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size clears the list.
    void SetWidth(int v);
    void SetHeight(int v);
    int Count() const { return int(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor v) { FBkColor = v; }
    HIMAGELIST Handle() { return this; }

    // Each adds as many images as the bitmap is wide (in multiples of
    // Width) and answers the index of the first; -1 for nothing added.
    // Mask: white pixels are transparent. A 32-bit image keeps its alpha.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor are transparent (clDefault: the bottom-left pixel).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    int AddImage(const TImageData& img);
    void Delete(int Index);
    void Clear();
    // The image as a 32-bit bitmap with its transparency as alpha.
    bool GetBitmap(int Index, TBitmap* Image);
    const TImageData& Image(int Index) const;

    // Disabled images are drawn greyed and faded.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    void CheckIndex(int Index) const;
    int FWidth = 16, FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<TImageData> FImages;
    std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
    VEL_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* AOwner = nullptr) : TCustomImageList(AOwner) {}
};
