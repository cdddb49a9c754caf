#include "controls/dropdown/TimePickerDropDown.h"

#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Windows.h"

namespace {
Char Sep() { return FormatSettings.TimeSeparator; }
bool Held(int vk) { return GetKeyState(vk) < 0; }
String TwoDigits(Word v)
{
    String s = IntToStr(v);
    return s.size() < 2 ? L"0" + s : s;
}
// Each part is empty (0) or starts with one or two digits.
bool IsDigitPair(const String& s)
{
    if (s.empty()) return true;
    if (!(s[0] >= L'0' && s[0] <= L'9')) return false;
    return s.size() < 2 || (s[1] >= L'0' && s[1] <= L'9');
}
Integer PartValue(const String& s)
{
    if (s.empty()) return 0;
    Integer v = s[0] - L'0';
    if (s.size() >= 2) v = v * 10 + (s[1] - L'0');
    return v;
}
}  // namespace

TVodTimePickerDropDown::TVodTimePickerDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner),
      FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>())
{
    FShowTimePicker = false;
    SetEditorEnabled(false);
    FDropDownEnabled = true;
    FShowSeconds = true;
    FInternalCall = true;
    UpdateTimeMask();
    SetEditText(L"00" + String(1, Sep()) + L"00" + String(1, Sep()) + L"00");
    FInternalCall = false;
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
}

TVodTimePickerDropDown::~TVodTimePickerDropDown() = default;

String TVodTimePickerDropDown::FormatTime(Word H, Word M, Word S) const
{
    String t = TwoDigits(H) + Sep() + TwoDigits(M);
    if (FShowSeconds) t += Sep() + TwoDigits(S);
    return t;
}

void TVodTimePickerDropDown::UpdateTimeMask()
{
    const String sep(1, Sep());
    SetEditMask(FShowSeconds ? L"!90" + sep + L"00" + sep + L"00;1; " : L"!90" + sep + L"00;1; ");
}

void TVodTimePickerDropDown::SetEditTextGuarded(const String& S)
{
    const bool was = FInternalCall;
    FInternalCall = true;
    SetEditText(S);
    FInternalCall = was;
}

void TVodTimePickerDropDown::SetTime(TDateTime v)
{
    if (v == FTime) return;
    if (FEditorEnabled && v != 0 && EditMask().empty()) {
        FInternalCall = true;
        UpdateTimeMask();
        FInternalCall = false;
    }
    FTime = v;
    Word h, m, s, ms;
    DecodeTime(v, h, m, s, ms);
    SetEditTextGuarded(FormatTime(h, m, s));
    if (FDroppedDown && FVodWatch) {
        auto saved = FVodWatch->OnChange;
        FVodWatch->OnChange = nullptr;
        FVodWatch->SetTime(v);
        FVodWatch->OnChange = saved;
        if (FShowTimePicker && FDateTimePicker) {
            auto ps = FDateTimePicker->OnChange;
            FDateTimePicker->OnChange = nullptr;
            FDateTimePicker->SetTime(v);
            FDateTimePicker->OnChange = ps;
        }
    }
}

void TVodTimePickerDropDown::SetShowSeconds(bool v)
{
    if (FShowSeconds == v) return;
    FShowSeconds = v;
    FInternalCall = true;
    SetEditMask(L"");
    SetEditText(L"");
    UpdateTimeMask();
    FInternalCall = false;
    const TDateTime t = FTime;
    FTime = t + 1;  // so the write is not skipped as unchanged
    SetTime(t);
}

void TVodTimePickerDropDown::SetText(const String& Value)
{
    FInternalCall = true;
    if (!Value.empty())
        UpdateTimeMask();
    else
        SetEditMask(L"");
    FInternalCall = false;
    TVodCustomDropDown::SetText(Value);
}

void TVodTimePickerDropDown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    ApplyWatchComponentStyle(*FWatchAppearance, AStyle);
}

bool TVodTimePickerDropDown::TextTime(TDateTime& t)
{
    const String s = Trim(GetText());
    if (s.empty()) {
        t = 0;
        return true;
    }
    return TryStrToTime(s, t);
}

// ---------------------------------------------------------------------------
// Keys in the edit

void TVodTimePickerDropDown::SetHourPart(Integer v)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (v == h || v < 0 || v > 23) return;
    SetTime(EncodeTime(Word(v), m, s, 0));
    if (OnTimeChange) OnTimeChange(this);
}

void TVodTimePickerDropDown::SetMinutePart(Integer v)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (v == m || v < 0 || v >= 60) return;
    SetTime(EncodeTime(h, Word(v), s, 0));
    if (OnTimeChange) OnTimeChange(this);
}

void TVodTimePickerDropDown::SetSecondPart(Integer v)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (v == s || v < 0 || v >= 60) return;
    SetTime(EncodeTime(h, m, Word(v), 0));
    if (OnTimeChange) OnTimeChange(this);
}

