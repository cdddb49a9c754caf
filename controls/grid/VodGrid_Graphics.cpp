// Cell graphics: the graphic object (its ownership, copying, angles and
// picture sizes) and the grid's operations that add, query, change and
// remove the graphic of a cell, comments and error markers. Attaching and
// detaching go through CreateCellGraphic and RemoveCellGraphicOfType
// (VodGrid_CellQueries.cpp).
#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

// ---------------------------------------------------------------------------
// TBaseCellGraphic

TBaseCellGraphic::~TBaseCellGraphic() { ReleaseObjects(); }

void TBaseCellGraphic::ReleaseObjects()
{
    bool freeObject = false;
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton: freeObject = FCellCreated; break;
    case ctImages:
    case ctBalloon: freeObject = true; break;
    default: break;
    }
    // An icon, check box or radio button that carries a balloon keeps the
    // balloon's list in the object slot.
    if (FCellAngle == 1 &&
        (FCellType == ctIcon || FCellType == ctCheckBox || FCellType == ctDataCheckBox || FCellType == ctRadioButton))
        freeObject = true;
    if (freeObject) delete FCellBitmap;
    if (FCellType == ctIcon && FCellCreated) delete FCellIcon;
    // Only what the graphic owned was freed; the other references are the
    // caller's and are merely forgotten.
    FCellBitmap = nullptr;
    FCellIcon = nullptr;
    FCellCreated = false;
}

void TBaseCellGraphic::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBaseCellGraphic*>(Source);
    if (!s) return;
    FCellType = s->FCellType;
    FCellVAlign = s->FCellVAlign;
    FCellHAlign = s->FCellHAlign;
    FCellIndex = s->FCellIndex;
    FCellTransparent = s->FCellTransparent;
    FCellValue = s->FCellValue;
    FCellAngle = s->FCellAngle;
    FCellBoolean = s->FCellBoolean;
    FCellErrFrom = s->FCellErrFrom;
    FCellErrLen = s->FCellErrLen;
    FCellText = s->FCellText;
    FCellCreated = s->FCellCreated;
}

Integer TBaseCellGraphic::NormalizeAngle(Integer AAngle)
{
    Integer a = AAngle % 360;
    if (a < 0) a += 360;
    // 360 itself (and every positive multiple of it) stays 360.
    if (a == 0 && AAngle > 0) a = 360;
    return a;
}

void TBaseCellGraphic::SetAngle(Integer AAngle) { FCellAngle = NormalizeAngle(AAngle); }

TBitmap* TBaseCellGraphic::Bitmap() const { return dynamic_cast<TBitmap*>(FCellBitmap); }
TPicture* TBaseCellGraphic::Picture() const { return dynamic_cast<TPicture*>(FCellBitmap); }
TFilePicture* TBaseCellGraphic::FilePicture() const { return dynamic_cast<TFilePicture*>(FCellBitmap); }
TIntList* TBaseCellGraphic::ImageList() const { return dynamic_cast<TIntList*>(FCellBitmap); }
TInterfacedPersistent* TBaseCellGraphic::InterfacedObject() const
{
    return dynamic_cast<TInterfacedPersistent*>(FCellBitmap);
}

TPoint TBaseCellGraphic::FitPicture(Integer W, Integer H, Integer cw, Integer rh, Integer Padding, TStretchMode Mode)
{
    const Integer w = cw - Padding, h = rh - Padding;
    auto aspect = [&](bool capped) {
        double fx = W < 1 ? 1.0 : double(w) / W;
        double fy = H < 1 ? 1.0 : double(h) / H;
        if (capped) {
            fx = std::min(fx, 1.0);
            fy = std::min(fy, 1.0);
        }
        if (fx >= fy) return TPoint{Integer(Round(W * fy)), h};
        return TPoint{w, Integer(Round(H * fx))};
    };
    switch (Mode) {
    case noStretch: return TPoint{W, H};
    case Stretch: return TPoint{w, h};
    case StretchWithAspectRatio: return aspect(false);
    case Shrink: return (w >= W && h >= H) ? TPoint{W, H} : TPoint{w, h};
    case ShrinkWithAspectRatio: return (w >= W && h >= H) ? TPoint{W, H} : aspect(true);
    }
    return TPoint{W, H};
}

