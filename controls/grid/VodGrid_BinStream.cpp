// The binary cell stream: the grid's lossless exchange form of a block of
// cells, in the component streaming format. Each record is written from and
// read into a small carrier component that publishes exactly the record's
// fields; the cell's property block and graphic travel through views that
// publish their fields under "CellProperties." and "CellGraphic.".
//
// Reading parses and checks the whole stream first and changes the grid only
// when every record is sound, so a damaged or hostile stream leaves the grid
// as it was.
#include <atomic>
#include <mutex>
#include <random>
#include <unordered_map>

#include "controls/grid/GridStreamHeader.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VodObj.h"
#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"

namespace {

// ---------------------------------------------------------------------------
// Numbers that name things only inside this process

// A random start per process, so that numbers written by one run are
// unlikely to mean anything in another.
uint32_t ProcessSeed()
{
    static const uint32_t seed = [] {
        std::random_device rd;
        uint32_t s = rd();
        return s ? s : 0x5EED1234u;
    }();
    return seed;
}

std::mutex& TokenLock()
{
    static std::mutex m;
    return m;
}

struct TTokenTable {
    std::unordered_map<uintptr_t, uint32_t> ByValue;
    std::unordered_map<uint32_t, uintptr_t> ByToken;
    uint32_t Next = 0;
};

TTokenTable& Tokens()
{
    static TTokenTable t;
    return t;
}

// The token this process issues for a cell object (0 for none). The cell
// object is the caller's reference; a stream carries only the token, which
// another grid of this process turns back into the same reference.
uint32_t TokenForCellObject(uintptr_t Value)
{
    if (!Value) return 0;
    std::lock_guard<std::mutex> lock(TokenLock());
    TTokenTable& t = Tokens();
    if (auto it = t.ByValue.find(Value); it != t.ByValue.end()) return it->second;
    uint32_t tok;
    do {
        tok = ProcessSeed() ^ (++t.Next * 0x9E3779B1u);
    } while (tok == 0 || t.ByToken.count(tok));
    t.ByValue.emplace(Value, tok);
    t.ByToken.emplace(tok, Value);
    return tok;
}

// The reference a token stands for, or 0 when this process never issued it.
uintptr_t CellObjectForToken(uint32_t Token)
{
    if (!Token) return 0;
    std::lock_guard<std::mutex> lock(TokenLock());
    const TTokenTable& t = Tokens();
    auto it = t.ByToken.find(Token);
    return it == t.ByToken.end() ? 0 : it->second;
}

Integer NextStreamID()
{
    static std::atomic<uint32_t> counter{0};
    uint32_t id;
    do {
        id = ProcessSeed() + (++counter) * 0x61C88647u;
    } while (id == 0);
    return Integer(id);
}

Integer GridPixelsPerInch(TVodStringGrid* G)
{
    if (G->HandleAllocated())
        if (const int ppi = GetDeviceCaps(G->Canvas()->Handle(), LOGPIXELSY); ppi > 0) return ppi;
    return GdiScreenPixelsPerInch();
}

// ---------------------------------------------------------------------------
// Numbers in the invariant form

bool IsNumberClass(Byte k) { return k == vcInteger || k == vcFloat; }

String ToInvariantNumber(const String& S)
{
    if (S.empty() || !IsNumberClass(ClassifyValueText(S))) return S;
    const Char ts = FormatSettings.ThousandSeparator, ds = FormatSettings.DecimalSeparator;
    String r;
    r.reserve(S.size());
    for (Char c : S) {
        if (c == ts && ts != ds) continue;
        r += c == ds ? L'.' : c;
    }
    return r;
}

String FromInvariantNumber(const String& S)
{
    const Char ds = FormatSettings.DecimalSeparator;
    if (ds == L'.' || S.find(L'.') == String::npos) return S;
    String c = S;
    for (Char& ch : c)
        if (ch == L'.') ch = ds;
    return IsNumberClass(ClassifyValueText(c)) ? c : S;
}

// ---------------------------------------------------------------------------
// Views that publish a block's and a graphic's fields for the stream

#define VEL_SETF(Cls, Field) [](Cls* o, auto v) { o->Field = decltype(o->Field)(v); }

class TCellPropertiesIO : public TPersistent {
    VEL_CLASS(TCellPropertiesIO, TPersistent)
public:
    TCellProperties* P = nullptr;
    Integer FontPoints = 0;
    uint32_t ObjectToken = 0;
    TControl* Ctrl = nullptr;

