// The graphic object a string grid cell can carry beside its text and its
// property block: a picture, an icon, a check box, a progress bar, a button,
// a shape, a rating, a cell scroll bar and so on, plus a comment and an error
// marker.
//
// Which fields a graphic uses depends on its kind (TCellType). The object
// slot (CellBitmap) refers to the bitmap, picture, file picture, index list,
// string list or interfaced object the kind shows; kinds that keep colours
// keep them in two typed colour fields (CellBitmapColor, CellIconColor), never
// in the object slots.
//
// Ownership, applied when a graphic is freed (and when SetRotated turns a
// graphic into a rotated one): the object of ctBitmap, ctRadio, ctPicture,
// ctFilePicture and ctBitButton is freed only when CellCreated is set; the
// index list of ctImages and the list of ctBalloon always; the icon of ctIcon
// when CellCreated is set; the balloon's list of an icon, check box or radio
// button with CellAngle 1 always. Every other reference is the caller's.
#pragma once

#include "controls/foundation/VodUtil.h"
#include "platform/base/Objects.h"
#include "platform/base/Variants.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/StdCtrls_Button.h"

class TCustomImageList;
class TFilePicture;
class TIntList;
class TPictureContainer;
class TCustomRichEdit;
class TVodStringGridCheck;

enum TCellType : Byte {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode,
    ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton,
    ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress,
    ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand,
    ctDataPicture,
};
using TCellTypes = TSet<TCellType>;

// The group of a ctRadioButton, kept in CellAngle: alone, with the adjacent
// radio buttons of its column, or of its row.
enum TRadioButtonGroup : Byte { rgNone, rgCol, rgRow };
// The icon of a cell balloon, kept in CellIndex.
enum TBalloonIcon : Byte { biNone, biInfo, biWarning, biError };

enum TCellVAlign : Byte { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign : Byte { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TStretchMode : Byte { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

struct TScrollProp {
    Integer PageSize = 0;
    Integer Range = 0;
};

class TBaseCellGraphic : public TPersistent {
    VEL_CLASS(TBaseCellGraphic, TPersistent)
public:
    TBaseCellGraphic() = default;
    // Frees what the graphic owns (see the ownership rules above).
    ~TBaseCellGraphic() override;
    TBaseCellGraphic(const TBaseCellGraphic&) = delete;
    TBaseCellGraphic& operator=(const TBaseCellGraphic&) = delete;

    // Copies the kind, both alignments, CellIndex, CellTransparent,
    // CellValue, CellAngle, CellBoolean, CellErrFrom, CellErrLen, CellText and
    // CellCreated from another graphic; never the object references, the
    // colours kept in their place, CellVar or CellCheckBoxState.
    void Assign(TPersistent* Source) override;

    // Frees the objects the graphic owns by the rules of its kind and clears
    // the references, leaving every other field alone.
    void ReleaseObjects();

    // The angle brought into 0..360 (360 itself stays) and kept in CellAngle.
    void SetAngle(Integer AAngle);
    static Integer NormalizeAngle(Integer AAngle);

    // The drawn size of a ctPicture or ctFilePicture graphic in a cell of
    // width cw and height rh: the picture's own size W x H (Graph's when
    // given, otherwise the cell's picture or file picture), fitted by the
    // stretch mode in CellAngle with the padding in CellIndex.
    TPoint GetPictureSize(Integer cw, Integer rh, TGraphic* Graph, bool hastext) const;
    TPoint GetPictureSize(Integer cw, Integer rh, bool hastext) const;
    // The same rule over a picture size.
    static TPoint FitPicture(Integer W, Integer H, Integer cw, Integer rh, Integer Padding, TStretchMode Mode);

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType v) { FCellType = v; }
    // The object the kind shows (bitmap, picture, file picture, index list,
    // string list, interfaced object).
    TObject* CellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(TObject* v) { FCellBitmap = v; }
    TIcon* CellIcon() const { return FCellIcon; }
    void SetCellIcon(TIcon* v) { FCellIcon = v; }
    // The colour the kind keeps in the place of CellBitmap: the bar colour of
    // ctProgress, the colour of ctProgressPie, the colour of negative values
    // of ctRangeIndicator, the line colour of ctShape, the empty colour of
    // ctRating.
    TColor CellBitmapColor() const { return FCellBitmapColor; }
    void SetCellBitmapColor(TColor v) { FCellBitmapColor = v; }
    // The colour the kind keeps in the place of CellIcon: the background of
    // ctProgress, the colour of positive values of ctRangeIndicator.
    TColor CellIconColor() const { return FCellIconColor; }
    void SetCellIconColor(TColor v) { FCellIconColor = v; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign v) { FCellVAlign = v; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign v) { FCellHAlign = v; }
    Integer CellIndex() const { return FCellIndex; }
    void SetCellIndex(Integer v) { FCellIndex = v; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool v) { FCellTransparent = v; }
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool v) { FCellCreated = v; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool v) { FCellBoolean = v; }
    Integer CellAngle() const { return FCellAngle; }
    void SetCellAngle(Integer v) { FCellAngle = v; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double v) { FCellValue = v; }
    Integer CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(Integer v) { FCellErrFrom = v; }
    Integer CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(Integer v) { FCellErrLen = v; }
    const String& CellText() const { return FCellText; }
    void SetCellText(const String& v) { FCellText = v; }
    const Variant& CellVar() const { return FCellVar; }
    void SetCellVar(const Variant& v) { FCellVar = v; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState v) { FCellCheckBoxState = v; }

    // The typed views of CellBitmap (nil when it holds something else).
    TBitmap* Bitmap() const;
    TPicture* Picture() const;
    TFilePicture* FilePicture() const;
    TIntList* ImageList() const;
    TInterfacedPersistent* InterfacedObject() const;

private:
    TCellType FCellType = ctNone;
    TObject* FCellBitmap = nullptr;
    TIcon* FCellIcon = nullptr;
    TColor FCellBitmapColor = clNone;
    TColor FCellIconColor = clNone;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    Integer FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    Integer FCellAngle = 0;
    double FCellValue = 0;
    Integer FCellErrFrom = 0;
    Integer FCellErrLen = 0;
    String FCellText;
    Variant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};

// Every graphic can carry a comment, whatever its kind.
class TCellGraphic : public TBaseCellGraphic {
    VEL_CLASS(TCellGraphic, TBaseCellGraphic)
public:
    TCellGraphic() = default;
    // The base graphic's fields; from another TCellGraphic also the comment
    // and its colour.
    void Assign(TPersistent* Source) override;
    const String& CellComment() const { return FCellComment; }
    void SetCellComment(const String& v) { FCellComment = v; }
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor v) { FCommentColor = v; }

private:
    String FCellComment;
    TColor FCommentColor = clNone;
};

// The drawing interface an interfaced cell object (ctInterface) may offer:
// its size, whether it paints before the cell's content, and its painting.
struct IGridCellDraw : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{0712BE3F-5C9A-4771-BF71-4C987CDC39B3}");
    virtual Integer CellDrawWidth() = 0;
    virtual Integer CellDrawHeight() = 0;
    virtual bool CellDrawBefore() = 0;
    virtual void CellDraw(TCanvas* Canvas, TRect R, TObject* Grid, Integer ARow, Integer ACol, bool Selected) = 0;
};
VEL_INTERFACE(IGridCellDraw)