TPoint TBaseCellGraphic::GetPictureSize(Integer cw, Integer rh, TGraphic* Graph, bool) const
{
    const Integer W = Graph ? Graph->Width() : 0, H = Graph ? Graph->Height() : 0;
    return FitPicture(W, H, cw, rh, FCellIndex, TStretchMode(FCellAngle));
}

TPoint TBaseCellGraphic::GetPictureSize(Integer cw, Integer rh, bool hastext) const
{
    if (TFilePicture* fp = FilePicture())
        return FitPicture(fp->Width(), fp->Height(), cw, rh, FCellIndex, TStretchMode(FCellAngle));
    TPicture* p = Picture();
    return GetPictureSize(cw, rh, p ? p->Graphic() : nullptr, hastext);
}

// ---------------------------------------------------------------------------
// Helpers of the grid's operations

namespace {

TCellGraphic* StoredGraphic(const TBaseGrid* G, Integer c, Integer r)
{
    return dynamic_cast<TCellGraphic*>(G->GetGraphicObjectEx(c, r));
}

TCellGraphic* StoredGraphicOfKind(const TBaseGrid* G, Integer c, Integer r, TCellType Kind)
{
    TCellGraphic* g = StoredGraphic(G, c, r);
    return g && g->CellType() == Kind ? g : nullptr;
}

}  // namespace

bool TVodStringGrid::HasCellGraphicOfKinds(Integer ACol, Integer ARow, TCellTypes Kinds)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = StoredGraphic(this, b.X, b.Y);
    return g && Kinds.Contains(g->CellType());
}

// ---------------------------------------------------------------------------
// Bitmaps, icons, pictures, interfaced objects

void TVodStringGrid::AddBitmap(Integer ACol, Integer ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctBitmap);
    g->SetCellBitmap(ABmp);
    g->SetCellTransparent(Transparent);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

TBitmap* TVodStringGrid::CreateBitmap(Integer ACol, Integer ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* bmp = new TBitmap;
    g->SetCellType(ctBitmap);
    g->SetCellBitmap(bmp);
    g->SetCellCreated(true);
    g->SetCellTransparent(Transparent);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    return bmp;
}

TBitmap* TVodStringGrid::GetBitmap(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctBitmap);
    return g ? g->Bitmap() : nullptr;
}

bool TVodStringGrid::HasBitmap(Integer ACol, Integer ARow) { return GetBitmap(ACol, ARow) != nullptr; }
void TVodStringGrid::RemoveBitmap(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }

void TVodStringGrid::AddIcon(Integer ACol, Integer ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctIcon);
    g->SetCellIcon(AIcon);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

TIcon* TVodStringGrid::CreateIcon(Integer ACol, Integer ARow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* icon = new TIcon;
    g->SetCellType(ctIcon);
    g->SetCellIcon(icon);
    g->SetCellCreated(true);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    return icon;
}

void TVodStringGrid::RemoveIcon(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }

namespace {
void SetPictureFields(TCellGraphic* g, TCellType Kind, TObject* Obj, bool Created, bool Transparent,
                      TStretchMode StretchMode, Integer Padding, TCellHAlign hal, TCellVAlign val)
{
    g->SetCellType(Kind);
    g->SetCellBitmap(Obj);
    g->SetCellCreated(Created);
    g->SetCellTransparent(Transparent);
    g->SetCellAngle(Integer(StretchMode));
    g->SetCellIndex(Padding);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}
}  // namespace

void TVodStringGrid::AddPicture(Integer ACol, Integer ARow, TPicture* APicture, bool Transparent,
                                TStretchMode StretchMode, Integer Padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = CreateCellGraphic(ACol, ARow))
        SetPictureFields(g, ctPicture, APicture, false, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TVodStringGrid::CreatePicture(Integer ACol, Integer ARow, bool Transparent, TStretchMode StretchMode,
                                        Integer Padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* pic = new TPicture;
    SetPictureFields(g, ctPicture, pic, true, Transparent, StretchMode, Padding, hal, val);
    return pic;
}

TPicture* TVodStringGrid::GetPicture(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctPicture);
    return g ? g->Picture() : nullptr;
}

