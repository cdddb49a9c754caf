// The drop-down edit: construction, properties, the value model (Text with
// Prefix, Suffix and Precision, the number routines, edit types), focus,
// change notification and geometry.
#include "controls/dropdown/VodDropDown.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/StdCtrls.h"

namespace {

Char DecSep() { return FormatSettings.DecimalSeparator; }
Char ThouSep() { return FormatSettings.ThousandSeparator; }

bool IsDigit(Char c) { return c >= L'0' && c <= L'9'; }

String RemoveChar(String s, Char c)
{
    s.erase(std::remove(s.begin(), s.end(), c), s.end());
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Number routines

Integer ClassifyNumberText(const String& S)
{
    if (S.empty()) return NUMERIC_TEXT;
    Integer minus = 0, decs = 0;
    for (Char c : S) {
        if (c == L'-') ++minus;
        if (c == DecSep()) ++decs;
    }
    if (minus > 1 || decs > 1) return NUMERIC_TEXT;

    bool isInt = std::all_of(S.begin(), S.end(), [](Char c) { return IsDigit(c) || c == L'-'; });
    if (isInt) return NUMERIC_INT;

    bool isFloat = std::all_of(S.begin(), S.end(),
                               [](Char c) { return IsDigit(c) || c == L',' || c == L'-' || c == L'.'; });
    if (isFloat) {
        // Each thousand separator stands at least three places after the
        // previous one, and never first.
        Integer last = -1;
        bool ok = true;
        for (Integer i = 0; i < Integer(S.size()); ++i) {
            if (S[size_t(i)] != ThouSep()) continue;
            if (i == 0 || (last >= 0 && i - last < 4)) {
                ok = false;
                break;
            }
            last = i;
        }
        if (ok) return NUMERIC_FLOAT;
    }
    bool isHex = std::all_of(S.begin(), S.end(), [](Char c) {
        return c == L'-' || IsDigit(c) || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
    });
    if (isHex) return NUMERIC_HEX;
    return NUMERIC_TEXT;
}

Integer IntegerDigitCount(const String& S)
{
    size_t p = S.find(DecSep());
    String head = p == String::npos ? S : S.substr(0, p);
    return Integer(std::count_if(head.begin(), head.end(), [](Char c) { return IsDigit(c); }));
}

// ---------------------------------------------------------------------------
// Construction

TVodCustomDropDown::TVodCustomDropDown(TComponent* AOwner)
    : TCustomMaskEdit(AOwner),
      FDropDownHeader(std::make_unique<THeaderAppearance>(this)),
      FButtonAppearance(std::make_unique<TVodButtonAppearance>()),
      FDropDownFooter(std::make_unique<TFooterAppearance>(this)),
      FLabelFont(std::make_unique<TFont>())
{
    SetBounds(FLeft, FTop, 200, 21);
    FControlStyle.Exclude(csSetCaption);
    FDropDownHeader->OnChange = [this](TObject*) { AppearanceChanged(); };
    FDropDownHeader->OnButtonsChanged = [this](TObject*) { AppearanceChanged(); };
    FDropDownFooter->OnChange = [this](TObject*) { AppearanceChanged(); };
    FDropDownFooter->OnButtonsChanged = [this](TObject*) { AppearanceChanged(); };
    // The platform profile: NT 6.1 with common controls 6.0.
    FIsWinXP = true;
    FIsThemed = true;
    FLabelFont->OnChange = [this](TObject*) {
        if (!FLblUpdate) FLblFntHeight = FLabelFont->Height();
        if (FLabel) UpdateLabelPosition();
    };
}

TVodCustomDropDown::~TVodCustomDropDown()
{
    FDestroying = true;
    FLabelFont->OnChange = nullptr;
    FDropDownHeader->OnChange = nullptr;
    FDropDownHeader->OnButtonsChanged = nullptr;
    FDropDownFooter->OnChange = nullptr;
    FDropDownFooter->OnButtonsChanged = nullptr;
    // The window goes before the edit it points back to.
    if (FDropDownForm) {
        TDropDownForm* f = FDropDownForm;
        FDropDownForm = nullptr;
        f->SetVodDropDown(nullptr);
        delete f;
    }
    if (FButton) {
        TDropDownEditButton* b = FButton;
        FButton = nullptr;
        delete b;
    }
}

void TVodCustomDropDown::Init()
{
    if (FInitDone || FInInit) return;
    FInInit = true;
    if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
    CreateDropDownButton();
    SetSelectionColorStyle(scOffice2007);
    FFocusDraw = true;
    SetComponentStyle(tsOffice2007Luna);
    FInInit = false;
    FInitDone = true;
}

void TVodCustomDropDown::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN | ES_MULTILINE;
}

DWORD TVodCustomDropDown::EditStyle() const
{
    return TCustomMaskEdit::EditStyle() | ES_MULTILINE;
}

void TVodCustomDropDown::CreateWnd()
{
    Init();
    TCustomMaskEdit::CreateWnd();
    if (FButton && FButton->Parent() != this) FButton->SetParent(this);
    UpdateEditRect();
    UpdateButtonBounds();
    if (!ParentFont() && FLabel && !LabelCaption().empty() && !ComponentState().Contains(csDesigning)) {
        FLblUpdate = true;
        if (FLblFntHeight != 0) FLabelFont->SetHeight(Integer(Round(DpiScaleFactor() * FLblFntHeight)));
        FLblUpdate = false;
    }
    if (FLabel) UpdateLabelPosition();
}

void TVodCustomDropDown::Loaded()
{
    TCustomMaskEdit::Loaded();
    FParentFnt = ParentFont();
    if (FButton) FButton->SetEnabled(Enabled());
    if (FLabel) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
        UpdateLabelPosition();
        if (ParentFont()) FLabel->Font()->Assign(Font());
    }
    FLblFntHeight = FLabelFont->Height();
    if (HandleAllocated()) UpdateButtonBounds();
}

void TVodCustomDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl) FControl = nullptr;
    if (AComponent == FFocusControl) FFocusControl = nullptr;
    if (AComponent == FLabel) FLabel = nullptr;
    if (AComponent == FDropDownForm) FDropDownForm = nullptr;
    if (AComponent == FButton) FButton = nullptr;
}

Integer TVodCustomDropDown::GetVersionNr() { return (1 << 24) | (4 << 16) | (2 << 8) | 6; }

String TVodCustomDropDown::Version()
{
    Integer v = GetVersionNr();
    return IntToStr((v >> 24) & 0xFF) + L"." + IntToStr((v >> 16) & 0xFF) + L"." + IntToStr((v >> 8) & 0xFF) +
           L"." + IntToStr(v & 0xFF);
}

void TVodCustomDropDown::DoLabelClick()
{
    if (OnLabelClick) OnLabelClick(this);
}

void TVodCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick) OnLabelDblClick(this);
}

// ---------------------------------------------------------------------------
// Properties

void TVodCustomDropDown::SetDropDownWidth(Integer v)
{
    FDropDownWidth = v;
    FUserDropDownWidth = -1;
}

void TVodCustomDropDown::SetDropDownHeight(Integer v)
{
    FDropDownHeight = v;
    if (v >= 0) FUserDropDownHeight = -1;
}

TSize TVodCustomDropDown::DropDownSize()
{
    if (FDropDownForm && FDropDownSizeable && FDropDownForm->HandleAllocated())
        return TSize{FDropDownForm->Width(), FDropDownForm->Height()};
    if (FDropDownWidth != 0 && FDropDownHeight != 0) return TSize{FDropDownWidth, FDropDownHeight};
    if (FControl) return TSize{FControl->Width(), FControl->Height()};
    return TSize{0, 0};
}

void TVodCustomDropDown::SetDropDownEnabled(bool v)
{
    FDropDownEnabled = v;
    if (Button()) FButton->SetEnabled(v);
}

void TVodCustomDropDown::SetEditorEnabled(bool v)
{
    FEditorEnabled = v;
    if (v)
        FControlStyle.Include(csDoubleClicks);
    else
        FControlStyle.Exclude(csDoubleClicks);
}

void TVodCustomDropDown::SetReadOnly(bool v)
{
    TCustomMaskEdit::SetReadOnly(v);
    if (FButton) FButton->Invalidate();
}

void TVodCustomDropDown::SetFlat(bool v)
{
    FFlat = v;
    if (HandleAllocated()) UpdateButtonBounds();
}