void TVodTimePickerDropDown::StepField(Word Key)
{
    const String text = EditText();
    const Integer caret = SelStartRaw();
    const Integer p1 = Integer(text.find(Sep())) + 1;  // 0: none
    const String rest = p1 > 0 ? text.substr(size_t(p1)) : String();
    const Integer p2 = Integer(rest.find(Sep())) + 1;
    // Down raises the field and Up lowers it, with no carry.
    const Integer d = Key == VK_DOWN ? 1 : -1;
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (p1 <= 0 || caret < p1)
        SetHourPart((h + d + 24) % 24);
    else if (FShowSeconds && p2 > 0 && caret - p1 >= p2)
        SetSecondPart((s + d + 60) % 60);
    else
        SetMinutePart((m + d + 60) % 60);
    SetSelRaw(caret, caret);
}

void TVodTimePickerDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    TVodCustomDropDown::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl)) {
        StepField(Key);
        FArrowDone = true;
        Key = 0;
    }
}

void TVodTimePickerDropDown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    FArrowDone = false;
    TVodCustomDropDown::WMKeyDown(M);
    // The edit takes no typing, so the base leaves the arrows to this.
    if (!FArrowDone && (key == VK_UP || key == VK_DOWN) && !Held(VK_MENU) && !Held(VK_CONTROL)) StepField(key);
    FArrowDone = false;
}

void TVodTimePickerDropDown::Change()
{
    TVodCustomDropDown::Change();
    const String text = EditText();
    if (text.empty() || FInternalCall) return;
    const Integer seps = Integer(std::count(text.begin(), text.end(), Sep()));
    if (seps != (FShowSeconds ? 2 : 1)) return;
    String t = text;
    std::replace(t.begin(), t.end(), L' ', L'0');
    const size_t a = t.find(Sep());
    const String hp = Trim(t.substr(0, a));
    String mp, sp;
    if (FShowSeconds) {
        const size_t b = t.find(Sep(), a + 1);
        mp = Trim(t.substr(a + 1, b - a - 1));
        sp = Trim(t.substr(b + 1));
    } else {
        mp = Trim(t.substr(a + 1));
    }
    if (!IsDigitPair(hp) || !IsDigitPair(mp) || !IsDigitPair(sp)) return;
    const Integer h = PartValue(hp), m = PartValue(mp), s = PartValue(sp);
    TDateTime v = 0;
    // A time out of range leaves Time as it was.
    if (!TryEncodeTime(Word(h), Word(m), Word(s), 0, v)) return;
    FTime = v;
    const String f = FormatTime(Word(h), Word(m), Word(s));
    if (f != text && m == 0 && s == 0) SetEditTextGuarded(f);
}

void TVodTimePickerDropDown::DoExit()
{
    TDateTime t = 0;
    if (TextTime(t)) {
        SetTime(t);
    } else {
        // A text that is no time shows Time again.
        Word h, m, s, ms;
        DecodeTime(FTime, h, m, s, ms);
        SetEditTextGuarded(FormatTime(h, m, s));
    }
    TVodCustomDropDown::DoExit();
    FInternalCall = false;
    Change();
}

// ---------------------------------------------------------------------------
// The window

void TVodTimePickerDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (!FDropDownForm) return;
    if (!FPanelCtrl) {
        FPanelCtrl = new TPanel(this);
        FPanelCtrl->SetBevelOuter(bvNone);
        FPanelCtrl->SetBevelInner(bvNone);
        FPanelCtrl->SetBorderWidth(0);
        FPanelCtrl->SetParent(FDropDownForm);
        FPanelCtrl->SetBounds(0, 0, 170, 180);
    }
    if (!FVodWatch) {
        FVodWatch = new TVodWatch(this);
        FVodWatch->SetParent(FPanelCtrl);
        FVodWatch->SetAlign(alClient);
        // The clock takes the window's keys (it asks for arrows and all keys).
        FVodWatch->SetTabStop(true);
        FVodWatch->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
        FVodWatch->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
        FVodWatch->OnKeyPress = [this](TObject*, wchar_t& Key) { FormKeyPress(Key); };
    }
    SetControl(FPanelCtrl);
    SetFocusControl(FVodWatch);
}

void TVodTimePickerDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    if (!FPanelCtrl || !FVodWatch) return;
    FOpenTime = FTime;
    FOldText = GetText();
    // Sized afresh each time: the window then takes the panel's size.
    FPanelCtrl->SetAlign(alNone);
    FPanelCtrl->SetBounds(FPanelCtrl->Left(), FPanelCtrl->Top(), 170, 170);
    FDropDownForm->SetWidth(FDropDownForm->Width() + 1);
    FDropDownForm->SetWidth(FDropDownForm->Width() - 1);
    FDropDownForm->SetCancelOnDeActivate(false);
    FPanelCtrl->SetColor(FDropDownColor);
    FVodWatch->SetAppearance(FWatchAppearance.get());
    FVodWatch->SetSettings(FWatchSettings.get());
    FVodWatch->SetShowAMPM(FShowWatchAMPM);
    FVodWatch->SetShowNumbers(FShowWatchNumbers);
    FVodWatch->SetAnimation(FAnimation);
    FVodWatch->SetAnimationFactor(FAnimationFactor);
    FVodWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto()) FVodWatch->SetTime(FTime);
    // The text wins over Time; a text that is no time leaves the clock at Time.
    TDateTime t = 0;
    if (TextTime(t)) FVodWatch->SetTime(t);
    FVodWatch->OnChange = [this](TObject*) { WatchChanged(); };
    if (FShowTimePicker) {
        if (!FDateTimePicker) {
            FDateTimePicker = new TDateTimePicker(this);
            FDateTimePicker->SetKind(dtkTime);
            FDateTimePicker->SetParent(FPanelCtrl);
        }
        FDateTimePicker->SetAlign(alBottom);
        FDateTimePicker->SetVisible(true);
        FDateTimePicker->BringToFront();
        FDateTimePicker->OnChange = nullptr;
        FDateTimePicker->SetTime(FVodWatch->Time());
        FDateTimePicker->OnChange = [this](TObject*) { PickerChange(); };
        FDateTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
            TVodCustomDropDown::ControlKeyDown(Key, Shift);
        };
        FDateTimePicker->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) {
            TVodCustomDropDown::ControlKeyUp(Key, Shift);
        };
        FDateTimePicker->OnKeyPress = [this](TObject*, wchar_t& Key) { ControlKeyPress(Key); };
        FDateTimePicker->SetFormat(FShowSeconds ? L"HH:mm:ss" : L"HH:mm");
        FPanelCtrl->SetHeight(FDateTimePicker->Height() + 170);
    } else if (FDateTimePicker) {
        FDateTimePicker->SetVisible(false);
    }
}

void TVodTimePickerDropDown::AdjustDropDownSize(Integer& Height)
{
    // The panel grows with the platform picker; a remembered window height
    // must not cut it.
    if (!FPanelCtrl) return;
    Integer h = FPanelCtrl->Height() + 2 * std::max(FDropDownBorderWidth, 0);
    if (FDropDownHeader->Visible()) h += FDropDownHeader->Height();
    if (FDropDownFooter->Visible()) h += FDropDownFooter->Height();
    Height = h;
}

void TVodTimePickerDropDown::WatchChanged()
{
    if (!FVodWatch) return;
    if (FShowTimePicker && FDateTimePicker && FDateTimePicker->Visible() &&
        FDateTimePicker->Time() != FVodWatch->Time()) {
        auto ps = FDateTimePicker->OnChange;
        FDateTimePicker->OnChange = nullptr;
        FDateTimePicker->SetTime(FVodWatch->Time());
        FDateTimePicker->OnChange = ps;
        if (OnTimeChange) OnTimeChange(this);
    }
    SetTime(FVodWatch->Time());
}

void TVodTimePickerDropDown::PickerChange()
{
    if (!FVodWatch || FVodWatch->Settings()->Auto() || !FDateTimePicker) return;
    FVodWatch->SetTime(FDateTimePicker->Time());
    Word h, m, s, ms;
    DecodeTime(FDateTimePicker->Time(), h, m, s, ms);
    const String f = FormatTime(h, m, s);
    if (f != EditText()) SetEditTextGuarded(f);
}

void TVodTimePickerDropDown::DoHideDropDown(bool Cancelled)
{
    if (Cancelled && FVodWatch) {
        // Back to the time the window opened with.
        auto saved = FVodWatch->OnChange;
        FVodWatch->OnChange = nullptr;
        FVodWatch->SetTime(FOpenTime);
        FVodWatch->OnChange = saved;
    }
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (FVodWatch) SetTime(FVodWatch->Time());
}

void TVodTimePickerDropDown::DropDownHidden()
{
    TVodCustomDropDown::DropDownHidden();
    if (FVodWatch) SetTime(FVodWatch->Time());
}

void TVodTimePickerDropDown::FormKeyDown(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    if (!IsPaging(key) || Held(VK_MENU)) TVodCustomDropDown::FormKeyDown(Key, Shift);
    if (FVodWatch && FDropDownForm && FDropDownForm->Visible()) FVodWatch->WatchKeyDown(key);
}

void TVodTimePickerDropDown::FormKeyUp(Word& Key, TShiftState Shift)
{
    if (!IsPaging(Key) || Held(VK_MENU)) TVodCustomDropDown::FormKeyUp(Key, Shift);
}

void TVodTimePickerDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!IsPaging(Key) || Held(VK_MENU)) TVodCustomDropDown::ControlKeyDown(Key, Shift);
}

void TVodTimePickerDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (!IsPaging(Key) || Held(VK_MENU)) TVodCustomDropDown::ControlKeyUp(Key, Shift);
}

void TVodTimePickerDropDown::ControlKeyPress(wchar_t& Key)
{
    if (!IsPaging(Word(Key)) || Held(VK_MENU)) TVodCustomDropDown::ControlKeyPress(Key);
}