bool TVodStringGrid::HasPicture(Integer ACol, Integer ARow) { return GetPicture(ACol, ARow) != nullptr; }
void TVodStringGrid::RemovePicture(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }

void TVodStringGrid::AddFilePicture(Integer ACol, Integer ARow, TFilePicture* AFilePicture, bool Transparent,
                                    TStretchMode StretchMode, Integer Padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* g = CreateCellGraphic(ACol, ARow))
        SetPictureFields(g, ctFilePicture, AFilePicture, false, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TVodStringGrid::CreateFilePicture(Integer ACol, Integer ARow, bool Transparent,
                                                TStretchMode StretchMode, Integer Padding, TCellHAlign hal,
                                                TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* fp = new TFilePicture;
    SetPictureFields(g, ctFilePicture, fp, true, Transparent, StretchMode, Padding, hal, val);
    return fp;
}

TFilePicture* TVodStringGrid::GetFilePicture(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctFilePicture);
    return g ? g->FilePicture() : nullptr;
}

bool TVodStringGrid::HasFilePicture(Integer ACol, Integer ARow) { return GetFilePicture(ACol, ARow) != nullptr; }
void TVodStringGrid::RemoveFilePicture(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctFilePicture);
}

void TVodStringGrid::AddInterfacedCell(Integer ACol, Integer ARow, TInterfacedPersistent* AObject)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctInterface);
    g->SetCellBitmap(AObject);
}

TInterfacedPersistent* TVodStringGrid::GetInterfacedCell(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctInterface);
    return g ? g->InterfacedObject() : nullptr;
}

void TVodStringGrid::RemoveInterfacedCell(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctInterface);
}

// ---------------------------------------------------------------------------
// Image-list images and data images and pictures

void TVodStringGrid::AddImageIdx(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages()) return;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctImageList);
    g->SetCellIndex(Aidx);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TVodStringGrid::GetImageIdx(Integer ACol, Integer ARow, Integer& idx)
{
    if (!GridImages()) return false;
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctImageList);
    if (!g) return false;
    idx = g->CellIndex();
    return true;
}

void TVodStringGrid::SetImageIdx(Integer ACol, Integer ARow, Integer Idx)
{
    if (!GridImages()) return;
    if (TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctImageList)) g->SetCellIndex(Idx);
}

void TVodStringGrid::RemoveImageIdx(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }

void TVodStringGrid::AddDataImage(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages()) return;
    const bool noText = GetGridCell(ACol, ARow).empty();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctDataImage);
    g->SetCellIndex(Aidx);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    if (noText) SetGridCell(ACol, ARow, IntToStr(Aidx));
}

void TVodStringGrid::RemoveDataImage(Integer ACol, Integer ARow)
{
    if (!StoredGraphicOfKind(this, ACol, ARow, ctDataImage)) return;
    RemoveCellGraphicOfType(ACol, ARow, ctDataImage);
    SetGridCell(ACol, ARow, L"");
}

bool TVodStringGrid::HasDataImage(Integer ACol, Integer ARow)
{
    return HasCellGraphicOfKinds(ACol, ARow, {ctDataImage});
}

void TVodStringGrid::AddDataPicture(Integer ACol, Integer ARow, const String& AName, TCellHAlign hal, TCellVAlign val)
{
    if (!PictureContainer()) return;
    const bool noText = GetGridCell(ACol, ARow).empty();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctDataPicture);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    if (noText) SetGridCell(ACol, ARow, AName);
}

void TVodStringGrid::RemoveDataPicture(Integer ACol, Integer ARow)
{
    if (!StoredGraphicOfKind(this, ACol, ARow, ctDataPicture)) return;
    RemoveCellGraphicOfType(ACol, ARow, ctDataPicture);
    SetGridCell(ACol, ARow, L"");
}

bool TVodStringGrid::HasDataPicture(Integer ACol, Integer ARow)
{
    return HasCellGraphicOfKinds(ACol, ARow, {ctDataPicture});
}

void TVodStringGrid::AddMultiImage(Integer ACol, Integer ARow, Integer Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages()) return;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    auto* list = new TIntList(ACol, ARow);
    // A change of the list shows at once.
    list->OnChange = [this](TObject*, Integer c, Integer r) { RepaintCell(DisplColIndex(c), r); };
    g->SetCellType(ctImages);
    g->SetCellBitmap(list);
    g->SetCellBoolean(Dir == 0);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