void TVodCustomDropDown::SetEtched(bool v)
{
    FEtched = v;
    if (Button()) FButton->SpeedButton()->SetEtched(v);
}

void TVodCustomDropDown::SetImages(TCustomImageList* v)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
}

void TVodCustomDropDown::SetControl(TControl* v)
{
    if (FControl && FControl != v) {
        FControl->SetAlign(alNone);
        FControl->SetVisible(false);
    }
    if (FControl) FControl->RemoveFreeNotification(this);
    FControl = v;
    if (FControl) FControl->FreeNotification(this);
    if (!ComponentState().Contains(csDesigning)) PlaceDropDownControl();
}

void TVodCustomDropDown::SetFocusControl(TWinControl* v)
{
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

TDropDownEditButton* TVodCustomDropDown::Button()
{
    if (!FButton && !FInInit && !FDestroying) Init();
    return FButton;
}

void TVodCustomDropDown::SetDropDownButtonWidth(Integer v)
{
    FButtonWidth = v;
    if (Button()) {
        FButton->SetButtonWidth(v);
        if (FButton->HandleAllocated()) UpdateButtonBounds();
    }
}

void TVodCustomDropDown::SetDropDownButtonHint(const String& v)
{
    if (FButtonHint == v) return;
    FButtonHint = v;
    if (Button()) {
        FButton->SetHint(v);
        if (!v.empty()) FButton->SetShowHint(true);
    }
}

TBitmap* TVodCustomDropDown::DropDownButtonGlyph() { return Button() ? FButton->Glyph() : nullptr; }

void TVodCustomDropDown::SetDropDownButtonGlyph(TBitmap* v)
{
    if (Button()) FButton->SetGlyph(v);
}

void TVodCustomDropDown::SetEmptyText(const String& v)
{
    FEmptyText = v;
    Invalidate();
}

void TVodCustomDropDown::SetEmptyTextStyle(TFontStyles v)
{
    FEmptyTextStyle = v;
    Invalidate();
}

void TVodCustomDropDown::SetBorderColor(TColor v)
{
    FBorderColor = v;
    Invalidate();
    if (FButton) FButton->Invalidate();
}

void TVodCustomDropDown::SetDisabledBorder(bool v)
{
    FDisabledBorder = v;
    Invalidate();
}

void TVodCustomDropDown::AppearanceChanged()
{
    if (FDropDownForm && FDropDownForm->Visible()) FDropDownForm->InitializeAndUpdate();
}

// ---------------------------------------------------------------------------
// Value

String TVodCustomDropDown::EditText() { return TCustomMaskEdit::GetText(); }

void TVodCustomDropDown::SetEditText(const String& Value) { TCustomMaskEdit::SetText(Value); }

String TVodCustomDropDown::GetText()
{
    String s = TCustomMaskEdit::GetText();
    if (!FPrefix.empty() && s.compare(0, FPrefix.size(), FPrefix) == 0) s.erase(0, FPrefix.size());
    if (!FSuffix.empty()) s.erase(s.size() - std::min(s.size(), FSuffix.size()));
    return s;
}

void TVodCustomDropDown::SetText(const String& Value)
{
    String v = Value;
    if (v.empty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        v = L"0";
    if (FPrecision > 0 && !v.empty() && v != L"Error") {
        if (FEditType == etMoney)
            v = Format(L"%." + IntToStr(FPrecision) + L"n", {TextToFloat(v)});
        else if (FEditType == etFloat)
            v = Format(L"%." + IntToStr(FPrecision) + L"f", {TextToFloat(v)});
    }
    if (FEditType == etHex) v = AnsiUpperCase(v);
    SetEditText(FPrefix + v + FSuffix);
    FOldText = v;
    FIsModified = false;
    if (HandleAllocated()) SendMessage(FHandle, EM_SETMODIFY, 0, 0);
}

void TVodCustomDropDown::SetPrefix(const String& v)
{
    String value = GetText();
    FPrefix = v;
    SetEditText(FPrefix + value + FSuffix);
}

void TVodCustomDropDown::SetSuffix(const String& v)
{
    String value = GetText();
    FSuffix = v;
    SetEditText(FPrefix + value + FSuffix);
}

double TVodCustomDropDown::TextToFloat(const String& S)
{
    String s = RemoveChar(S, ThouSep());
    Extended v = 0;
    if (!TryStrToFloat(s, v)) return 0;
    return double(v);
}

double TVodCustomDropDown::GetFloatValue()
{
    String s = GetText();
    switch (FEditType) {
    case etString: {
        Extended v = 0;
        Integer code = 0;
        Val(s, v, code);
        return code == 0 ? double(v) : 0;
    }
    case etMoney:
        s = RemoveChar(s, ThouSep());
        if (!s.empty() && s.back() == DecSep()) s.pop_back();
        [[fallthrough]];
    case etNumeric:
    case etFloat:
        if (s.empty() || s == L"Error" || s == L"-") return 0;
        return TextToFloat(s);
    case etHex: {
        if (s.empty()) return 0;
        bool neg = s[0] == L'-';
        if (neg) s.erase(0, 1);
        Int64 v = 0;
        if (!TryStrToInt64(L"$" + s, v)) return 0;
        return neg ? -double(v) : double(v);
    }
    default: return 0;
    }
}

void TVodCustomDropDown::SetFloatValue(double x)
{
    if (FPrecision < 0) {
        SetText(Format(L"%g", {x}));
    } else {
        String p = IntToStr(FPrecision);
        switch (FEditType) {
        case etString: case etFloat: SetText(Format(L"%." + p + L"f", {x})); break;
        case etNumeric: SetText(Format(L"%." + p + L"n", {x})); break;
        case etMoney:
            SetText(Format(L"%." + p + L"f", {x}));
            ApplyMoneyFormat();
            break;
        case etHex: SetText(IntToHex(Int64(std::trunc(x)), 1)); break;
        default: break;
        }
    }
    SetEditModified(true);
}

void TVodCustomDropDown::SetIntValue(Integer n)
{
    switch (FEditType) {
    case etNumeric: case etFloat: SetText(IntToStr(n)); break;
    case etMoney:
        SetText(IntToStr(n));
        ApplyMoneyFormat();
        break;
    case etHex: SetText(IntToHex(n, 1)); break;
    default: break;
    }
    SetEditModified(true);
}

void TVodCustomDropDown::ApplyMoneyFormat()
{
    if (FEditType != etMoney) return;
    String value = GetText();
    if (value.empty()) return;
    Integer oldLen = Integer(value.size());
    Integer caret = SelStartRaw();
    String sign;
    if (value[0] == L'-') sign = L"-";
    String dec;
    size_t p = value.find(DecSep());
    if (p != String::npos) dec = value.substr(p, 255);
    double abs = std::trunc(std::fabs(GetFloatValue()));
    String formatted = Format(FAutoThousandSeparator ? L"%n" : L"%f", {abs});
    size_t dp = formatted.find(DecSep());
    String intPart = dp == String::npos ? formatted : formatted.substr(0, dp);
    SmallInt savedPrecision = FPrecision;
    FPrecision = 0;
    String whole = FPrefix + sign + intPart + dec + FSuffix;
    if (value != whole) FBlockChange = true;
    SetEditText(whole);
    FPrecision = savedPrecision;
    Integer newLen = Integer((sign + intPart + dec).size());
    Integer pos = std::max(0, caret + newLen - oldLen);
    SetSelRaw(pos, pos);
}

void TVodCustomDropDown::SetEditType(TDropDownEditType v)
{
    if (FEditType == v) return;
    FEditType = v;
    if (v == etPassword) {
        SetPasswordChar(L'*');
        FCanUndo = false;
        if (HandleAllocated()) RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    Integer kind = ClassifyNumberText(GetText());
    switch (v) {
    case etNumeric:
        if (kind != NUMERIC_INT) SetIntValue(0);
        break;
    case etHex:
        if (kind != NUMERIC_INT && kind != NUMERIC_HEX) SetIntValue(0);
        break;
    case etFloat: case etMoney:
        if (kind != NUMERIC_INT && kind != NUMERIC_FLOAT) SetFloatValue(0);
        break;
    default: break;
    }
    if (ComponentState().Contains(csDesigning) && v == etFloat && FPrecision == 0) SetPrecision(2);
}

void TVodCustomDropDown::SetPrecision(SmallInt v)
{
    if (FPrecision == v) return;
    if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) {
        FPrecision = v;
        return;
    }
    FPrecision = v;
    Integer kind = ClassifyNumberText(GetText());
    if (kind != NUMERIC_INT && kind != NUMERIC_FLOAT)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

void TVodCustomDropDown::SetEditModified(bool v)
{
    if (ComponentState().Contains(csLoading) || !FEditorEnabled || ReadOnly()) return;
    FIsModified = v;
    if (HandleAllocated()) SendMessage(FHandle, EM_SETMODIFY, v ? 1 : 0, 0);
}

bool TVodCustomDropDown::RawModified()
{
    return HandleAllocated() && SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
}

// ---------------------------------------------------------------------------
// Selection

Integer TVodCustomDropDown::SelStartRaw()
{
    if (!HandleAllocated()) return 0;
    DWORD a = 0, b = 0;
    SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    return Integer(a);
}

Integer TVodCustomDropDown::SelLengthRaw()
{
    if (!HandleAllocated()) return 0;
    DWORD a = 0, b = 0;
    SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    return Integer(b) - Integer(a);
}

void TVodCustomDropDown::SetSelRaw(Integer Start, Integer End)
{
    if (HandleAllocated()) SendMessage(FHandle, EM_SETSEL, WPARAM(Start), LPARAM(End));
}

void TVodCustomDropDown::SelectAll()
{
    Integer p = Integer(FPrefix.size());
    SetSelRaw(p, p + Integer(GetText().size()));
}

void TVodCustomDropDown::SelectAfterDecimal()
{
    String v = GetText();
    size_t d = v.find(DecSep());
    Integer p = Integer(FPrefix.size()) + (d == String::npos ? 0 : Integer(d) + 1);
    SetSelRaw(p, p);
}

void TVodCustomDropDown::SelectBeforeDecimal()
{
    String v = GetText();
    size_t d = v.find(DecSep());
    Integer p = Integer(FPrefix.size()) + (d == String::npos ? 0 : Integer(d));
    SetSelRaw(p, p);
}

// ---------------------------------------------------------------------------
// Focus and change

void TVodCustomDropDown::WMSetFocusDropDown(TMessage& M)
{
    TCustomMaskEdit::Dispatch(M);
    if (ComponentState().Contains(csLoading)) return;
    if (FEditorEnabled) {
        FOldString = GetText();
        if (AutoSelect())
            SelectAll();
        else if (FEditType == etFloat || FEditType == etMoney)
            SelectBeforeDecimal();
    } else {
        Invalidate();
    }
}

void TVodCustomDropDown::WMKillFocusDropDown(TMessage& M)
{
    if (!ComponentState().Contains(csLoading)) {
        String v = GetText();
        if ((FEditType == etFloat || FEditType == etMoney) && FPrecision > 0 &&
            (!v.empty() || !FAllowNumericNullValue)) {
            bool wasModified = FIsModified;
            SetFloatValue(GetFloatValue());
            FIsModified = wasModified;
            if (HandleAllocated()) SendMessage(FHandle, EM_SETMODIFY, wasModified ? 1 : 0, 0);
        } else if (v.empty() && !FAllowNumericNullValue) {
            if (FEditType == etNumeric) SetText(L"0");
            else if (FEditType == etFloat || FEditType == etMoney) SetFloatValue(0);
        }
    }
    TCustomMaskEdit::Dispatch(M);
    if ((!FEmptyText.empty() && GetText().empty()) || !FEditorEnabled) Invalidate();
}

void TVodCustomDropDown::DoEnter()
{
    TCustomMaskEdit::DoEnter();
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0 && FEditorEnabled) SelectAll();
    UpdateEditRect();
    RepaintBorder();
}

void TVodCustomDropDown::DoExit()
{
    TCustomMaskEdit::DoExit();
    RepaintBorder();
}

void TVodCustomDropDown::Change()
{
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Change();
}

// ---------------------------------------------------------------------------
// Geometry

Integer TVodCustomDropDown::CalcMinHeight()
{
    HDC dc = CreateScreenIC();
    TEXTMETRICW tm{}, sys{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetrics(dc, &sys);
    SelectObject(dc, Font()->Handle());
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight + std::min(tm.tmHeight, sys.tmHeight) / 4;
}

void TVodCustomDropDown::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!FRaisingHeight && !ComponentState().Contains(csLoading)) {
        Integer minH = CalcMinHeight();
        if (FHeight < minH) {
            FRaisingHeight = true;
            TCustomMaskEdit::SetBounds(FLeft, FTop, FWidth, minH);
            FRaisingHeight = false;
        }
    }
    if (HandleAllocated() && FButton) UpdateButtonBounds();
    if (FLabel) UpdateLabelPosition();
}

void TVodCustomDropDown::UpdateButtonBounds()
{
    if (!FButton) return;
    Integer a = BorderStyle() == bsSingle ? 4 : 2;
    if (FHeight < CalcMinHeight()) {
        SetHeight(CalcMinHeight());
        return;
    }
    const bool newStyleControls = true;
    if (newStyleControls && Ctl3D() && BorderStyle() == bsSingle) {
        Integer left = FWidth - FButtonWidth - (FFlat ? 3 : a);
        Integer top = FFlat ? 2 : 0;
        Integer height = FHeight - (FFlat ? 3 : a);
        FButton->SetBounds(left, top, FButtonWidth, height);
    } else {
        Integer left = FWidth - FButtonWidth - (Ctl3D() ? 0 : 2);
        FButton->SetBounds(left, 1, FButtonWidth, FHeight - 2);
    }
    UpdateEditRect();
    Invalidate();
}

void TVodCustomDropDown::UpdateEditRect()
{
    if (!HandleAllocated()) return;
    TRect r;
    if (BorderStyle() == bsSingle) {
        r.Left = 1;
        r.Top = 1;
    } else {
        r.Left = 2;
        r.Top = 3;
    }
    TRect client = ClientRect();
    Integer bw = FButton ? FButton->Width() : FButtonWidth;
    r.Right = client.Width() - bw - 3;
    r.Bottom = client.Height() + 1;
    FEditRect = r;
    TRect sent = r;
    if (!Ctl3D()) sent.Left += 1;
    SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&sent));
}