    static void Publish(TPublisher<TCellPropertiesIO>& p)
    {
        using C = TCellPropertiesIO;
        p.Boolean(L"IsBaseCell", [](C* o) { return o->P->FIsBaseCell; }, [](C* o, bool v) { o->P->FIsBaseCell = v; });
        p.Integer(L"CellSpanX", [](C* o) { return o->P->FCellSpanX; }, [](C* o, Integer v) { o->P->FCellSpanX = v; });
        p.Integer(L"CellSpanY", [](C* o) { return o->P->FCellSpanY; }, [](C* o, Integer v) { o->P->FCellSpanY = v; });
        p.Enum(L"Alignment", [](C* o) { return o->P->FAlignment; }, [](C* o, TAlignment v) { o->P->FAlignment = v; },
               {L"taLeftJustify", L"taRightJustify", L"taCenter"});
        p.IntegerIdent(L"BorderColor", L"TColor", [](C* o) { return Integer(o->P->FBorderColor); },
                       [](C* o, Integer v) { o->P->FBorderColor = TColor(v); });
        p.Integer(L"BorderWidth", [](C* o) { return o->P->FBorderWidth; },
                  [](C* o, Integer v) { o->P->FBorderWidth = v; });
        p.IntegerIdent(L"BrushColor", L"TColor", [](C* o) { return Integer(o->P->FBrushColor); },
                       [](C* o, Integer v) { o->P->FBrushColor = TColor(v); });
        p.IntegerIdent(L"BrushColorTo", L"TColor", [](C* o) { return Integer(o->P->FBrushColorTo); },
                       [](C* o, Integer v) { o->P->FBrushColorTo = TColor(v); });
        p.Enum(L"BrushStyle", [](C* o) { return o->P->FBrushStyle; }, [](C* o, TBrushStyle v) { o->P->FBrushStyle = v; },
               {L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical", L"bsFDiagonal", L"bsBDiagonal", L"bsCross",
                L"bsDiagCross"});
        p.Integer(L"CellObject", [](C* o) { return o->ObjectToken; }, [](C* o, uint32_t v) { o->ObjectToken = v; });
        p.IntegerIdent(L"FontColor", L"TColor", [](C* o) { return Integer(o->P->FFontColor); },
                       [](C* o, Integer v) { o->P->FFontColor = TColor(v); });
        p.Str(L"FontName", [](C* o) { return o->P->FFontName; }, [](C* o, const String& v) { o->P->FFontName = v; });
        p.Integer(L"FontSize", [](C* o) { return o->FontPoints; }, [](C* o, Integer v) { o->FontPoints = v; });
        p.Set(L"FontStyle", [](C* o) { return o->P->FFontStyle; }, [](C* o, TFontStyles v) { o->P->FFontStyle = v; },
              {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"});
        p.Enum(L"Editor", [](C* o) { return o->P->FEditor; }, [](C* o, TEditorType v) { o->P->FEditor = v; },
               {L"edNormal", L"edSpinEdit", L"edComboEdit", L"edComboList", L"edEditBtn", L"edCheckBox",
                L"edDateEdit", L"edDateEditUpDown", L"edTimeEdit", L"edButton", L"edDataCheckBox", L"edNumeric",
                L"edPositiveNumeric", L"edFloat", L"edCapital", L"edMixedCase", L"edPassword", L"edUnitEditBtn",
                L"edLowerCase", L"edUpperCase", L"edFloatSpinEdit", L"edTimeSpinEdit", L"edDateSpinEdit",
                L"edNumericEditBtn", L"edFloatEditBtn", L"edCustom", L"edRichEdit", L"edNone", L"edDateTimeEdit",
                L"edValidChars", L"edTrackbarDropDown", L"edMemoDropDown", L"edCalculatorDropDown",
                L"edTimePickerDropDown", L"edDetailDropDown", L"edGridDropDown", L"edColorPickerDropDown",
                L"edImagePickerDropDown", L"edVodGridDropDown", L"edControlDropDown", L"edPositiveFloat",
                L"edNumericUnitEditBtn", L"edFloatUnitEditBtn", L"edMaskEditBtn"});
        p.Enum(L"GradientDirection", [](C* o) { return o->P->FGradientDirection; },
               [](C* o, TCellGradientDirection v) { o->P->FGradientDirection = v; },
               {L"GradientVertical", L"GradientHorizontal"});
        p.Boolean(L"ReadOnly", [](C* o) { return o->P->FReadOnly; }, [](C* o, bool v) { o->P->FReadOnly = v; });
        p.Boolean(L"WordWrap", [](C* o) { return o->P->FWordWrap; }, [](C* o, bool v) { o->P->FWordWrap = v; });
        p.Enum(L"VAlignment", [](C* o) { return o->P->FVAlignment; }, [](C* o, TVAlignment v) { o->P->FVAlignment = v; },
               {L"vtaTop", L"vtaCenter", L"vtaBottom"});
        p.Integer(L"NodeLevel", [](C* o) { return o->P->FNodeLevel; }, [](C* o, Integer v) { o->P->FNodeLevel = v; });
        // Written so that a reader can see which control the cell had; a
        // stream cannot bring a control back, so reading ignores it.
        p.Component(L"Control", [](C* o) { return o->Ctrl; }, [](C*, TControl*) {});
    }
};

class TCellGraphicIO : public TPersistent {
    VEL_CLASS(TCellGraphicIO, TPersistent)
public:
    TCellGraphic* G = nullptr;

    static void Publish(TPublisher<TCellGraphicIO>& p)
    {
        using C = TCellGraphicIO;
        p.Enum(L"CellType", [](C* o) { return o->G->CellType(); }, [](C* o, TCellType v) { o->G->SetCellType(v); },
               {L"ctBitmap", L"ctIcon", L"ctNone", L"ctImageList", L"ctCheckBox", L"ctDataCheckBox", L"ctRotated",
                L"ctDataImage", L"ctNode", L"ctRadio", L"ctEmpty", L"ctImages", L"ctPicture", L"ctFilePicture",
                L"ctValue", L"ctProgress", L"ctComment", L"ctButton", L"ctBitButton", L"ctVirtCheckBox",
                L"ctRowCheckBox", L"ctProgressPie", L"ctSummary", L"ctRangeIndicator", L"ctXPProgress",
                L"ctInterface", L"ctScrollbar", L"ctRadioButton", L"ctBalloon", L"ctShape", L"ctRating",
                L"ctTriStateCheckBox", L"ctExpand", L"ctDataPicture"});
        p.Enum(L"CellVAlign", [](C* o) { return o->G->CellVAlign(); }, [](C* o, TCellVAlign v) { o->G->SetCellVAlign(v); },
               {L"vaTop", L"vaBottom", L"vaCenter", L"vaUnderText", L"vaAboveText", L"vaFull"});
        p.Enum(L"CellHAlign", [](C* o) { return o->G->CellHAlign(); }, [](C* o, TCellHAlign v) { o->G->SetCellHAlign(v); },
               {L"haLeft", L"haRight", L"haCenter", L"haBeforeText", L"haAfterText", L"haFull"});
        p.Integer(L"CellIndex", [](C* o) { return o->G->CellIndex(); }, [](C* o, Integer v) { o->G->SetCellIndex(v); });
        p.Boolean(L"CellTransparent", [](C* o) { return o->G->CellTransparent(); },
                  [](C* o, bool v) { o->G->SetCellTransparent(v); });
        p.Boolean(L"CellCreated", [](C* o) { return o->G->CellCreated(); },
                  [](C* o, bool v) { o->G->SetCellCreated(v); });
        p.Boolean(L"CellBoolean", [](C* o) { return o->G->CellBoolean(); },
                  [](C* o, bool v) { o->G->SetCellBoolean(v); });
        p.Enum(L"CellCheckBoxState", [](C* o) { return o->G->CellCheckBoxState(); },
               [](C* o, TCheckBoxState v) { o->G->SetCellCheckBoxState(v); },
               {L"cbUnchecked", L"cbChecked", L"cbGrayed"});
        p.Integer(L"CellAngle", [](C* o) { return o->G->CellAngle(); }, [](C* o, Integer v) { o->G->SetCellAngle(v); });
        p.Float(L"CellValue", [](C* o) { return o->G->CellValue(); }, [](C* o, double v) { o->G->SetCellValue(v); });
        p.Integer(L"CellErrFrom", [](C* o) { return o->G->CellErrFrom(); },
                  [](C* o, Integer v) { o->G->SetCellErrFrom(v); });
        p.Integer(L"CellErrLen", [](C* o) { return o->G->CellErrLen(); }, [](C* o, Integer v) { o->G->SetCellErrLen(v); });
        p.Str(L"CellText", [](C* o) { return o->G->CellText(); }, [](C* o, const String& v) { o->G->SetCellText(v); });
    }
};

class TFilePictureIO : public TPersistent {
    VEL_CLASS(TFilePictureIO, TPersistent)
public:
    String Filename;
    static void Publish(TPublisher<TFilePictureIO>& p)
    {
        p.Str(L"Filename", [](TFilePictureIO* o) { return o->Filename; },
              [](TFilePictureIO* o, const String& v) { o->Filename = v; });
    }
};

// ---------------------------------------------------------------------------
// Carriers: one record each. Name and Tag are the component's own and are
// never written (no name, tag 0).

using vodgrid_stream::TGridPropIO;

class TGridCellIO : public TComponent {
    VEL_CLASS(TGridCellIO, TComponent)
public:
    explicit TGridCellIO(TComponent* AOwner) : TComponent(AOwner) {}
    // Full 32-bit coordinates: small ones keep the bytes of 16-bit fields,
    // larger ones no longer wrap.
    Integer Col = 0, Row = 0;
    String Cell;
    bool HasProp = false;
    static void Publish(TPublisher<TGridCellIO>& p)
    {
        using C = TGridCellIO;
        p.Integer(L"Col", &C::Col, VEL_SETF(C, Col));
        p.Integer(L"Row", &C::Row, VEL_SETF(C, Row));
        p.Str(L"Cell", &C::Cell, VEL_SETF(C, Cell));
        p.Boolean(L"HasProp", &C::HasProp, VEL_SETF(C, HasProp));
    }
};

class TGridCellPropIO : public TComponent {
    VEL_CLASS(TGridCellPropIO, TComponent)
public:
    TGridCellPropIO(TComponent* AOwner, TBaseGrid* Grid) : TComponent(AOwner), FGrid(Grid) { Fresh(); }
    explicit TGridCellPropIO(TComponent* AOwner) : TGridCellPropIO(AOwner, dynamic_cast<TBaseGrid*>(AOwner)) {}
    TCellPropertiesIO View;
    std::unique_ptr<TCellProperties> Block;
    bool HasGraphic = false;
    void Fresh()
    {
        Block = std::make_unique<TCellProperties>(FGrid, 0, 0);
        View.P = Block.get();
        View.FontPoints = 0;
        View.ObjectToken = 0;
        View.Ctrl = nullptr;
        HasGraphic = false;
    }
    static void Publish(TPublisher<TGridCellPropIO>& p)
    {
        using C = TGridCellPropIO;
        p.Object(L"CellProperties", [](C* o) -> TObject* { return &o->View; });
        p.Boolean(L"HasGraphic", &C::HasGraphic, VEL_SETF(C, HasGraphic));
    }

private:
    TBaseGrid* FGrid;
};

class TGridGraphicIO : public TComponent {
    VEL_CLASS(TGridGraphicIO, TComponent)
public:
    explicit TGridGraphicIO(TComponent* AOwner) : TComponent(AOwner) { Fresh(); }
    TCellGraphicIO View;
    std::unique_ptr<TCellGraphic> Graphic;
    void Fresh()
    {
        Graphic = std::make_unique<TCellGraphic>();
        View.G = Graphic.get();
    }
    static void Publish(TPublisher<TGridGraphicIO>& p)
    {
        p.Object(L"CellGraphic", [](TGridGraphicIO* o) -> TObject* { return &o->View; });
    }
};

// The image carriers own a fresh object for reading; for writing they are
// pointed at the cell's own object, so nothing is copied.
template <class T>
struct TOwnedOrBorrowed {
    std::unique_ptr<T> Own = std::make_unique<T>();
    T* Cur = Own.get();
    void Fresh()
    {
        Own = std::make_unique<T>();
        Cur = Own.get();
    }
    void Borrow(T* v) { Cur = v ? v : Own.get(); }
};

class TGridBMPIO : public TComponent {
    VEL_CLASS(TGridBMPIO, TComponent)
public:
    explicit TGridBMPIO(TComponent* AOwner) : TComponent(AOwner) {}
    TOwnedOrBorrowed<TBitmap> Obj;
    static void Publish(TPublisher<TGridBMPIO>& p)
    {
        p.Object(L"Bitmap", [](TGridBMPIO* o) -> TObject* { return o->Obj.Cur; });
    }
};

class TGridIconIO : public TComponent {
    VEL_CLASS(TGridIconIO, TComponent)
public:
    explicit TGridIconIO(TComponent* AOwner) : TComponent(AOwner) {}
    TOwnedOrBorrowed<TIcon> Obj;
    static void Publish(TPublisher<TGridIconIO>& p)
    {
        p.Object(L"Icon", [](TGridIconIO* o) -> TObject* { return o->Obj.Cur; });
    }
};

class TGridPicIO : public TComponent {
    VEL_CLASS(TGridPicIO, TComponent)
public:
    explicit TGridPicIO(TComponent* AOwner) : TComponent(AOwner) {}
    TOwnedOrBorrowed<TPicture> Obj;
    static void Publish(TPublisher<TGridPicIO>& p)
    {
        p.Object(L"Picture", [](TGridPicIO* o) -> TObject* { return o->Obj.Cur; });
    }
};

class TGridFilePicIO : public TComponent {
    VEL_CLASS(TGridFilePicIO, TComponent)
public:
    explicit TGridFilePicIO(TComponent* AOwner) : TComponent(AOwner) {}
    TFilePictureIO View;
    static void Publish(TPublisher<TGridFilePicIO>& p)
    {
        p.Object(L"Picture", [](TGridFilePicIO* o) -> TObject* { return &o->View; });
    }
};

class TGridSLIO : public TComponent {
    VEL_CLASS(TGridSLIO, TComponent)
public:
    explicit TGridSLIO(TComponent* AOwner) : TComponent(AOwner) {}
    TOwnedOrBorrowed<TStringList> Obj;
    static void Publish(TPublisher<TGridSLIO>& p)
    {
        p.Object(L"Strings", [](TGridSLIO* o) -> TObject* { return o->Obj.Cur; });
    }
};

// One carrier of each class, owned by the grid for one call.
struct TCarriers {
    explicit TCarriers(TVodStringGrid* G)
        : Grid(new TGridPropIO(G)), Cell(new TGridCellIO(G)), Prop(new TGridCellPropIO(G, G)),
          Graphic(new TGridGraphicIO(G)), Bmp(new TGridBMPIO(G)), Icon(new TGridIconIO(G)), Pic(new TGridPicIO(G)),
          FilePic(new TGridFilePicIO(G)), SL(new TGridSLIO(G))
    {
    }
    ~TCarriers()
    {
        for (TComponent* c : std::initializer_list<TComponent*>{SL, FilePic, Pic, Icon, Bmp, Graphic, Prop, Cell, Grid})
            delete c;
    }
    TCarriers(const TCarriers&) = delete;
    TCarriers& operator=(const TCarriers&) = delete;
    TGridPropIO* Grid;
    TGridCellIO* Cell;
    TGridCellPropIO* Prop;
    TGridGraphicIO* Graphic;
    TGridBMPIO* Bmp;
    TGridIconIO* Icon;
    TGridPicIO* Pic;
    TGridFilePicIO* FilePic;
    TGridSLIO* SL;
};

void WriteRecord(TWriter& W, TComponent* Carrier)
{
    W.WriteSignature();
    W.WriteComponent(Carrier);
}

// One record: signature, class name (read, not compared), an empty component
// name, the properties and two list ends. Child components are refused:
// the stream has none, and a reader must not create objects a stream names.
void ReadRecord(TReader& R, TComponent* Carrier)
{
    R.ReadSignature();
    R.ReadStr();
    R.ReadStr();
    while (!R.EndOfList()) R.ReadProperty(Carrier);
    R.ReadListEnd();
    if (!R.EndOfList()) throw EReadError(L"Invalid stream format");
    R.ReadListEnd();
}

// One cell as read from the stream, before anything is stored.
struct TParsedCell {
    Integer Col = 0, Row = 0;
    String Text;
    std::unique_ptr<TCellProperties> Props;
    Integer FontPoints = 0;
    uint32_t ObjectToken = 0;
    std::unique_ptr<TCellGraphic> Graphic;
    std::unique_ptr<TObject> Image;
    std::vector<Integer> ImageIndexes;
};

// Splits a "w1,w2,..." list; EVodGridError for fewer than Count items or
// items that are not sizes.
std::vector<Integer> ParseSizes(const String& List, Integer Count, const wchar_t* What)
{
    std::vector<Integer> r;
    if (Count <= 0) return r;
    r.reserve(size_t(Count));
    size_t start = 0;
    while (Integer(r.size()) < Count) {
        if (start > List.size()) break;
        size_t comma = List.find(L',', start);
        String item = List.substr(start, comma == String::npos ? String::npos : comma - start);
        Integer v;
        if (!TryStrToInt(item, v) || v < 0)
            throw EVodGridError(String(L"Invalid ") + What + L" in the cell stream: '" + item + L"'");
        r.push_back(v);
        if (comma == String::npos) {
            start = List.size() + 1;
            break;
        }
        start = comma + 1;
    }
    if (Integer(r.size()) < Count)
        throw EVodGridError(String(L"The cell stream holds fewer ") + What + L" than its block has");
    return r;
}

String JoinSizes(const std::vector<Integer>& v)
{
    String s;
    for (size_t i = 0; i < v.size(); ++i) {
        if (i) s += L',';
        s += IntToStr(v[i]);
    }
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------

Integer TVodStringGrid::StreamID()
{
    if (!FStreamID) FStreamID = NextStreamID();
    return FStreamID;
}

void TVodStringGrid::SaveRectToBinStream(TGridRect Rect, TStream* Stream, bool SaveHidden)
{
    if (!Stream) return;
    TCarriers k(this);
    TWriter W(Stream);

    const Integer left = Rect.Left, top = Rect.Top;
    Integer right = Rect.Right;
    const Integer bottom = Rect.Bottom;
    const Integer h = SaveHidden ? NumHiddenColumns() : 0;
    k.Grid->RowCount = bottom - top + 1;
    k.Grid->ColCount = right - left + 1 + h;
    right += h;
    if (SaveFixedCells())
        k.Grid->FullGrid = k.Grid->RowCount == RowCount() && k.Grid->ColCount == ColCount();
    else
        k.Grid->FullGrid =
            k.Grid->RowCount == RowCount() - FixedRows() && k.Grid->ColCount == ColCount() - FixedCols();
    k.Grid->ID = StreamID();
    {
        std::vector<Integer> w, hs;
        for (Integer c = left; c <= right; ++c) w.push_back(SaveHidden ? AllColWidths(c) : ColWidths(c));
        for (Integer r = top; r <= bottom; ++r) hs.push_back(RowHeights(r));
        k.Grid->ColWidths = JoinSizes(w);
        k.Grid->RowHeights = JoinSizes(hs);
    }
    WriteRecord(W, k.Grid);

    const Integer dpi = GridPixelsPerInch(this);
    ExportNotification(esExportStart, top);
    TProgressGate progress;
    for (Integer r = top; r <= bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = left; c <= right; ++c) {
            const Integer src = SaveHidden ? c : RealColIndex(c);
            TCellProperties* P = CellPropertiesOf(src, r);
            k.Cell->Col = c;
            k.Cell->Row = r;
            k.Cell->Cell = ToInvariantNumber(GetGridCell(src, r));
            k.Cell->HasProp = P != nullptr;
            WriteRecord(W, k.Cell);
            if (!P) continue;

            k.Prop->View.P = P;
            k.Prop->View.FontPoints = Integer(Round(Extended(-P->FFontHeight) * 72 / dpi));
            k.Prop->View.ObjectToken = TokenForCellObject(P->FObject);
            k.Prop->View.Ctrl = P->FControl;
            auto* g = dynamic_cast<TCellGraphic*>(P->FGraphicObject);
            // Every graphic travels, also those the grid created itself:
            // leaving them out lost their pictures.
            k.Prop->HasGraphic = g != nullptr;
            WriteRecord(W, k.Prop);
            k.Prop->View.P = k.Prop->Block.get();
            if (!g) continue;

            TCellGraphic& out = *k.Graphic->Graphic;
            out.Assign(g);
            out.SetCellCheckBoxState(g->CellCheckBoxState());
            if (!g->CellComment().empty()) {
                out.SetCellType(ctComment);
                out.SetCellText(g->CellComment());
                out.SetCellIndex(Integer(g->CommentColor()));
            }
            WriteRecord(W, k.Graphic);
            switch (out.CellType()) {
            case ctBitmap:
            case ctBitButton:
                k.Bmp->Obj.Borrow(g->Bitmap());
                WriteRecord(W, k.Bmp);
                break;
            case ctIcon:
                k.Icon->Obj.Borrow(g->CellIcon());
                WriteRecord(W, k.Icon);
                break;
            case ctPicture:
                k.Pic->Obj.Borrow(g->Picture());
                WriteRecord(W, k.Pic);
                break;
            case ctFilePicture:
                k.FilePic->View.Filename = g->FilePicture() ? g->FilePicture()->Filename() : String();
                WriteRecord(W, k.FilePic);
                break;
            case ctRadio:
                k.SL->Obj.Fresh();
                if (auto* s = dynamic_cast<TStrings*>(g->CellBitmap())) k.SL->Obj.Cur->Assign(s);
                WriteRecord(W, k.SL);
                break;
            case ctImages:
                k.SL->Obj.Fresh();
                if (TIntList* il = g->ImageList())
                    for (Integer i = 0; i < il->Count(); ++i) k.SL->Obj.Cur->Add(IntToStr(il->GetInteger(i)));
                WriteRecord(W, k.SL);
                break;
            default: break;
            }
            k.Bmp->Obj.Borrow(nullptr);
            k.Icon->Obj.Borrow(nullptr);
            k.Pic->Obj.Borrow(nullptr);
        }
        // Progress within the block (the row number alone overshoots a
        // block that does not start at row 0).
        progress.Fire(OnFileProgress, this, double(r - top) / std::max<Integer>(1, bottom - top));
    }
    ExportNotification(esExportDone, -1);
}

void TVodStringGrid::LoadAtPointFromBinStream(TPoint Point, TStream* Stream)
{
    if (!Stream) return;
    TCarriers k(this);
    TReader R(Stream);

    // 1. Parse and check everything.
    ReadRecord(R, k.Grid);
    const TGridPropIO& gp = *k.Grid;
    const Int64 limit = StreamCellLimit();
    if (gp.ColCount < 0 || gp.RowCount < 0 || (gp.FullGrid && (gp.ColCount < 1 || gp.RowCount < 1)) ||
        Int64(gp.ColCount) * gp.RowCount > limit)
        throw EVodGridError(L"The cell stream announces a block of " + IntToStr(gp.ColCount) + L" x " +
                            IntToStr(gp.RowCount) + L" cells, which the grid does not take");
    std::vector<Integer> widths, heights;
    if (gp.FullGrid) {
        widths = ParseSizes(gp.ColWidths, gp.ColCount, L"column widths");
        heights = ParseSizes(gp.RowHeights, gp.RowCount, L"row heights");
    }

    std::vector<TParsedCell> cells;
    while (Stream->Position() < Stream->Size() - 1) {
        if (Int64(cells.size()) >= limit) throw EVodGridError(L"The cell stream holds more cells than the grid takes");
        TParsedCell pc;
        k.Cell->Col = k.Cell->Row = 0;
        k.Cell->Cell.clear();
        k.Cell->HasProp = false;
        ReadRecord(R, k.Cell);
        pc.Col = k.Cell->Col;
        pc.Row = k.Cell->Row;
        pc.Text = std::move(k.Cell->Cell);
        if (k.Cell->HasProp) {
            k.Prop->Fresh();
            ReadRecord(R, k.Prop);
            pc.Props = std::move(k.Prop->Block);
            pc.FontPoints = k.Prop->View.FontPoints;
            pc.ObjectToken = k.Prop->View.ObjectToken;
            const bool hasGraphic = k.Prop->HasGraphic;
            k.Prop->Fresh();
            if (hasGraphic) {
                k.Graphic->Fresh();
                ReadRecord(R, k.Graphic);
                pc.Graphic = std::move(k.Graphic->Graphic);
                k.Graphic->Fresh();
                switch (pc.Graphic->CellType()) {
                case ctBitmap:
                case ctBitButton:
                    k.Bmp->Obj.Fresh();
                    ReadRecord(R, k.Bmp);
                    pc.Image = std::move(k.Bmp->Obj.Own);
                    k.Bmp->Obj.Fresh();
                    break;
                case ctIcon:
                    k.Icon->Obj.Fresh();
                    ReadRecord(R, k.Icon);
                    pc.Image = std::move(k.Icon->Obj.Own);
                    k.Icon->Obj.Fresh();
                    break;
                case ctPicture:
                    k.Pic->Obj.Fresh();
                    ReadRecord(R, k.Pic);
                    pc.Image = std::move(k.Pic->Obj.Own);
                    k.Pic->Obj.Fresh();
                    break;
                case ctFilePicture: {
                    k.FilePic->View.Filename.clear();
                    ReadRecord(R, k.FilePic);
                    auto fp = std::make_unique<TFilePicture>();
                    fp->SetFilename(k.FilePic->View.Filename);
                    pc.Image = std::move(fp);
                    break;
                }
                case ctRadio:
                    k.SL->Obj.Fresh();
                    ReadRecord(R, k.SL);
                    pc.Image = std::move(k.SL->Obj.Own);
                    k.SL->Obj.Fresh();
                    break;
                case ctImages: {
                    k.SL->Obj.Fresh();
                    ReadRecord(R, k.SL);
                    TStringList* sl = k.SL->Obj.Cur;
                    for (Integer i = 0; i < sl->Count(); ++i) {
                        Integer v;
                        if (!TryStrToInt(sl->Strings(i), v))
                            throw EVodGridError(L"Invalid image index in the cell stream: '" + sl->Strings(i) + L"'");
                        pc.ImageIndexes.push_back(v);
                    }
                    k.SL->Obj.Fresh();
                    break;
                }
                default: break;
                }
            }
        }
        cells.push_back(std::move(pc));
    }

    // 2. Store.
    const Integer dpi = GridPixelsPerInch(this);
    BeginUpdate();
    try {
        if (gp.FullGrid) {
            Clear();
            SetRowCount(gp.RowCount);
            SetColCount(gp.ColCount);
            for (Integer c = 0; c < gp.ColCount && c < ColCount(); ++c) SetColWidths(c, widths[size_t(c)]);
            for (Integer r = 0; r < gp.RowCount && r < RowCount(); ++r) SetRowHeights(r, heights[size_t(r)]);
        }
        Integer ox = 0, oy = 0;
        bool first = true;
        Integer lastRow = INT32_MIN;
        TProgressGate progress;
        for (TParsedCell& pc : cells) {
            if (first && !gp.FullGrid) {
                ox = pc.Col;
                oy = pc.Row;
            }
            first = false;
            const Int64 tc64 = Int64(pc.Col) + Point.X - ox, tr64 = Int64(pc.Row) + Point.Y - oy;
            // Cells that land outside the grid are skipped: the store never
            // grows to a coordinate a stream makes up.
            if (tc64 < 0 || tr64 < 0 || tc64 >= TotalColCount() || tr64 >= RowCount()) continue;
            const Integer tc = Integer(tc64), tr = Integer(tr64);
            SetGridCell(tc, tr, FromInvariantNumber(pc.Text));
            if (tr != lastRow) {
                lastRow = tr;
                progress.Fire(OnFileProgress, this, double(tr) / std::max<Integer>(1, RowCount()));
            }
            if (!pc.Props) continue;
            TCellProperties* block = GetCellProperties(tc, tr);
            if (!block) continue;
            block->Assign(pc.Props.get());
            block->SetOwnerCol(tc);
            block->SetOwnerRow(tr);
            block->FFontHeight = -Integer(Round(Extended(pc.FontPoints) * dpi / 72));
            // A cell object is re-linked only when this process issued its
            // token; a number from elsewhere names nothing here.
            block->FObject = CellObjectForToken(pc.ObjectToken);
            if (!pc.Graphic) continue;
            TCellGraphic* g = CreateCellGraphic(tc, tr);
            if (!g) continue;
            g->Assign(pc.Graphic.get());
            g->SetCellCheckBoxState(pc.Graphic->CellCheckBoxState());
            if (g->CellType() == ctComment) {
                g->SetCellType(ctNone);
                g->SetCellComment(pc.Graphic->CellText());
                g->SetCommentColor(TColor(pc.Graphic->CellIndex()));
                g->SetCellText(String());
                g->SetCellIndex(0);
                continue;
            }
            // Objects made while reading belong to their graphic.
            switch (g->CellType()) {
            case ctIcon:
                g->SetCellIcon(static_cast<TIcon*>(pc.Image.release()));
                g->SetCellCreated(true);
                break;
            case ctImages: {
                auto* il = new TIntList(tc, tr);
                for (Integer v : pc.ImageIndexes) il->Add(v);
                g->SetCellBitmap(il);
                break;
            }
            case ctBitmap:
            case ctBitButton:
            case ctPicture:
            case ctFilePicture:
            case ctRadio:
                if (pc.Image) {
                    g->SetCellBitmap(pc.Image.release());
                    g->SetCellCreated(true);
                }
                break;
            default: break;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TVodStringGrid::SaveToBinStream(TStream* Stream)
{
    SaveRectToBinStream(TGridRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, Stream,
                        SaveHiddenCells());
}

void TVodStringGrid::LoadFromBinStream(TStream* Stream)
{
    LoadAtPointFromBinStream(TPoint{0, 0}, Stream);
    // Recounting the outline nodes is left to the outline family: until it
    // lands the grid has no nodes.
}

void TVodStringGrid::SaveToBinFile(const String& FileName)
{
    TMemoryStream m;
    SaveToBinStream(&m);
    m.SaveToFile(FileName);
}

void TVodStringGrid::LoadFromBinFile(const String& FileName)
{
    TMemoryStream m;
    m.LoadFromFile(FileName);
    m.SetPosition(0);
    LoadFromBinStream(&m);
}