void TVodStringGrid::RemoveMultiImage(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }

// ---------------------------------------------------------------------------
// Progress bars, range indicators, shapes, ratings

void TVodStringGrid::AddProgressFormatted(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor,
                                          TColor BKColor, TColor BKTextColor, const String& Fmt, Integer Min,
                                          Integer Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctProgress);
    g->SetCellBitmapColor(FGColor);
    g->SetCellIconColor(BKColor);
    g->SetCellIndex(FGTextColor);
    g->SetCellAngle(BKTextColor);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellText(Fmt);
    g->SetCellBoolean(true);
}

void TVodStringGrid::AddProgressEx(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, L"", 0, 100);
}

void TVodStringGrid::AddProgress(Integer ACol, Integer ARow, TColor FGColor, TColor BKColor)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctProgress);
    g->SetCellBitmapColor(FGColor);
    g->SetCellIconColor(BKColor);
    g->SetCellErrFrom(0);
    g->SetCellErrLen(100);
    g->SetCellBoolean(false);
    if (AutoNumAlign())
        if (TCellProperties* p = GetCellProperties(ACol, ARow)) p->FAlignment = taRightJustify;
}

bool TVodStringGrid::HasProgress(Integer ACol, Integer ARow) { return HasCellGraphicOfKinds(ACol, ARow, {ctProgress}); }
void TVodStringGrid::RemoveProgress(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }

void TVodStringGrid::AddVodProgress(Integer ACol, Integer ARow, Integer Min, Integer Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctXPProgress);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellBoolean(false);
    g->SetCellText(L"");
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TVodStringGrid::RemoveVodProgress(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctXPProgress);
}

void TVodStringGrid::AddProgressPie(Integer ACol, Integer ARow, TColor Color, Integer Value)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctProgressPie);
    g->SetCellBitmapColor(Color);
    g->SetCellAngle(Value);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaTop);
}

void TVodStringGrid::SetProgressPie(Integer ACol, Integer ARow, Integer Value)
{
    TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctProgressPie);
    if (!g) return;
    g->SetCellAngle(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveProgressPie(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctProgressPie);
}

void TVodStringGrid::AddRangeIndicator(Integer ACol, Integer ARow, Integer Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctRangeIndicator);
    g->SetCellIndex(Range);
    g->SetCellBitmapColor(NegColor);
    g->SetCellIconColor(PosColor);
    g->SetCellBoolean(ShowValue);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TVodStringGrid::RemoveRangeIndicator(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator);
}

void TVodStringGrid::AddShape(Integer ACol, Integer ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctShape);
    g->SetCellAngle(Integer(Shape));
    g->SetCellIndex(FillColor);
    g->SetCellBitmapColor(LineColor);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

bool TVodStringGrid::HasShape(Integer ACol, Integer ARow) { return HasCellGraphicOfKinds(ACol, ARow, {ctShape}); }
void TVodStringGrid::RemoveShape(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }

void TVodStringGrid::SetShapeColor(Integer ACol, Integer ARow, TColor FillColor)
{
    TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctShape);
    if (!g) return;
    g->SetCellIndex(FillColor);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TVodStringGrid::GetShapeColor(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctShape);
    return g ? TColor(g->CellIndex()) : clNone;
}

void TVodStringGrid::AddRating(Integer ACol, Integer ARow, Integer Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctRating);
    g->SetCellAngle(Scale);
    g->SetCellIndex(FillColor);
    g->SetCellBitmapColor(EmptyColor);
    g->SetCellHAlign(haFull);
}

bool TVodStringGrid::HasRating(Integer ACol, Integer ARow) { return HasCellGraphicOfKinds(ACol, ARow, {ctRating}); }
void TVodStringGrid::RemoveRating(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }

// ---------------------------------------------------------------------------
// Cell scroll bars

void TVodStringGrid::AddScrollBar(Integer ACol, Integer ARow, bool AutoRange)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctScrollbar);
    g->SetCellIndex(0);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellBoolean(AutoRange);
    if (AutoRange) UpdateCellScrollBar(ACol, ARow);
}

