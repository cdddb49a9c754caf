// TVodEdit: construction, the value between prefix and suffix, the edit
// types and number kinds, the numeric values, validation, the selection
// commands, the range list and the settings objects.
#include "controls/edits/VodEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/foundation/VodStyleIF.h"
#include "platform/base/DebugOutput.h"
#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/os/Version.h"

namespace {

Char DS() { return FormatSettings.DecimalSeparator; }
Char TS() { return FormatSettings.ThousandSeparator; }

bool IsDigit(Char c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(Char c) { return IsDigit(c) || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f'); }

String RemoveChar(const String& s, Char c)
{
    String r;
    r.reserve(s.size());
    for (Char x : s)
        if (x != c) r += x;
    return r;
}

bool ComCtl6()
{
    DWORD size = GetFileVersionInfoSize(L"COMCTL32.DLL", nullptr);
    if (size == 0) return false;
    std::vector<Byte> block(size);
    void* fixed = nullptr;
    UINT len = 0;
    if (GetFileVersionInfo(L"COMCTL32.DLL", 0, size, block.data()) &&
        VerQueryValue(block.data(), L"\\", &fixed, &len) && fixed && len >= sizeof(VS_FIXEDFILEINFO))
        return HIWORD(static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS) > 5;
    return false;
}

bool WinXPOrLater()
{
    OSVERSIONINFO os;
    if (!GetVersionEx(&os)) return false;
    return os.dwMajorVersion > 5 || (os.dwMajorVersion == 5 && os.dwMinorVersion >= 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// Number kinds and conversions

TNumberKind EditNumberKind(const String& S)
{
    if (S.empty()) return TNumberKind::None;
    bool intCap = true, decCap = true, hexCap = true;
    Integer minus = 0, decimals = 0, lastTs = 0;
    const Char ds = DS(), ts = TS();
    for (Integer i = 1; i <= Integer(S.size()); ++i) {
        const Char c = S[size_t(i - 1)];
        const bool digit = IsDigit(c);
        if (!(digit || c == L'-')) intCap = false;
        if (!(digit || c == L'-' || c == ts || c == ds)) decCap = false;
        if (c == ts) {
            if (lastTs > 0 && i - lastTs < 3) decCap = false;
            lastTs = i;
        }
        if (!(c == L'-' || IsHexDigit(c))) hexCap = false;
        if (c == L'-') ++minus;
        if (c == ds) ++decimals;
    }
    if (minus > 1 || decimals > 1) return TNumberKind::None;
    if (intCap) return TNumberKind::Integer;
    if (decCap) return TNumberKind::Decimal;
    if (hexCap) return TNumberKind::Hex;
    return TNumberKind::None;
}

double EditTextToNumber(const String& S)
{
    Extended v = 0;
    if (!TryStrToFloat(RemoveChar(S, TS()), v, FormatSettings)) return 0;
    return double(v);
}

String EditMixedCase(const String& S)
{
    static const String seps = L" \"$'()*,-./:\\";
    String r = S;
    const Integer n = Integer(S.size());
    bool newWord = true;
    for (Integer i = 1; i <= n; ++i) {
        const Char c = S[size_t(i - 1)];
        if (seps.find(c) != String::npos) {
            newWord = true;
        } else {
            r[size_t(i - 1)] = newWord ? AnsiUpperChar(c) : AnsiLowerChar(c);
            newWord = false;
        }
        const String head = r.substr(0, size_t(i));
        if (head == L"Mc" || head == L"Mac") newWord = true;
        if (i > 2 && Pos(L" Mc", head) == i - 2) newWord = true;
        if (i >= n - 2) {
            if (i >= 2 && Copy(r, i - 1, 2) == L" I") newWord = true;
            if (i >= 3 && Copy(r, i - 2, 3) == L" II") newWord = true;
        }
    }
    return r;
}

Integer EditHexValue(const String& S)
{
    uint32_t sum = 0, weight = 1;
    bool negative = false;
    for (size_t k = S.size(); k-- > 0;) {
        const Char c = S[k];
        if (c == L'-') {
            negative = true;
            continue;
        }
        uint32_t d = 0;
        if (IsDigit(c)) d = uint32_t(c - L'0');
        else if (c >= L'A' && c <= L'F') d = uint32_t(c - L'A' + 10);
        else if (c >= L'a' && c <= L'f') d = uint32_t(c - L'a' + 10);
        sum += d * weight;
        weight *= 16u;
    }
    if (negative) sum = 0u - sum;
    return Integer(sum);
}

double EditScreenScale()
{
    const Integer ppi = Screen ? Screen->PixelsPerInch() : 96;
    if (ppi == 96) return 1.0;
    auto heightAt = [](Integer dpi) {
        TFont f;
        f.SetPixelsPerInch(dpi);
        f.SetSize(9);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, f.Handle());
        SIZE sz{};
        GetTextExtentPoint32(dc, L"0", 1, &sz);
        SelectObject(dc, old);
        DeleteDC(dc);
        return sz.cy;
    };
    const Integer base = heightAt(96);
    return base > 0 ? double(heightAt(ppi)) / double(base) : 1.0;
}

// ---------------------------------------------------------------------------
// TRangeList

void TRangeList::Add(Integer Value)
{
    if (!InList(Value)) TList::Add(reinterpret_cast<void*>(intptr_t(Value)));
}

void TRangeList::AddMultiple(Integer Value, Integer Count)
{
    for (Integer i = 0; i < Count; ++i) Add(Value + i);
}

bool TRangeList::InList(Integer Value) const { return IndexOf(reinterpret_cast<void*>(intptr_t(Value))) >= 0; }

Integer TRangeList::GetInteger(Integer Index) const { return Integer(reinterpret_cast<intptr_t>(Items(Index))); }

void TRangeList::SetInteger(Integer Index, Integer Value) { SetItems(Index, reinterpret_cast<void*>(intptr_t(Value))); }

void TRangeList::Show() const
{
    for (Integer i = 0; i < Count(); ++i) OutputDebugString(IntToStr(GetInteger(i)).c_str());
}

bool TRangeList::StrToList(String s)
{
    Clear();
    bool result = true;
    auto addVal = [&](const String& t) {
        Integer v = 0, code = 0;
        Val(t, v, code);
        if (code != 0) result = false;
        else Add(v);
    };
    auto addRange = [&](const String& t) {
        const Integer d = Pos(L"-", t);
        Integer a = 0, b = 0, ca = 0, cb = 0;
        Val(Copy(t, 1, d - 1), a, ca);
        Val(Copy(t, d + 1, Integer(t.size())), b, cb);
        if (ca != 0 || cb != 0) {
            result = false;
            return;
        }
        if (b >= a)
            for (Int64 v = a; v <= b; ++v) Add(Integer(v));
    };
    while (!s.empty()) {
        Integer q = 0;
        for (Integer i = 1; i <= Integer(s.size()); ++i)
            if (s[size_t(i - 1)] == L',' || s[size_t(i - 1)] == L';') {
                q = i;
                break;
            }
        if (q == 0) {
            if (Pos(L"-", s) == 0) addVal(s);
            else addRange(s);
            s.clear();
        } else {
            const Integer m = Pos(L"-", s);
            if (m > 0 && m < q) addRange(Copy(s, 1, q - 1));
            else addVal(Copy(s, 1, q - 1));
            ::Delete(s, 1, q);
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// TLookupSettings

TLookupSettings::TLookupSettings()
    : FDisplayList(std::make_unique<TStringList>()), FValueList(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>())
{
    FDisplayList->SetDuplicates(dupIgnore);
    FFont->SetName(L"Arial");
    FFont->SetSize(8);
    FFont->SetStyle(TFontStyles{});
}

TLookupSettings::~TLookupSettings() = default;

void TLookupSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TLookupSettings*>(Source);
    if (!s) return;
    FEnabled = s->FEnabled;
    FDisplayList->Assign(s->FDisplayList.get());
    FValueList->Assign(s->FValueList.get());
    FNumChars = s->FNumChars;
    FDisplayCount = s->FDisplayCount;
    FCaseSensitive = s->FCaseSensitive;
    FSearchValue = s->FSearchValue;
    FShowValue = s->FShowValue;
    FValueSeparator = s->FValueSeparator;
    FMulti = s->FMulti;
    FSeparator = s->FSeparator;
    FAcceptOnTab = s->FAcceptOnTab;
    FHistory = s->FHistory;
    FColor = s->FColor;
    FFont->Assign(s->FFont.get());
    FSpacing = s->FSpacing;
}

void TLookupSettings::AddPair(const String& DisplayText, const String& Value)
{
    FDisplayList->Add(DisplayText);
    FValueList->Add(Value);
}

// ---------------------------------------------------------------------------
// TVodEdit: construction

TVodEdit::TVodEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FFontColor = Font()->Color();
    FPersistence = std::make_unique<TPersistence>();
    FLabelFont = std::make_unique<TFont>();
    FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
    FLookup = std::make_unique<TLookupSettings>();
    FIsWinXP = WinXPOrLater();
    FDesignTime = Designing() && AOwner &&
                  !AOwner->ComponentState().Contains(csReading) && !AOwner->ComponentState().Contains(csLoading);
    FIsThemed = ComCtl6();
    FNormalColor = FColor;
    if (!Designing()) {
        FLookupList = new TListHintWindow(this);
        FLookupList->SetVisible(false);
        FLookupList->SetBounds(0, 0, 0, 0);
        FLookupList->ControlStyle().Include(csReplicatable);
        FLookupListBox = new TListBoxTab(FLookupList);
        FLookupListBox->SetParent(FLookupList);
        FLookupListBox->SetAlign(alClient);
        FLookupListBox->SetStyle(lbOwnerDrawFixed);
        FLookupListBox->SetItemHeight(12);
        FLookupListBox->SetCtl3D(false);
        FLookupListBox->SetTabStop(true);
        FLookupListBox->SetBorderStyle(bsNone);
        FLookupListBox->SetTabOrder(0);
        FLookupListBox->ControlStyle().Include(csReplicatable);
        FLookupListBox->OnKeyPress = [this](TObject* s, wchar_t& k) { LookupListKeyPress(s, k); };
        FLookupListBox->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, Integer x, Integer y) {
            LookupListMouseUp(s, b, sh, x, y);
        };
        FLookupList->SetListControl(FLookupListBox);
    }
}

TVodEdit::~TVodEdit()
{
    // The window goes first, while this object can still save and revoke.
    if (HandleAllocated()) DestroyHandle();
    if (FLabel) {
        TVodEditLabel* l = FLabel;
        FLabel = nullptr;
        l->SetParent(nullptr);
        delete l;
    }
    if (FOleDropTargetAssigned && HandleAllocated()) RevokeDragDrop(FHandle);
    FOleDropTargetAssigned = false;
    FLabelFont->OnChange = nullptr;
}

void TVodEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FLabel) FLabel = nullptr;
        if (AComponent == FLookupList) {
            FLookupList = nullptr;
            FLookupListBox = nullptr;
        }
    }
}

Integer TVodEdit::GetVersionNr() { return Integer((3u << 24) | (4u << 16) | (1u << 8) | 1u); }

String TVodEdit::Version()
{
    const uint32_t v = uint32_t(GetVersionNr());
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

DWORD TVodEdit::EditStyle() const
{
    DWORD st = TCustomEdit::EditStyle();
    // A multi-line window lets a formatting rectangle be set; the key filter
    // never hands it Enter.
    if (FEditType != etPassword) st |= ES_MULTILINE;
    st &= ~DWORD(ES_RIGHT | ES_CENTER);
    if (FEditAlign == eaRight) st |= ES_RIGHT;
    if (FEditAlign == eaCenter) st |= ES_CENTER;
    return st;
}

// ---------------------------------------------------------------------------
// The value

String TVodEdit::GetText()
{
    String t = WindowText();
    if (!FPrefix.empty() && AnsiUpperCase(t).rfind(AnsiUpperCase(FPrefix), 0) == 0) t.erase(0, FPrefix.size());
    if (!FSuffix.empty() && t.size() >= FSuffix.size() &&
        AnsiUpperCase(t.substr(t.size() - FSuffix.size())) == AnsiUpperCase(FSuffix))
        t.erase(t.size() - FSuffix.size());
    return t;
}

void TVodEdit::SetWindowText(const String& v)
{
    if (WindowText() == v) return;
    Perform(WM_SETTEXT, 0, LPARAM(v.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TVodEdit::SetText(const String& value)
{
    String v = value;
    if (!v.empty() || !FAllowNumericNullValue) {
        const TNumberKind k = EditNumberKind(v);
        switch (FEditType) {
        case etNumeric:
            if (k != TNumberKind::Integer) v = L"0";
            break;
        case etFloat: case etMoney:
            if (k != TNumberKind::Integer && k != TNumberKind::Decimal) v = L"0";
            break;
        case etHex:
            if (k != TNumberKind::Integer && k != TNumberKind::Hex) v = L"0";
            break;
        default: break;
        }
        if (FPrecisionDisplay == pdShortest && (FEditType == etFloat || FEditType == etMoney)) {
            v = Format(L"%g", {EditTextToNumber(v)});
        } else if (!v.empty() && (FPrecision > 0 || FEditType == etMoney)) {
            if (FEditType == etMoney && FPrecision >= 0)
                v = Format(String(L"%.") + IntToStr(Integer(FPrecision)) + L"n", {EditTextToNumber(v)});
            else if (FEditType == etFloat)
                v = Format(String(L"%.") + IntToStr(Integer(FPrecision)) + L"f", {EditTextToNumber(v)});
        }
    }
    if (FEditType == etHex) v = AnsiUpperCase(v);
    SetWindowText(FPrefix + v + FSuffix);
    SetModified(false);
    if (FShowURL) SetURLLook(IsURL());
}

void TVodEdit::SetEditText(const String& AValue)
{
    FOldString = AValue;
    SetText(AValue);
}

void TVodEdit::Clear() { SetText(L""); }

void TVodEdit::SetPrefix(const String& v)
{
    const String t = GetText();
    FPrefix = v;
    SetWindowText(FPrefix + t + FSuffix);
}

void TVodEdit::SetSuffix(const String& v)
{
    const String t = GetText();
    FSuffix = v;
    SetWindowText(FPrefix + t + FSuffix);
}

void TVodEdit::SetEditType(TVodEditType v)
{
    if (v == FEditType) return;
    FEditType = v;
    if (v == etPassword) {
        SetPasswordChar(L'*');
        FCanUndo = false;
        RecreateWnd();
    } else {
        SetPasswordChar(0);
        if (HandleAllocated()) RecreateWnd();
    }
    const String t = GetText();
    if (!t.empty() || !FAllowNumericNullValue) {
        const TNumberKind k = EditNumberKind(t);
        if (v == etNumeric && k != TNumberKind::Integer) SetIntValue(0);
        if ((v == etFloat || v == etMoney) && k != TNumberKind::Integer && k != TNumberKind::Decimal)
            SetFloatValue(0);
        if (v == etHex && k != TNumberKind::Integer && k != TNumberKind::Hex) SetIntValue(0);
    }
    if (FDesignTime && v == etFloat && FPrecision == 0) SetPrecision(2);
}

void TVodEdit::SetCanUndo(bool v)
{
    FCanUndo = v && FEditType != etPassword;
    if (HandleAllocated()) {
        RecreateWnd();
        NudgeWidth();
    }
}

void TVodEdit::SetPrecision(SmallInt v)
{
    if (v == FPrecision) return;
    if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
    FPrecision = v;
    const String t = GetText();
    if (t.empty() && FAllowNumericNullValue) return;
    const TNumberKind k = EditNumberKind(t);
    if (k != TNumberKind::Integer && k != TNumberKind::Decimal) SetFloatValue(0);
    else SetFloatValue(FloatValue());
}

void TVodEdit::SetPrecisionDisplay(TPrecisionDisplay v)
{
    if (v == FPrecisionDisplay) return;
    FPrecisionDisplay = v;
    SetFloatValue(FloatValue());
}

void TVodEdit::SetAutoThousandSeparator(bool v)
{
    FAutoThousandSeparator = v;
    if (FEditType == etFloat || FEditType == etMoney) Regroup();
}

// ---------------------------------------------------------------------------
// Numeric values

double TVodEdit::FloatValue()
{
    const String t = GetText();
    switch (FEditType) {
    case etString: return EditTextToNumber(t);
    case etNumeric: case etFloat:
        if (t.empty() || t == L"-") return 0;
        return EditTextToNumber(t);
    case etMoney: {
        String s = RemoveChar(t, TS());
        if (!s.empty() && s.back() == DS()) s.pop_back();
        if (s.empty() || s == L"-") return 0;
        return EditTextToNumber(s);
    }
    case etHex: return t.empty() ? 0 : double(EditHexValue(t));
    default: return 0;
    }
}

void TVodEdit::SetFloatValue(double x)
{
    auto formatted = [&]() {
        return FPrecision < 0 ? Format(L"%g", {x})
                              : Format(String(L"%.") + IntToStr(Integer(FPrecision)) + L"f", {x});
    };
    switch (FEditType) {
    case etString: case etFloat: SetText(formatted()); break;
    case etMoney:
        SetText(formatted());
        Regroup();
        break;
    case etHex: SetText(IntToHex(Integer(Trunc(x)), 0)); break;
    case etNumeric:
        // The rounded integer, without thousand groups (which the integer
        // kind would refuse).
        SetText(IntToStr(Int64(Round(x))));
        break;
    default: break;
    }
    SetModified(true);
}

Integer TVodEdit::IntValue()
{
    const String t = GetText();
    Integer v = 0, code = 0;
    switch (FEditType) {
    case etNumeric: case etFloat: Val(t, v, code); return v;
    case etMoney: Val(RemoveChar(t, TS()), v, code); return v;
    case etHex: return t.empty() ? 0 : EditHexValue(t);
    default: return 0;
    }
}

void TVodEdit::SetIntValue(Integer v)
{
    switch (FEditType) {
    case etNumeric: case etFloat: SetText(IntToStr(v)); break;
    case etMoney:
        SetText(IntToStr(v));
        Regroup();
        break;
    case etHex: SetText(IntToHex(v, 0)); break;
    default: break;
    }
    SetModified(true);
}

Variant TVodEdit::Value()
{
    if (FEditType == etNumeric) return Variant(IntValue());
    if (FEditType == etFloat) return Variant(FloatValue());
    return Variant(GetText());
}

void TVodEdit::SetValue(const Variant& v) { SetText(VarToStr(v)); }

void TVodEdit::SetModified(bool v)
{
    if (Loading() || ReadOnly()) return;
    if (FShowModified) Font()->SetColor(v ? FModifiedColor : FFontColor);
    TCustomEdit::SetModified(v);
    FIsModified = v;
}

// ---------------------------------------------------------------------------
// Validation

bool TVodEdit::ValidateValue(const String& Value)
{
    if (FIsValidating) return true;
    FIsValidating = true;
    bool ok = true;
    if (FEditType == etNumeric) {
        if (!(Value.empty() && FAllowNumericNullValue) && (FMinValue != 0 || FMaxValue != 0)) {
            // A text that is no integer (such as characters typed with
            // Control held) is out of any range.
            Integer n = 0;
            ok = TryStrToInt(Value, n) && FMinValue <= n && n <= FMaxValue;
        }
    } else if (FEditType == etFloat || FEditType == etMoney) {
        if (FMinFloatValue != 0 || FMaxFloatValue != 0) {
            const double x = EditTextToNumber(Value);
            ok = FMinFloatValue <= x && x <= FMaxFloatValue;
        }
    }
    DoValueValidate(Value, ok);
    FIsValidating = false;
    return ok;
}

void TVodEdit::DoValueValidate(const String& Value, bool& IsValid)
{
    if (HandleAllocated() && OnValueValidate) OnValueValidate(this, Value, IsValid);
}

void TVodEdit::SetIsError(bool v)
{
    if (Designing() || Loading() || v == FError) return;
    FError = v;
    if (FShowError) ApplyErrorLook();
}

void TVodEdit::Change()
{
    ++FChangeCount;
    TCustomEdit::Change();
    if (!Loading() && FShowError) SetIsError(!ValidateValue(GetText()));
}

// ---------------------------------------------------------------------------
// Selection commands

void TVodEdit::SelectAll()
{
    if (!HandleAllocated()) return;
    const String t = GetText();
    const Integer p = PrefixLen(), len = Integer(t.size());
    SetSelStart(0);
    SetSelLength(len);
    if ((p > 0 && SelStart() < p) || !FSuffix.empty()) {
        SetSelStart(p);
        SetSelLength(len);
    }
    if (FShowURL) {
        if (Integer q = Pos(L"://", t); q > 0) {
            SetSelStart(q + 2);
            SetSelLength(len);
        } else if (Integer m = Pos(L"mailto:", t); m > 0) {
            SetSelStart(m + 6);
            SetSelLength(len);
        }
    }
}

void TVodEdit::SelectBeforeDecimal()
{
    const Integer a = Pos(String(1, DS()), GetText());
    SetSelStart(a > 0 ? a + PrefixLen() - 1 : PrefixLen());
}

void TVodEdit::SelectAfterDecimal()
{
    const Integer a = Pos(String(1, DS()), GetText());
    SetSelStart(a > 0 ? a + PrefixLen() : PrefixLen());
}

void TVodEdit::ListToRangeStr(TRangeList* List)
{
    if (!List || List->Count() == 0) {
        SetWindowText(FPrefix + FSuffix);
        return;
    }
    std::vector<Integer> v;
    for (Integer i = 0; i < List->Count(); ++i) v.push_back(List->GetInteger(i));
    std::sort(v.begin(), v.end());
    for (Integer i = 0; i < Integer(v.size()); ++i) List->SetInteger(i, v[size_t(i)]);
    String s;
    size_t i = 0;
    while (i < v.size()) {
        size_t j = i;
        while (j + 1 < v.size() && Int64(v[j + 1]) == Int64(v[j]) + 1) ++j;
        if (!s.empty()) s += L",";
        s += IntToStr(v[i]);
        if (j > i) s += L"-" + IntToStr(v[j]);
        i = j + 1;
    }
    SetWindowText(FPrefix + s + FSuffix);
}

bool TVodEdit::RangeStrToList(TRangeList* List) { return List ? List->StrToList(GetText()) : false; }

// ---------------------------------------------------------------------------
// Money regrouping and the key filter's counting helpers

void TVodEdit::Regroup()
{
    const String t = GetText();
    if (t.empty()) return;
    const Integer l0 = Integer(t.size());
    const Integer c0 = HandleAllocated() ? SelStart() : 0;
    String body = t;
    String sign;
    if (body[0] == L'-') {
        sign = L"-";
        body.erase(0, 1);
    }
    String frac;
    if (size_t d = body.find(DS()); d != String::npos) frac = body.substr(d, 255);
    const double whole = std::floor(std::fabs(FloatValue()));
    String i = FAutoThousandSeparator ? Format(L"%n", {whole}) : Format(L"%f", {whole});
    if (size_t d = i.find(DS()); d != String::npos) i.erase(d);
    const SmallInt keep = FPrecision;
    FPrecision = 0;
    const String shown = FPrefix + sign + i + frac + FSuffix;
    if (t != sign + i + frac) FBlockChange = true;
    SetWindowText(shown);
    FBlockChange = false;
    FPrecision = keep;
    if (HandleAllocated()) {
        SetSelStart(c0 + (Integer(GetText().size()) - l0));
        SetSelLength(0);
    }
}

// ---------------------------------------------------------------------------
// Unit start-up: OLE for the program (drag and drop), and the label class
// in the class registry.

namespace {

struct TVodEditUnit {
    TVodEditUnit()
    {
        FOle = SUCCEEDED(OleInitialize());
        RegisterClass(TVodEditLabel::StaticClass());
    }
    ~TVodEditUnit()
    {
        if (FOle) OleUninitialize();
    }
    bool FOle = false;
};

const TVodEditUnit GVodEditUnit;

}  // namespace