// ---------------------------------------------------------------------------
// Assign and streaming

void TVodCustomDropDown::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TVodCustomDropDown*>(Source);
    if (!s) return;
    FFocusDraw = s->FFocusDraw;
    FForceShadow = s->FForceShadow;
    SetDropDownEnabled(s->FDropDownEnabled);
    FDropDownColor = s->FDropDownColor;
    FDropDownColorTo = s->FDropDownColorTo;
    FDropDownGradient = s->FDropDownGradient;
    FDropDownBorderColor = s->FDropDownBorderColor;
    FDropDownBorderWidth = s->FDropDownBorderWidth;
    FDropDownShadow = s->FDropDownShadow;
    SetDropDownWidth(s->FDropDownWidth);
    SetDropDownHeight(s->FDropDownHeight);
    FDropDownSizeable = s->FDropDownSizeable;
    SetEditType(s->FEditType);
    FReturnIsTab = s->FReturnIsTab;
    FLengthLimit = s->FLengthLimit;
    SetPrecision(s->FPrecision);
    SetPrefix(s->FPrefix);
    SetSuffix(s->FSuffix);
    FDefaultHandling = s->FDefaultHandling;
    FCanUndo = s->FCanUndo;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FValidChars = s->FValidChars;
    FSigned = s->FSigned;
    FAutoThousandSeparator = s->FAutoThousandSeparator;
    FButtonAppearance->Assign(s->FButtonAppearance.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    FDropPosition = s->FDropPosition;
    SetFlat(s->FFlat);
    SetDropDownButtonWidth(s->FButtonWidth);
    SetDropDownButtonHint(s->FButtonHint);
    SetEditorEnabled(s->FEditorEnabled);
    if (Button() && s->Button()) {
        FButton->SetGlyph(s->FButton->Glyph());
        FButton->SetButtonCaption(s->FButton->ButtonCaption());
    }
    SetEtched(s->FEtched);
    SetImages(s->FImages);
    FSelectionColorStyle = s->FSelectionColorStyle;
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
}