bool TVodStringGrid::HasScrollBar(Integer ACol, Integer ARow)
{
    return HasCellGraphicOfKinds(ACol, ARow, {ctScrollbar});
}

void TVodStringGrid::RemoveScrollBar(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }

bool TVodStringGrid::HasAutoRangeScrollBar(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = StoredGraphicOfKind(this, b.X, b.Y, ctScrollbar);
    return g && g->CellBoolean();
}

void TVodStringGrid::SetScrollPosition(Integer ACol, Integer ARow, Integer Pos)
{
    if (ACol < 0 || ARow < 0) return;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = StoredGraphicOfKind(this, b.X, b.Y, ctScrollbar);
    if (!g) return;
    g->SetCellIndex(Pos);
    RepaintCell(DisplColIndex(b.X), b.Y);
}

Integer TVodStringGrid::GetScrollPosition(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return -1;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = StoredGraphicOfKind(this, b.X, b.Y, ctScrollbar);
    return g ? g->CellIndex() : -1;
}

void TVodStringGrid::SetScrollProp(Integer ACol, Integer ARow, TScrollProp Prop)
{
    if (ACol < 0 || ARow < 0) return;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = StoredGraphicOfKind(this, b.X, b.Y, ctScrollbar);
    if (!g) return;
    g->SetCellAngle(Prop.PageSize);
    g->SetCellErrFrom(Prop.Range);
    RepaintCell(DisplColIndex(b.X), b.Y);
}

TScrollProp TVodStringGrid::GetScrollProp(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return TScrollProp{-1, -1};
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = StoredGraphicOfKind(this, b.X, b.Y, ctScrollbar);
    return g ? TScrollProp{g->CellAngle(), g->CellErrFrom()} : TScrollProp{-1, -1};
}

// ---------------------------------------------------------------------------
// Buttons

namespace {
// Height in the high 16 bits, width in the low 16 bits.
Integer PackButtonSize(Integer bw, Integer bh)
{
    return Integer((uint32_t(bh & 0xFFFF) << 16) | uint32_t(bw & 0xFFFF));
}
}  // namespace

void TVodStringGrid::AddButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                               TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctButton);
    g->SetCellIndex(PackButtonSize(bw, bh));
    g->SetCellText(Caption);
    g->SetCellBoolean(false);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

void TVodStringGrid::AddBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                                  TBitmap* Glyph, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctBitButton);
    g->SetCellIndex(PackButtonSize(bw, bh));
    g->SetCellText(Caption);
    g->SetCellBitmap(Glyph);
    g->SetCellBoolean(false);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

TBitmap* TVodStringGrid::CreateBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                                         TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    auto* glyph = new TBitmap;
    g->SetCellType(ctBitButton);
    g->SetCellIndex(PackButtonSize(bw, bh));
    g->SetCellText(Caption);
    g->SetCellBitmap(glyph);
    g->SetCellCreated(true);
    g->SetCellBoolean(false);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    return glyph;
}

void TVodStringGrid::SetButtonText(Integer ACol, Integer ARow, const String& Caption)
{
    TCellGraphic* g = StoredGraphic(this, RealColIndex(ACol), ARow);
    if (!g) return;
    g->SetCellText(Caption);
    RepaintCell(ACol, ARow);
}

String TVodStringGrid::GetButtonText(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphic(this, RealColIndex(ACol), ARow);
    return g ? g->CellText() : String();
}

void TVodStringGrid::PushButton(Integer ACol, Integer ARow, bool push)
{
    TCellGraphic* g = StoredGraphic(this, RealColIndex(ACol), ARow);
    if (!g || g->CellType() == ctNode) return;
    g->SetCellBoolean(push);
    RepaintCell(ACol, ARow);
}

bool TVodStringGrid::HasButton(Integer ACol, Integer ARow)
{
    return HasCellGraphicOfKinds(ACol, ARow, {ctButton, ctBitButton});
}

void TVodStringGrid::RemoveButton(Integer ACol, Integer ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctButton);
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TVodStringGrid::RemoveBitButton(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }

void TVodStringGrid::RemoveAllButtons()
{
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c) RemoveButton(c, r);
}

