// TVodEdit: the key filter of typed characters, the editing keys that keep
// the caret out of prefix and suffix, Escape and Enter as special keys, the
// focus changes with their normalisation, the change notification and the
// clipboard commands.
#include <algorithm>

#include "controls/edits/VodEdit.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"

namespace {

Char DS() { return FormatSettings.DecimalSeparator; }
Char TS() { return FormatSettings.ThousandSeparator; }
bool IsDigit(Char c) { return c >= L'0' && c <= L'9'; }
bool Held(int vk) { return GetKeyState(vk) < 0; }
bool Has(const String& s, Char c) { return s.find(c) != String::npos; }

bool NumericType(TVodEditType t) { return t == etNumeric || t == etFloat || t == etMoney; }

// Whether a character passes the character rule of the listed types.
bool PassesCharRule(TVodEditType t, Char c, const String& valid, const String& invalid)
{
    switch (t) {
    case etHex:
        return IsDigit(c) || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f') || c == L'-';
    case etAlphaNumeric: return IsDigit(c) || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    case etValidChars: return Has(valid, c);
    case etInvalidChars: return !Has(invalid, c);
    default: return true;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Helpers of the filter

void TVodEdit::PostToParent(UINT Msg, WPARAM Key)
{
    if (Parent() && Parent()->HandleAllocated()) PostMessage(Parent()->Handle(), Msg, Key, 0);
}

Integer TVodEdit::IntegerDigits()
{
    const String t = GetText();
    String u;
    for (Char c : t)
        if (c != TS()) u += c;
    const size_t d = u.find(DS());
    Integer n = (d == String::npos ? Integer(u.size()) + 1 : Integer(d) + 1) - 1;
    if (FSigned && NumericType(FEditType) && Has(u, L'-')) --n;
    return n;
}

bool TVodEdit::GroupCheckRefuses(Integer C)
{
    String work = GetText();
    Integer M = Integer(work.size());
    if (!Has(work, TS())) return false;
    while (Has(work, TS())) {
        const Integer p = Integer(work.find(TS())) + 1;
        const Integer dist = std::abs(p - C);
        M = std::min(M, dist);
        if (dist < 3) return true;
        if (C > p) C -= p;
        work.erase(0, size_t(p));
    }
    return M > 3;
}

bool TVodEdit::DecimalsFull()
{
    if (FPrecision <= 0) return false;
    const String t = GetText();
    const size_t dpos = t.find(DS());
    if (dpos == String::npos) return false;
    const Integer d = Integer(dpos) + 1, len = Integer(t.size());
    const Integer C = SelStart() - PrefixLen();
    return C >= d && len - C <= FPrecision && len - d >= FPrecision;
}

void TVodEdit::SignToggle(bool, bool)
{
    const String t = GetText();
    const Integer C = SelStart();
    const size_t m = t.find(L'-');
    if (m == String::npos) {
        SetWindowText(FPrefix + L"-" + t + FSuffix);
        SetSelLength(0);
        SetSelStart(C + 1);
        SetModified(true);
    } else {
        // The minus goes wherever it stands.
        String rest = t;
        rest.erase(m, 1);
        SetWindowText(FPrefix + rest + FSuffix);
        const Integer minusAt = PrefixLen() + Integer(m);
        Integer caret = C;
        if (minusAt < C) caret = (C > 0 && C > PrefixLen()) ? C - 1 : PrefixLen();
        SetSelStart(std::max(caret, PrefixLen()));
        SetSelLength(0);
    }
}

// ---------------------------------------------------------------------------
// The key filter

void TVodEdit::WMChar(TMessage& M)
{
    const Integer changesBefore = FChangeCount, swallowedBefore = FSwallowedChanges;
    bool blockedHere = false;

    // Hands the character to the platform's handling (events, then the window).
    auto passOn = [&]() {
        if (M.WParam != 0) TCustomEdit::WMChar(M);
    };
    auto finish = [&]() {
        // The swallowed notification belongs to this keystroke only; the
        // replaced selection still counts as one change.
        if (blockedHere) FBlockChange = false;
        if (FSwallowedChanges != swallowedBefore && FChangeCount == changesBefore && HandleAllocated()) Change();
    };

    if (!FEditorEnabled) {
        M.Result = 0;
        return;
    }
    Char key = Char(M.WParam);
    const bool ctrl = Held(VK_CONTROL);
    const String text = GetText();
    const Integer P = PrefixLen();

    if (SelLength() == Integer(text.size()) && !text.empty() && FEditType != etPassword && key != VK_BACK) {
        FBlockChange = true;
        blockedHere = true;
    }

    if (key == VK_RETURN && ctrl) {
        M.WParam = 0;
        M.Result = 1;
        finish();
        return;
    }
    if (key == VK_RETURN) {
        wchar_t copy = L'\r';
        if (OnKeyPress) OnKeyPress(this, copy);
        M.WParam = 0;
        if (!FDefaultHandling && !FReturnIsTab && Parent()) {
            PostToParent(WM_KEYDOWN, VK_RETURN);
            TCustomForm* form = GetParentForm(this);
            if (!(form && form->KeyPreview())) PostToParent(WM_KEYUP, VK_RETURN);
        }
        finish();
        return;
    }
    if (key == VK_ESCAPE) {
        if (!FDefaultHandling && Parent()) {
            TCustomForm* form = GetParentForm(this);
            if (form && form->KeyPreview()) {
                passOn();
                finish();
                return;
            }
            PostToParent(WM_KEYDOWN, VK_ESCAPE);
            PostToParent(WM_KEYUP, VK_ESCAPE);
        }
        passOn();
        finish();
        return;
    }
    if (key == 1) {
        SelectAll();
        M.WParam = 0;
        finish();
        return;
    }
    if (key == 3 || key == 22 || key == 24) {
        passOn();
        finish();
        return;
    }
    if (FExcelStyleDecimalSeparator && (key == L'.' || key == L',') && (M.LParam & (LPARAM(1) << 22))) {
        key = DS();
        M.WParam = WPARAM(key);
    }
    if (key == VK_BACK && !FPrefix.empty() && SelStart() <= P && SelLength() == 0) {
        finish();
        return;
    }
    if (FLengthLimit > 0) {
        const Integer D = IntegerDigits();
        const size_t dpos = text.find(DS());
        const Integer S = dpos != String::npos ? P + Integer(dpos) + 1
                                               : P + Integer(text.size()) + Integer(FSuffix.size()) + 1;
        const bool allowedMinus = FSigned && NumericType(FEditType) && key == L'-';
        if (D >= FLengthLimit && SelLength() == 0 && SelStart() < S && key != VK_BACK && key != DS() &&
            !allowedMinus) {
            finish();
            return;
        }
    }
    if (key == VK_BACK) {
        const bool removes = SelLength() > 0 || SelStart() > 0;
        bool modified = FIsModified;
        if (removes) modified = true;
        SetModified(modified);
        passOn();
        if (FEditType == etMoney) Regroup();
        SetModified(modified);
        RefreshLookup();
        finish();
        return;
    }
    if (ctrl && key == 10) {
        finish();
        return;
    }
    if (NumericType(FEditType) && !FSigned && key == L'-') {
        finish();
        return;
    }

    // Per type; a branch that returns skips the tail.
    switch (FEditType) {
    case etString: case etPassword:
        SetModified(true);
        passOn();
        break;
    case etUppercase:
        M.WParam = WPARAM(AnsiUpperChar(key));
        passOn();
        break;
    case etLowerCase:
        M.WParam = WPARAM(AnsiLowerChar(key));
        passOn();
        break;
    case etMixedCase: {
        const Integer c = SelStart();
        passOn();
        SetWindowText(FPrefix + EditMixedCase(GetText()) + FSuffix);
        SetSelStart(c + 1);
        break;
    }
    case etNumeric:
        if (key == L'-') {
            if (SelLength() == Integer(text.size())) {
                SetWindowText(FPrefix + L"-" + FSuffix);
                SetSelStart(P + 1);
                FBlockChange = false;
                finish();
                return;
            }
            SignToggle(false, false);
        } else if (key == VK_BACK || key == VK_TAB || key == VK_RETURN || IsDigit(key)) {
            passOn();
        } else if (Held(VK_LCONTROL) || Held(VK_RCONTROL) || ctrl) {
            passOn();
        }
        break;
    case etFloat: case etMoney: {
        const bool money = FEditType == etMoney;
        if (!money && ((key == L',' && DS() != L',') || (key == L'.' && DS() != L'.'))) {
            finish();
            return;
        }
        if (money && key == DS() && (Has(text, DS()) || FPrecision == 0)) {
            if (FPrecision > 0) {
                if (SelLength() == Integer(text.size())) SetText(L"0,0");
                SelectAfterDecimal();
            }
            FBlockChange = false;
            finish();
            return;
        }
        const bool accepted = key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == L'-' || IsDigit(key) ||
                              key == DS() || (!money && (key == L',' || key == L'.' || key == TS()));
        if (!accepted) break;   // dropped; the tail runs
        if (!money && key == DS() && !Has(SelText(), DS()) && (Has(text, DS()) || FPrecision == 0)) {
            if (FPrecision > 0) SelectAfterDecimal();
            finish();
            return;
        }
        if ((key == DS() || (!money && key == TS())) && GroupCheckRefuses(SelStart() - P)) {
            finish();
            return;
        }
        if (DecimalsFull() && (IsDigit(key) || key == DS()) && SelLength() == 0) {
            const Integer C = SelStart() - P;
            const Integer d = Integer(text.find(DS())) + 1;
            if (IsDigit(key) && C >= d && C < Integer(text.size())) {
                SetSelLength(1);
            } else {
                finish();
                return;
            }
        }
        if (text.empty() && SelStart() - P == 0 && key == DS()) {
            SetWindowText(FPrefix + L"0" + String(1, DS()) + FSuffix);
            SetSelStart(P + 2);
            SetModified(true);
            finish();
            return;
        }
        if (key == L'-' && SelLength() == 0) {
            SignToggle(false, false);
            SetModified(true);
            finish();
            return;
        }
        passOn();
        if (money) {
            const String now = GetText();
            if (!now.empty() && now != L"-" && key != DS()) {
                if (TCustomEdit::Modified()) SetModified(true);
                Regroup();
            }
        }
        break;
    }
    case etRange: {
        const bool accepted = key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == L',' || key == L'-' ||
                              key == L';' || IsDigit(key);
        if (!accepted) break;
        SetModified(true);
        if (key == L',' || key == L'-' || key == L';') {
            const String w = WindowText() + L" ";
            const Integer s = SelStart();
            auto sep = [](Char c) { return c == L',' || c == L'-' || c == L';'; };
            if (s <= P || (s - 1 >= 0 && s - 1 < Integer(w.size()) && sep(w[size_t(s - 1)])) ||
                (s < Integer(w.size()) && sep(w[size_t(s)])))
                break;
        }
        passOn();
        break;
    }
    case etHex: case etAlphaNumeric: case etValidChars: case etInvalidChars: {
        const bool basic = key == VK_BACK || key == VK_TAB || key == VK_RETURN;
        bool ok;
        if (FEditType == etValidChars || FEditType == etInvalidChars)
            ok = key == VK_BACK || PassesCharRule(FEditType, key, FValidChars, FInvalidChars);
        else ok = basic || PassesCharRule(FEditType, key, FValidChars, FInvalidChars);
        if (ok) {
            SetModified(true);
            passOn();
        }
        break;
    }
    }

    // Tail.
    if (HandleAllocated()) {
        if (FTabOnFullLength && FLengthLimit > 0 && IntegerDigits() >= FLengthLimit && SelLength() == 0 &&
            SelStart() == FLengthLimit)
            if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_NEXTDLGCTL, 0, 0);
        if (HandleAllocated() && TCustomEdit::Modified()) SetModified(true);
        RefreshLookup();
    }
    finish();
}

// ---------------------------------------------------------------------------
// Editing keys

void TVodEdit::WMKeyDown(TMessage& M)
{
    Word key = M.CharCode();
    const bool ctrl = Held(VK_CONTROL), shift = Held(VK_SHIFT);
    const Integer P = PrefixLen();
    auto refuse = [&](bool emptyShift) {
        TShiftState st;
        if (!emptyShift) {
            if (ctrl) st.Include(ssCtrl);
            if (shift) st.Include(ssShift);
        }
        Word k = key;
        if (OnKeyDown) OnKeyDown(this, k, st);
        M.WParam = 0;
        M.Result = 0;
    };

    FGotReturn = false;
    if (!FEditorEnabled) {
        M.Result = 1;
        M.WParam = 0;
        return;
    }
    if (FLookupList && !LookupVisible() && (key == VK_UP || key == VK_DOWN)) {
        TShiftState st;
        if (ctrl) st.Include(ssCtrl);
        if (shift) st.Include(ssShift);
        Word k = key;
        KeyDown(k, st);
        M.Result = 1;
        return;
    }
    if (key == VK_RETURN) {
        FGotReturn = true;
        if (FReturnIsTab && !ctrl) {
            key = VK_TAB;
            M.WParam = VK_TAB;
            if (HandleAllocated()) PostMessage(FHandle, WM_KEYDOWN, VK_TAB, 0);
        }
    }
    if (FGotReturn && LookupVisible()) {
        TakeLookupEntry();
        return;
    }
    if ((key == VK_TAB || key == VK_RETURN) && ctrl) {
        TCustomEdit::WMKeyDown(M);
        return;
    }
    if (LookupVisible() && (key == VK_HOME || key == VK_END || key == VK_NEXT || key == VK_PRIOR)) {
        MoveLookupHighlight(key);
        M.Result = 1;
        return;
    }
    const Integer len = Integer(GetText().size());
    auto selEnd = [&]() {
        DWORD a = 0, b = 0;
        SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return Integer(b);
    };
    if (key == VK_RIGHT && !FSuffix.empty() && selEnd() >= len + P) {
        M.WParam = 0;
        M.Result = 0;
        return;
    }
    if (key == VK_DELETE && !FSuffix.empty()) {
        if (selEnd() < len + P || SelLength() > 0) SetModified(true);
        else {
            refuse(false);
            return;
        }
    }
    if (key == VK_LEFT && !FPrefix.empty() && selEnd() <= P) {
        M.WParam = 0;
        M.Result = 0;
        return;
    }
    if (key == VK_END && !FSuffix.empty()) {
        if (shift) SetSelLength(P + len - SelStart());
        else {
            SetSelStart(P + len);
            SetSelLength(0);
        }
        M.WParam = 0;
        M.Result = 0;
        return;
    }
    if (key == VK_HOME && !FPrefix.empty()) {
        if (shift) SendMessage(Handle(), EM_SETSEL, WPARAM(P + len), LPARAM(P));
        else {
            SetSelStart(P);
            SetSelLength(0);
        }
        M.WParam = 0;
        M.Result = 0;
        return;
    }
    if (key == VK_BACK && !FPrefix.empty()) {
        if (SelStart() <= P + 1) {
            refuse(true);
            return;
        }
        SetModified(true);
    }
    if (key == VK_DELETE && SelStart() >= P) {
        String after = GetText();
        const Integer from = SelStart() - P + 1;
        Delete(after, from, SelLength() > 0 ? SelLength() : 1);
        Integer digits = 0;
        for (Char c : after) {
            if (c == DS()) break;
            if (IsDigit(c)) ++digits;
        }
        if (FLengthLimit > 0 && digits > FLengthLimit) {
            refuse(false);
            return;
        }
        SetModified(true);
    }
    if ((key == VK_UP || key == VK_DOWN) && LookupVisible()) {
        MoveLookupHighlight(key);
        M.WParam = 0;
        return;
    }
    TCustomEdit::WMKeyDown(M);
    if (!HandleAllocated()) return;
    if (key == VK_DELETE && FEditType == etMoney) Regroup();
    if (!FPrefix.empty() && SelStart() < P) SetSelStart(P);
}

void TVodEdit::WMKeyUp(TMessage& M)
{
    TCustomEdit::WMKeyUp(M);
    FGotReturn = false;
}

void TVodEdit::WMSysKeyDown(TMessage& M)
{
    if (M.CharCode() == VK_MENU && HandleAllocated()) {
        SetForegroundWindow(FHandle);
        SetActiveWindow(FHandle);
        ::SetFocus(FHandle);
        DoneLookup();
    }
    TCustomEdit::WMSysKeyDown(M);
}

void TVodEdit::CMWantSpecialKey(TMessage& M)
{
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    if (FBlockDefaultHandling) {
        FBlockDefaultHandling = false;
        return;
    }
    const Word key = M.CharCode();
    if (key == VK_ESCAPE && FCanUndo && !form->KeyPreview() && FLookupList) {
        if (LookupVisible()) {
            DoneLookup();
            FBlockDefaultHandling = true;
        } else {
            SetText(FOldString);
            SelectAll();
        }
        if (FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
        SetModified(false);
        M.WParam = 0;
        M.Result = 0;
        if (Parent() && FDefaultHandling) {
            PostToParent(WM_KEYDOWN, VK_ESCAPE);
            PostToParent(WM_KEYUP, VK_ESCAPE);
        }
    }
    if (key == VK_RETURN && FDefaultHandling && !form->KeyPreview() && Parent() && Parent()->HandleAllocated() &&
        ::GetFocus() == Parent()->Handle()) {
        PostToParent(WM_KEYDOWN, VK_RETURN);
        PostToParent(WM_KEYUP, VK_RETURN);
    }
    TCustomEdit::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Focus

void TVodEdit::WMSetFocus(TMessage& M)
{
    if (Loading()) return;
    TCustomEdit::WMSetFocus(M);
    FOldString = GetText();
    // Colours, label, width and alignment.
    if (FFocusColor != clNone && ValidateValue(GetText())) {
        TControl::SetColor(FFocusColor);
        if (FIsWinXP) NudgeWidth();
    }
    if (!(FError && FShowError) && !FShowModified) {
        FFontColor = Font()->Color();
        if (!(IsURL() && FShowURL) && FFocusFontColor != clNone) Font()->SetColor(FFocusFontColor);
    }
    if (FFocusLabel && FLabel) {
        TFontStyles st = FLabel->Font()->Style();
        st.Include(fsBold);
        FLabel->Font()->SetStyle(st);
    }
    if (FFocusWidthInc > 0) SetWidth(Width() + FFocusWidthInc);
    FOldEditAlign = FEditAlign;
    if (FFocusAlign != eaDefault && FFocusAlign != FEditAlign) {
        FAlignChanging = true;
        SetEditAlign(FFocusAlign);
        FAlignChanging = false;
    }
    if ((!FEmptyText.empty() && GetText().empty()) || FFocusBorder || FFocusBorderColor != clNone) {
        if (BorderStyle() == bsNone) SetTextRect();
        Invalidate();
    }
    if (AutoSelect()) SelectAll();
}

void TVodEdit::WMKillFocus(TMessage& M)
{
    if (Loading()) return;
    const HWND to = reinterpret_cast<HWND>(M.WParam);
    const bool toPopup = FLookupList && FLookupList->HandleAllocated() &&
                         (to == FLookupList->Handle() ||
                          (FLookupListBox && FLookupListBox->HandleAllocated() && to == FLookupListBox->Handle()));
    if (!toPopup) DoneLookup();
    if (!FError && FColor != FNormalColor) {
        TControl::SetColor(FNormalColor);
        if (FIsWinXP) NudgeWidth();
    }
    if (!(FError && FShowError) && !FShowModified && !(FIsUrl && FShowURL)) Font()->SetColor(FFontColor);
    if (FLabel) {
        TFontStyles st = FLabel->Font()->Style();
        if (st.Contains(fsBold) && FFocusLabel) {
            st.Exclude(fsBold);
            FLabel->Font()->SetStyle(st);
        }
    }

    const String t = GetText();
    if (FPrecision > 0 && (FEditType == etFloat || FEditType == etMoney) && (!t.empty() || !FAllowNumericNullValue)) {
        const bool keep = FIsModified;
        SetFloatValue(FloatValue());
        SetModified(keep);
    }
    if (FEditType == etNumeric && GetText().empty() && !FAllowNumericNullValue) SetText(L"0");
    if ((FEditType == etFloat || FEditType == etMoney) && GetText().empty() && !FAllowNumericNullValue)
        SetFloatValue(0);
    if (FEditType == etNumeric && (FMinValue != 0 || FMaxValue != 0)) {
        Integer n = 0;
        const String now = GetText();
        if (!(FAllowNumericNullValue && now.empty())) n = StrToIntDef(now, 0);
        if (n < FMinValue) SetText(IntToStr(FMinValue));
        else if (n > FMaxValue) SetText(IntToStr(FMaxValue));
    }
    const bool valid = ValidateValue(GetText());
    TCustomEdit::WMKillFocus(M);
    if (!valid) M.Result = 0;
    if (!HandleAllocated()) return;
    if (FFocusBorder) NudgeWidth();
    if (FFocusWidthInc > 0) SetWidth(Width() - FFocusWidthInc);
    if (FFocusAlign != eaDefault && FOldEditAlign != FEditAlign) {
        FAlignChanging = true;
        SetEditAlign(FOldEditAlign);
        FAlignChanging = false;
    }
    if (!FEmptyText.empty() && GetText().empty()) Invalidate();
    if (FFocusBorderColor != clNone || FBorderColor != clNone) SendMessage(FHandle, WM_NCPAINT, 0, 0);
    if (FErrorMarkerLen > 0) Invalidate();
    AddToLookupHistory();
}

// ---------------------------------------------------------------------------
// Change notification

void TVodEdit::CNCommand(TMessage& M)
{
    if (HIWORD(M.WParam) == EN_CHANGE) {
        if (FBlockChange) {
            FBlockChange = false;
            ++FSwallowedChanges;
            return;
        }
        if (FTransparent) Invalidate();
        if (FShowURL) SetURLLook(IsURL());
    }
    TCustomEdit::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Clipboard

void TVodEdit::WMCopy(TMessage& M)
{
    bool allow = true;
    if (OnClipboardCopy && !FBlockCopy) OnClipboardCopy(this, Copy(GetText(), SelStart() - PrefixLen() + 1, SelLength()), allow);
    FBlockCopy = false;
    if (allow) DefaultHandler(M);
}

void TVodEdit::WMCut(TMessage& M)
{
    FBlockCopy = true;
    bool allow = true;
    if (OnClipboardCut) OnClipboardCut(this, Copy(GetText(), SelStart() - PrefixLen() + 1, SelLength()), allow);
    if (allow) DefaultHandler(M);
    FBlockCopy = false;
    Change();
}

void TVodEdit::WMPaste(TMessage& M)
{
    (void)M;
    if (ReadOnly()) return;
    String clip;
    bool haveText = false;
    // The Unicode text first; the 8-bit one only without it.
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT))
        haveText = GetClipboardText(clip);
    if (haveText) {
        bool allow = true;
        String T = clip;
        if (size_t cr = T.find(L'\r'); cr != String::npos) T.erase(cr);
        if (size_t lf = T.find(L'\n'); lf != String::npos) T.erase(lf);
        const Integer P = PrefixLen();
        const String cur = GetText();
        const Integer ss = std::clamp(SelStart() - P, 0, Integer(cur.size()));
        const Integer sl = std::clamp(SelLength(), 0, Integer(cur.size()) - ss);
        String N = cur.substr(0, size_t(ss)) + T + cur.substr(size_t(ss + sl));
        const Integer showStart = sl > 0 ? SelStart() : SelStart() + Integer(T.size());
        const Integer showLen = sl > 0 ? Integer(T.size()) : 0;
        if (OnClipboardPaste) OnClipboardPaste(this, N, allow);
        if (OnClipboardCanPaste) OnClipboardCanPaste(this, N, allow);
        if (!allow) return;
        if (MaxLength() > 0 && Integer(N.size()) > MaxLength()) N.resize(size_t(MaxLength()));
        const TNumberKind k = EditNumberKind(N);
        switch (FEditType) {
        case etString: case etPassword: SetText(N); break;
        case etNumeric:
            if (k == TNumberKind::Integer && (FSigned || !Has(N, L'-'))) SetText(N);
            break;
        case etFloat: case etMoney: {
            N = Trim(N);
            const TNumberKind k2 = EditNumberKind(N);
            if ((k2 == TNumberKind::Integer || k2 == TNumberKind::Decimal) && (FPrecision > 0 || !Has(clip, DS())) &&
                (FSigned || !Has(N, L'-'))) {
                SetText(N);
                SetFloatValue(FloatValue());
            }
            break;
        }
        case etUppercase: SetText(AnsiUpperCase(N)); break;
        case etLowerCase: SetText(AnsiLowerCase(N)); break;
        case etMixedCase: SetText(EditMixedCase(N)); break;
        case etHex:
            if (k == TNumberKind::Integer || k == TNumberKind::Hex) SetText(N);
            break;
        case etAlphaNumeric: case etValidChars: case etInvalidChars: {
            bool ok = true;
            for (Char c : N) ok = ok && PassesCharRule(FEditType, c, FValidChars, FInvalidChars);
            if (ok) SetText(N);
            break;
        }
        case etRange: break;
        }
        if (FEditType == etMoney && GetText().size() > 3) {
            SelectAll();
        } else if (HandleAllocated()) {
            SendMessage(FHandle, EM_SETSEL, WPARAM(showStart), LPARAM(showStart + showLen));
        }
    }
    RefreshLookup();
    if (FTabOnFullLength && FLengthLimit > 0 && Integer(GetText().size()) == FLengthLimit && Parent() &&
        Parent()->HandleAllocated()) {
        if (HWND next = GetNextDlgTabItem(Parent()->Handle(), FHandle, FALSE))
            if (TWinControl* c = FindControl(next)) c->SetFocus();
    }
}