void TVodCustomDropDown::DefineProperties(TFiler* Filer)
{
    TCustomMaskEdit::DefineProperties(Filer);
    Filer->DefineProperty(
        L"SelectionColorStyle",
        [this](TReader* R) { FSelectionColorStyle = TSelectionColorStyle(R->ReadInteger()); },
        [this](TWriter* W) { W->WriteInteger(Integer(FSelectionColorStyle)); }, true);
    Filer->DefineProperty(
        L"QelStyle", [this](TReader* R) { FQelStyle = TQelStyle(R->ReadInteger()); },
        [this](TWriter* W) { W->WriteInteger(Integer(FQelStyle)); }, true);
}

void TVodCustomDropDown::Publish(TPublisher<TVodCustomDropDown>& p)
{
    using D = TVodCustomDropDown;
    p.IntegerIdent(L"BorderColor", L"TColor", &D::BorderColor, &D::SetBorderColor).Default = Int64(clNone);
    p.IntegerIdent(L"FocusBorderColor", L"TColor", &D::FocusBorderColor, &D::SetFocusBorderColor).Default =
        Int64(clNone);
    p.Boolean(L"DisabledBorder", &D::DisabledBorder, &D::SetDisabledBorder).Default = 1;
    p.IntegerIdent(L"DropDownColor", L"TColor", &D::DropDownColor, &D::SetDropDownColor).Default = 0xFFFFFF;
    p.IntegerIdent(L"DropDownColorTo", L"TColor", &D::DropDownColorTo, &D::SetDropDownColorTo).Default =
        Int64(clNone);
    p.IntegerIdent(L"DropDownBorderColor", L"TColor", &D::DropDownBorderColor, &D::SetDropDownBorderColor)
        .Default = 0;
    p.Integer(L"DropDownBorderWidth", &D::DropDownBorderWidth, &D::SetDropDownBorderWidth).Default = 1;
    p.Boolean(L"DropDownShadow", &D::DropDownShadow, &D::SetDropDownShadow).Default = 1;
    p.Integer(L"DropDownWidth", &D::DropDownWidth, &D::SetDropDownWidth).Default = 0;
    p.Integer(L"DropDownHeight", &D::DropDownHeight, &D::SetDropDownHeight).Default = 0;
    p.Boolean(L"DropDownEnabled", &D::DropDownEnabled, &D::SetDropDownEnabled).Default = 1;
    p.Enum(L"DropPosition", &D::DropPosition, &D::SetDropPosition, {L"dpAuto", L"dpDown", L"dpUp"}).Default = 0;
    p.Integer(L"DropDownButtonWidth", &D::DropDownButtonWidth, &D::SetDropDownButtonWidth).Default = 17;
    p.Str(L"DropDownButtonHint", &D::DropDownButtonHint, &D::SetDropDownButtonHint);
    p.Boolean(L"DropDownSizeable", &D::DropDownSizeable, &D::SetDropDownSizeable).Default = 1;
    p.Boolean(L"EditorEnabled", &D::EditorEnabled, &D::SetEditorEnabled).Default = 1;
    p.Str(L"LabelCaption", &D::LabelCaption, &D::SetLabelCaption);
    p.Enum(L"LabelPosition", &D::LabelPosition, &D::SetLabelPosition,
           {L"lpLeftTop", L"lpLeftCenter", L"lpLeftBottom", L"lpTopLeft", L"lpBottomLeft", L"lpLeftTopLeft",
            L"lpLeftCenterLeft", L"lpLeftBottomLeft", L"lpTopCenter", L"lpBottomCenter", L"lpRightTop",
            L"lpRightCenter", L"lpRighBottom", L"lpTopRight", L"lpBottomRight"})
        .Default = 0;
    p.Integer(L"LabelMargin", &D::LabelMargin, &D::SetLabelMargin).Default = 4;
    p.Boolean(L"LabelTransparent", &D::LabelTransparent, &D::SetLabelTransparent).Default = 0;
    p.Boolean(L"LabelAlwaysEnabled", &D::LabelAlwaysEnabled, &D::SetLabelAlwaysEnabled).Default = 0;
    p.Object(L"LabelFont", &D::LabelFont);
    p.Str(L"Version", &D::Version, &D::SetVersion);
    p.Object(L"ButtonAppearance", &D::ButtonAppearance);
    p.Object(L"DropDownHeader", &D::DropDownHeader);
    p.Object(L"DropDownFooter", &D::DropDownFooter);
    p.Str(L"EmptyText", &D::EmptyText, &D::SetEmptyText);
    p.Boolean(L"EmptyTextFocused", &D::EmptyTextFocused, &D::SetEmptyTextFocused).Default = 0;
}