TRect TVodStringGrid::GetCellGraphicRect(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g) return TRect{0, 0, 0, 0};
    const TRect cr = CellRect(ACol, ARow);
    // Where the painter last put the graphic: x in the low 16 bits, y in the
    // next 16 bits of the rounded value.
    const uint32_t at = uint32_t(Round(g->CellValue()));
    const Integer x = Integer(at & 0xFFFF), y = Integer((at >> 16) & 0xFFFF);
    const uint32_t size = uint32_t(g->CellIndex());
    const Integer w = Integer(size & 0xFFFF), h = Integer((size >> 16) & 0xFFFF);
    TRect r{cr.Left + x, cr.Top + y, cr.Left + x + w, cr.Top + y + h};
    if (g->CellVAlign() == vaFull) {
        r.Top = cr.Top;
        r.Bottom = cr.Bottom;
    }
    if (g->CellHAlign() == haFull) {
        r.Left = cr.Left;
        r.Right = cr.Right;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Rotated texts

void TVodStringGrid::AddRotated(Integer ACol, Integer ARow, SmallInt AAngle, const String& s)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellType(ctRotated);
    g->SetAngle(AAngle);
    SetGridCell(ACol, ARow, s);
}

void TVodStringGrid::SetRotated(Integer ACol, Integer ARow, SmallInt AAngle)
{
    TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        if (!g) return;
    } else if (g->CellType() != ctRotated) {
        // The graphic keeps its comment and marker; what its old kind owned
        // is freed now, since a rotated text owns nothing.
        g->ReleaseObjects();
    }
    g->SetCellType(ctRotated);
    g->SetAngle(AAngle);
}

void TVodStringGrid::RemoveRotated(Integer ACol, Integer ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }

bool TVodStringGrid::IsRotated(Integer ACol, Integer ARow, Integer& aAngle)
{
    const TCellGraphic* g = StoredGraphicOfKind(this, ACol, ARow, ctRotated);
    if (!g) return false;
    aAngle = g->CellAngle();
    return true;
}

// ---------------------------------------------------------------------------
// Comments

void TVodStringGrid::AddComment(Integer ACol, Integer ARow, const String& Comment)
{
    AddColorComment(ACol, ARow, Comment, ControlLook()->CommentColor());
}

void TVodStringGrid::AddColorComment(Integer ACol, Integer ARow, const String& Comment, TColor Color)
{
    TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g) g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->SetCellComment(Comment);
    g->SetCommentColor(Color);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::SetComment(Integer ACol, Integer ARow, const String& Comment)
{
    if (TCellGraphic* g = StoredGraphic(this, ACol, ARow)) {
        g->SetCellComment(Comment);
        RepaintCell(DisplColIndex(ACol), ARow);
    } else
        AddComment(ACol, ARow, Comment);
}

bool TVodStringGrid::IsComment(Integer ACol, Integer ARow, String& comment)
{
    const TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g || g->CellComment().empty()) return false;
    comment = g->CellComment();
    return true;
}

String TVodStringGrid::GetComment(Integer ACol, Integer ARow)
{
    const TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    return g ? g->CellComment() : String();
}

void TVodStringGrid::RemoveComment(Integer ACol, Integer ARow)
{
    TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g) return;
    g->SetCellComment(L"");
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveAllComments()
{
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c)
            if (TCellGraphic* g = StoredGraphic(this, c, r)) g->SetCellComment(L"");
    Invalidate();
}

// ---------------------------------------------------------------------------
// Error markers

void TVodStringGrid::AddMarker(Integer ACol, Integer ARow, Integer ErrPos, Integer ErrLen)
{
    TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        if (!g) return;
        g->SetCellType(ctEmpty);
    }
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveMarker(Integer ACol, Integer ARow)
{
    TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    if (!g) return;
    if (g->CellType() == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveAllMarkers()
{
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c)
            if (StoredGraphic(this, c, r)) RemoveMarker(c, r);
}

void TVodStringGrid::GetMarker(Integer ACol, Integer ARow, Integer& ErrPos, Integer& ErrLen)
{
    const TCellGraphic* g = StoredGraphic(this, ACol, ARow);
    ErrPos = g ? g->CellErrFrom() : 0;
    ErrLen = g ? g->CellErrLen() : 0;
}
