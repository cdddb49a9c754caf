// The drop-down edit's typed input: the character filter per edit type,
// the caret limits around Prefix and Suffix, the keys that open and close
// the window, Enter and Esc towards the parent, the mouse selection rules
// and the clipboard.
#include <algorithm>

#include "controls/dropdown/VodDropDown.h"
#include "controls/foundation/VodUtil.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Unicode.h"
#include "platform/ui/Clipbrd.h"
#include "platform/base/ComObj.h"

namespace {
Char DS() { return FormatSettings.DecimalSeparator; }
Char TS() { return FormatSettings.ThousandSeparator; }
bool IsDigitKey(Char c) { return c >= L'0' && c <= L'9'; }
bool Held(int vk) { return GetKeyState(vk) < 0; }
bool IsLetterOrDigit(Char c)
{
    return IsDigitKey(c) || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
}  // namespace

TCustomForm* TVodCustomDropDown::ParentFormOf() { return GetParentForm(this); }

// ---------------------------------------------------------------------------
// Characters

void TVodCustomDropDown::WMChar(TMessage& M)
{
    if (!FEditorEnabled) {
        M.Result = 0;
        return;
    }
    Char key = Char(M.WParam);
    const bool ctrl = Held(VK_CONTROL);
    const String value = GetText();
    const Integer plen = Integer(FPrefix.size());
    const Integer vlen = Integer(value.size());
    const Integer selStart = SelStartRaw();
    const Integer selLen = SelLengthRaw();
    const Integer caret = selStart - plen;  // in the value
    TCustomForm* form = ParentFormOf();

    auto pass = [&](Char c) {
        M.WParam = WPARAM(c);
        TCustomMaskEdit::WMChar(M);
        if (RawModified()) SetEditModified(true);
    };
    bool blockSet = false;
    auto drop = [&] {
        // A character that never reaches the edit changes nothing, so the
        // next real change must not be swallowed in its place.
        if (blockSet) FBlockChange = false;
        M.Result = 0;
    };
    // Rewrites keep the Prefix: Prefix + value + Suffix.
    auto rewrite = [&](const String& v, Integer caretInValue) {
        SetEditText(FPrefix + v + FSuffix);
        Integer p = plen + std::clamp(caretInValue, 0, Integer(v.size()));
        SetSelRaw(p, p);
        SetEditModified(true);
    };
    auto toggleSign = [&] {
        SmallInt saved = FPrecision;
        FPrecision = 0;
        if (!value.empty() && value[0] == L'-')
            rewrite(value.substr(1), std::max(0, caret - 1));
        else
            rewrite(L"-" + value, caret + 1);
        FPrecision = saved;
    };

    // 1. Typing over the whole value: the replacement's first change is swallowed.
    if (!ctrl && selLen > 0 && selStart <= plen && selStart + selLen >= plen + vlen && !value.empty()) {
        FBlockChange = true;
        blockSet = true;
    }
    // 2. Ctrl+Enter.
    if (key == VK_RETURN && ctrl) {
        drop();
        M.Result = 1;
        return;
    }
    // 3. Enter.
    if (key == VK_RETURN) {
        if (OnKeyPress) {
            wchar_t k = L'\r';
            OnKeyPress(this, k);
        }
        if (blockSet) FBlockChange = false;
        if (!FDefaultHandling && Parent() && Parent()->HandleAllocated()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            if (form && form->KeyPreview()) {
                M.WParam = 0;
                TCustomMaskEdit::WMChar(M);
            } else {
                PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
            }
        }
        M.Result = 0;
        return;
    }
    // 4, 5. Esc.
    if (key == VK_ESCAPE) {
        if (!FDefaultHandling && Parent() && Parent()->HandleAllocated()) {
            if (form && form->KeyPreview()) {
                TCustomMaskEdit::WMChar(M);
                return;
            }
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
        if (!FCanUndo) {
            TCustomMaskEdit::WMChar(M);
            return;
        }
    }
    // 6. The clipboard keys go through the clipboard messages, so the
    // filters of cut, copy and paste apply to them as well.
    if (key == 0x03 || key == 0x16 || key == 0x18) {
        if (blockSet) FBlockChange = false;
        Perform(key == 0x03 ? WM_COPY : key == 0x16 ? WM_PASTE : WM_CUT);
        M.Result = 0;
        return;
    }
    // 7. The keypad's decimal key types the locale's separator.
    if (FExcelStyleDecimalSeparator && (key == L'.' || key == L',') && (M.KeyData() & (1 << 22))) key = DS();
    // 8. Backspace into the Prefix.
    if (key == VK_BACK && plen > 0 && selStart <= plen && selLen == 0) {
        drop();
        return;
    }
    // 9. The integer digits are at their limit.
    if (FLengthLimit > 0 && selLen == 0 && IntegerDigitCount(value) >= FLengthLimit) {
        size_t d = value.find(DS());
        bool beforeDecimal = d == String::npos || caret <= Integer(d);
        bool allowedMinus = key == L'-' && FSigned;
        if (beforeDecimal && key != VK_BACK && key != DS() && !allowedMinus) {
            drop();
            return;
        }
    }
    // 10. Backspace.
    if (key == VK_BACK) {
        String rest = value;
        if (selLen > 0) {
            Integer a = std::clamp(caret, 0, vlen), b = std::clamp(caret + selLen, 0, vlen);
            rest.erase(size_t(a), size_t(b - a));
        } else if (caret > 0 && caret <= vlen) {
            rest.erase(size_t(caret - 1), 1);
        }
        pass(key);
        if (GetText().empty() && !rest.empty()) Change();
        return;
    }
    // 11.
    if (key == 0x0A && ctrl) {
        drop();
        return;
    }
    if (key == L'-' && IsNumericType() && !FSigned) {
        drop();
        return;
    }

    const bool control = key == VK_BACK || key == VK_TAB || key == VK_RETURN;
    auto floatChecks = [&]() -> bool {  // true: the character goes on
        const size_t dpos = value.find(DS());
        const String selText = selLen > 0 ? value.substr(size_t(std::clamp(caret, 0, vlen)),
                                                         size_t(std::clamp(selLen, 0, vlen)))
                                          : String();
        const bool selHasDS = selText.find(DS()) != String::npos;
        // (a)
        if (key == DS() && ((!selHasDS && dpos != String::npos) || FPrecision == 0)) {
            if (FPrecision > 0) {
                if (FEditType == etMoney && selLen >= vlen && vlen > 0) {
                    SetEditText(FPrefix + L"0" + String(1, DS()) + L"0" + FSuffix);
                    SetSelRaw(plen + 2, plen + 2);
                } else if (dpos != String::npos) {
                    SetSelRaw(plen + Integer(dpos) + 1, plen + Integer(dpos) + 1);
                }
            }
            return false;
        }
        // (b)
        if (key == L',' && value.find(L',') != String::npos && selText.find(L',') == String::npos && TS() != L',')
            return false;
        // (c) separators only at exactly three digits' distance
        if ((key == TS() || key == DS()) && value.find(TS()) != String::npos) {
            Integer best = 1 << 30;
            for (Integer i = 0; i < vlen; ++i)
                if (value[size_t(i)] == TS()) best = std::min(best, i < caret ? caret - i - 1 : i - caret);
            if (best <= 2 || best > 3) return false;
        }
        // (d) the decimals are full
        if (FPrecision > 0 && dpos != String::npos && selLen == 0 && caret > Integer(dpos) &&
            vlen - Integer(dpos) - 1 >= FPrecision) {
            if (IsDigitKey(key)) {
                if (caret < vlen) {
                    SetSelRaw(plen + caret, plen + caret + 1);
                    return true;
                }
                return false;
            }
            if (key == DS()) return false;
        }
        // (e)
        if (caret == 0 && value.empty() && key == DS()) {
            rewrite(String(L"0") + DS(), 2);
            return false;
        }
        // (f)
        if (key == L'-' && selLen == 0) {
            toggleSign();
            return false;
        }
        return true;
    };

    switch (FEditType) {
    case etString: case etPassword: pass(key); return;
    case etNumeric:
        if (!(control || key == L'-' || IsDigitKey(key)) && !ctrl) break;
        if (key == L'-') {
            if (selLen > 0 && selStart <= plen && selStart + selLen >= plen + vlen) {
                rewrite(L"-", 1);
            } else {
                toggleSign();
            }
            if (blockSet) FBlockChange = false;
            M.Result = 0;
            return;
        }
        pass(key);
        return;
    case etFloat:
        if (!(control || key == L',' || key == L'-' || key == L'.' || IsDigitKey(key))) break;
        if ((key == L',' || key == L'.') && key != DS() && key != TS()) break;
        if (!floatChecks()) break;
        pass(key);
        return;
    case etUppercase: pass(AnsiUpperCase(String(1, key))[0]); return;
    case etLowerCase: pass(AnsiLowerCase(String(1, key))[0]); return;
    case etMixedCase: {
        pass(key);
        Integer after = SelStartRaw();
        SetEditText(FPrefix + CapitalizeWords(GetText()) + FSuffix);
        SetSelRaw(after, after);
        (void)selStart;
        return;
    }
    case etMoney: {
        if (!(control || key == L'-' || IsDigitKey(key) || key == DS())) break;
        if (!floatChecks()) break;
        pass(key);
        String now = GetText();
        if (!now.empty() && now != L"-") {
            if (key == DS()) return;
            if (RawModified()) SetEditModified(true);
            ApplyMoneyFormat();
        }
        return;
    }
    case etRange: {
        if (!(control || key == L',' || key == L'-' || IsDigitKey(key) || key == L';')) break;
        SetEditModified(true);
        if (key == L',' || key == L'-' || key == L';') {
            auto sep = [](Char c) { return c == L',' || c == L'-' || c == L';'; };
            const String whole = EditText();
            bool before = selStart > 0 && selStart <= Integer(whole.size()) && sep(whole[size_t(selStart - 1)]);
            bool after = selStart < Integer(whole.size()) && sep(whole[size_t(selStart)]);
            if (selStart < plen || before || after) break;
        }
        pass(key);
        return;
    }
    case etHex:
        if (!(control || key == L'-' || IsDigitKey(key) || (key >= L'A' && key <= L'F') ||
              (key >= L'a' && key <= L'f')))
            break;
        SetEditModified(true);
        pass(key);
        return;
    case etAlphaNumeric:
        if (!(control || IsLetterOrDigit(key))) break;
        SetEditModified(true);
        pass(key);
        return;
    case etValidChars:
        if (!(key == VK_BACK || FValidChars.find(key) != String::npos)) break;
        SetEditModified(true);
        pass(key);
        return;
    }
    drop();
}

void TVodCustomDropDown::KeyPress(wchar_t& Key)
{
    TCustomMaskEdit::KeyPress(Key);
    if (Key == L'\r') Key = 0;
}

// ---------------------------------------------------------------------------
// Keys

void TVodCustomDropDown::WMKeyDown(TMessage& M)
{
    if (ComponentState().Contains(csDesigning)) {
        TCustomMaskEdit::WMKeyDown(M);
        return;
    }
    Word key = M.CharCode();
    if (Held(VK_MENU) && (key == VK_UP || key == VK_DOWN)) {
        ToggleDropDown();
        return;
    }
    if (!FEditorEnabled) {
        if (!ReadOnly()) {
            if (key == VK_RETURN && FDroppedDown) DoHideDropDown(false);
            else if (key == VK_ESCAPE && FDroppedDown) DoHideDropDown(true);
            else if (key == VK_F4) ToggleDropDown();
        }
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::WMKeyDown(M);
        return;
    }
    const bool ctrl = Held(VK_CONTROL), shift = Held(VK_SHIFT);
    if (ctrl && key == 'A') {
        SelectAll();
        return;
    }
    if (ctrl && (key == VK_TAB || key == VK_RETURN)) {
        TCustomMaskEdit::WMKeyDown(M);
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        if (Visible() && HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    const Integer plen = Integer(FPrefix.size());
    const String value = GetText();
    const Integer vend = plen + Integer(value.size());  // the end of the value in the edit
    const Integer selStart = SelStartRaw(), selLen = SelLengthRaw(), selEnd = selStart + selLen;
    if (!FSuffix.empty()) {
        if (key == VK_RIGHT && selEnd >= vend) return;
        if (key == VK_DELETE) {
            if (selEnd >= vend && selLen == 0) return;
            SetEditModified(true);
        }
        if (key == VK_END) {
            if (shift)
                SetSelRaw(selStart, vend);
            else
                SetSelRaw(vend, vend);
            return;
        }
    }
    if (!FPrefix.empty()) {
        if (key == VK_LEFT && selEnd <= plen) return;
        if (key == VK_HOME) {
            if (shift)
                SetSelRaw(vend, plen);
            else
                SetSelRaw(plen, plen);
            return;
        }
        if (key == VK_BACK) {
            if (selStart <= plen && selLen == 0) return;
            SetEditModified(true);
        }
    }
    if (key == VK_DELETE && selStart >= plen) {
        String rest = value;
        Integer a = std::clamp(selStart - plen, 0, Integer(rest.size()));
        Integer n = selLen > 0 ? selLen : 1;
        rest.erase(size_t(a), size_t(std::min(n, Integer(rest.size()) - a)));
        if (FLengthLimit > 0 && IntegerDigitCount(rest) > FLengthLimit) return;
        SetEditModified(true);
    }
    TCustomMaskEdit::WMKeyDown(M);
    if (FEditType == etMoney && key == VK_DELETE) ApplyMoneyFormat();
    if (plen > 0) {
        Integer s = SelStartRaw(), l = SelLengthRaw();
        if (s < plen) SetSelRaw(plen, std::max(s + l, plen));
    }
    if (key == VK_RETURN && FDroppedDown) DoHideDropDown(false);
    else if (key == VK_ESCAPE && FDroppedDown) DoHideDropDown(true);
    else if (key == VK_F4) ToggleDropDown();
}

void TVodCustomDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    // Alt+Up and Alt+Down typed in the edit come as system keys.
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN) && !ComponentState().Contains(csDesigning)) {
        ToggleDropDown();
        Key = 0;
    }
}

void TVodCustomDropDown::CMWantSpecialKey(TMessage& M)
{
    Word key = Word(M.WParam);
    if (TCustomForm* form = ParentFormOf()) {
        if (key == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
            SelectAll();
            SetEditModified(false);
            M.Result = 1;
            return;
        }
        if (key == VK_ESCAPE && FDefaultHandling && Parent() && Parent()->HandleAllocated()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
        if (key == VK_RETURN && FDefaultHandling && !form->KeyPreview() && Parent() && Parent()->HandleAllocated() &&
            Parent()->Focused()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
    }
    TCustomMaskEdit::Dispatch(M);
    if (key == VK_ESCAPE && FDroppedDown) M.Result = 1;
}

// ---------------------------------------------------------------------------
// Mouse

void TVodCustomDropDown::WMLButtonDownDropDown(TMessage& M)
{
    if (!FEditorEnabled) {
        TCustomMaskEdit::Dispatch(M);
        if (FDropDownEnabled) OpenFromButton();
        return;
    }
    if (Focused() && SelLengthRaw() > 0 && HandleAllocated()) {
        LRESULT r = SendMessage(Handle(), EM_CHARFROMPOS, 0, M.LParam);
        Integer pos = Integer(LOWORD(r));
        Integer s = SelStartRaw(), e = s + SelLengthRaw();
        if (pos >= s && pos < e) {
            FButtonDown = true;
            FButtonDownPos = pos;
            return;
        }
    }
    TCustomMaskEdit::Dispatch(M);
}

void TVodCustomDropDown::WMLButtonUpDropDown(TMessage& M)
{
    TCustomMaskEdit::Dispatch(M);
    if (FButtonDown) {
        FButtonDown = false;
        SetSelRaw(FButtonDownPos, FButtonDownPos);
    }
    if (!FEditorEnabled || ReadOnly()) DrawFocusedText();
    const Integer plen = Integer(FPrefix.size());
    Integer s = SelStartRaw(), e = s + SelLengthRaw();
    if (plen > 0 && s < plen) SetSelRaw(plen, std::max(e, plen + Integer(GetText().size())));
    if (!FSuffix.empty()) {
        Integer vend = plen + Integer(GetText().size());
        s = SelStartRaw();
        e = s + SelLengthRaw();
        if (e > vend) SetSelRaw(std::min(s, vend), vend);
    }
}

// ---------------------------------------------------------------------------
// Clipboard

void TVodCustomDropDown::WMCut(TMessage& M)
{
    if (!FEditorEnabled || ReadOnly()) return;
    bool allow = true;
    String sel = SelText();
    if (OnClipboardCut) OnClipboardCut(this, sel, allow);
    if (!allow) return;
    FBlockCopy = true;
    TCustomMaskEdit::Dispatch(M);
    FBlockCopy = false;
}

void TVodCustomDropDown::WMCopy(TMessage& M)
{
    if (!FBlockCopy) {
        bool allow = true;
        String sel = SelText();
        if (OnClipboardCopy) OnClipboardCopy(this, sel, allow);
        if (!allow) return;
    }
    TCustomMaskEdit::Dispatch(M);
}

void TVodCustomDropDown::WMPaste(TMessage& M)
{
    (void)M;
    if (ReadOnly() || !Clipboard()->HasFormat(CF_TEXT)) return;
    const String clip = Clipboard()->AsText();
    const String whole = EditText();
    const Integer s = SelStartRaw(), l = SelLengthRaw();
    // The value the paste would give, and where the caret would stand.
    String newWhole = whole;
    newWhole.replace(size_t(std::clamp(s, 0, Integer(whole.size()))), size_t(std::max(0, l)), clip);
    String newValue = newWhole;
    if (!FPrefix.empty() && newValue.compare(0, FPrefix.size(), FPrefix) == 0) newValue.erase(0, FPrefix.size());
    if (!FSuffix.empty()) newValue.erase(newValue.size() - std::min(newValue.size(), FSuffix.size()));
    Integer newCaret = s + Integer(clip.size());

    bool allow = true;
    if (OnClipboardPaste) OnClipboardPaste(this, newValue, allow);
    if (!allow) return;
    if (MaxLength() > 0 && Integer(newWhole.size()) > MaxLength()) return;

    auto take = [&](const String& v) { SetEditText(FPrefix + v + FSuffix); };
    bool took = false;
    Integer kind = ClassifyNumberText(newValue);
    switch (FEditType) {
    case etString: case etPassword: take(newValue); took = true; break;
    case etNumeric:
        if (kind == NUMERIC_INT && (FSigned || newValue.find(L'-') == String::npos)) {
            take(newValue);
            took = true;
        }
        break;
    case etFloat: case etMoney:
        if ((kind == NUMERIC_INT || kind == NUMERIC_FLOAT) &&
            !(FPrecision == 0 && clip.find(DS()) != String::npos) &&
            (FSigned || newValue.find(L'-') == String::npos)) {
            take(newValue);
            SetFloatValue(GetFloatValue());
            took = true;
        }
        break;
    case etUppercase: take(AnsiUpperCase(newValue)); took = true; break;
    case etLowerCase: take(AnsiLowerCase(newValue)); took = true; break;
    case etMixedCase: take(CapitalizeWords(newValue)); took = true; break;
    case etAlphaNumeric:
        if (std::all_of(newValue.begin(), newValue.end(), IsLetterOrDigit)) {
            take(newValue);
            took = true;
        }
        break;
    case etValidChars:
        if (std::all_of(newValue.begin(), newValue.end(),
                        [this](Char c) { return FValidChars.find(c) != String::npos; })) {
            take(newValue);
            took = true;
        }
        break;
    case etRange: case etHex: break;
    }
    if (FEditType == etMoney) {
        if (GetText().size() > 3) SelectAll();
    } else if (l > 0) {
        SetSelRaw(s, s + Integer(clip.size()));
    } else {
        SetSelRaw(newCaret, newCaret);
    }
    if (took && (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase ||
                 FEditType == etLowerCase || FEditType == etPassword))
        SetEditModified(true);
}
