#include "controls/dropdown/MemoDropDown.h"

#include "controls/dropdown/DropDownButton.h"
#include "platform/base/Lists.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/StdCtrls.h"

namespace {

// The memo text's list, counting its changes.
class TCountedStrings : public TStringList {
public:
    uint64_t Changes = 0;

protected:
    void Changed() override
    {
        ++Changes;
        TStringList::Changed();
    }
};

// Whether splitting Text at its line breaks, as a list's SetText does,
// gives exactly List's lines.
bool SplitsInto(const String& Text, TStrings* List)
{
    Integer line = 0;
    size_t i = 0, n = Text.size();
    while (i < n) {
        size_t start = i;
        while (i < n && Text[i] != L'\r' && Text[i] != L'\n') ++i;
        if (line >= List->Count() || Text.compare(start, i - start, List->Strings(line)) != 0) return false;
        ++line;
        if (i < n && Text[i] == L'\r') ++i;
        if (i < n && Text[i] == L'\n') ++i;
    }
    return line == List->Count();
}

}  // namespace

TVodMemoDropDown::TVodMemoDropDown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner), FMemoText(std::make_unique<TCountedStrings>())
{
    FMemoText->OnChange = [this](TObject*) { UpdateEditFromList(); };
}

TVodMemoDropDown::~TVodMemoDropDown() { FMemoText->OnChange = nullptr; }

uint64_t TVodMemoDropDown::ListChanges() const { return static_cast<TCountedStrings*>(FMemoText.get())->Changes; }

bool TVodMemoDropDown::MemoMatchesList() const
{
    return FMemo && FSyncedChanges == ListChanges() && FMemo->Text() == FSyncedMemo;
}

void TVodMemoDropDown::WriteListToMemo()
{
    // Writing the same list again would give the memo the text it has.
    if (!FMemo || MemoMatchesList()) return;
    FMemo->Lines()->SetText(FMemoText->Text());
    FSyncedChanges = ListChanges();
    FSyncedMemo = FMemo->Text();
    FSyncedRoundTrip = SplitsInto(FSyncedMemo, FMemoText.get());
}

TStrings* TVodMemoDropDown::MemoText() const
{
    if (FMemo) return FMemo->Lines();
    return FMemoText.get();
}

void TVodMemoDropDown::SetMemoText(TStrings* v)
{
    FMemoText->Assign(v);
    if (FMemo) FMemo->Lines()->Assign(v);
}

void TVodMemoDropDown::SetMemoReadOnly(bool v)
{
    FMemoReadOnly = v;
    if (FMemo && DroppedDown()) FMemo->SetReadOnly(v);
}

void TVodMemoDropDown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (FMemo || !FDropDownForm) return;
    FMemo = new TMemo(this);
    FMemo->SetParent(FDropDownForm);
    FMemo->SetHeight(100);
    FMemo->SetBorderStyle(bsNone);
    FMemo->SetWantTabs(true);
    FMemo->SetTabStop(true);
    FMemo->OnChange = [this](TObject*) {
        // The memo's text in one read, not line by line.
        FMemoText->SetText(FMemo->Text());
        if (OnMemoChange) OnMemoChange(this);
    };
    SetControl(FMemo);
}

void TVodMemoDropDown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    if (FDropDownForm) FDropDownForm->SetCancelOnDeActivate(false);
    if (!FMemo) return;
    if (FEditorEnabled) WriteListToMemo();
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(MaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    // Also when unchanged: restyling the window brings the caret into view.
    FMemo->SetReadOnly(FMemoReadOnly);
}

void TVodMemoDropDown::UpdateEditFromList()
{
    String s;
    if (FMemoText->Count() > 0) {
        s = FMemoText->Strings(0);
        if (!FEditorEnabled) {
            TCanvas c;
            HDC dc = HandleAllocated() ? GetDC(Handle()) : CreateScreenIC();
            c.SetHandle(dc);
            c.Font()->Assign(Font());
            Integer room = FEditRect.Width() > 0 ? FEditRect.Width() : Width() - FButtonWidth - 4;
            if (MeasureText(&c, s).cx <= room) {
                if (FMemoText->Count() > 1) s += L"...";
            } else {
                s = TruncateText(&c, s, room, true);
            }
            c.SetHandle(nullptr);
            if (HandleAllocated())
                ReleaseDC(Handle(), dc);
            else
                DeleteDC(dc);
        }
    }
    FInternalUpdate = true;
    bool same = EditText() == s;
    SetEditText(s);
    if (same) Change();
    FInternalUpdate = false;
}

void TVodMemoDropDown::SetText(const String& Value)
{
    FWritingText = true;
    TVodCustomDropDown::SetText(Value);
    FWritingText = false;
}

void TVodMemoDropDown::Change()
{
    if (!FInternalUpdate) {
        String t = GetText();
        auto saved = FMemoText->OnChange;
        FMemoText->OnChange = nullptr;
        if (FWritingText || FMemoText->Count() == 0) {
            // A written Text replaces every line.
            FMemoText->SetText(t);
        } else {
            // Typing in the edit changes the line it shows: the first.
            FMemoText->SetStrings(0, t);
        }
        if (FMemo) {
            auto memoChange = FMemo->OnChange;
            FMemo->OnChange = nullptr;
            FMemo->Lines()->Assign(FMemoText.get());
            FMemo->OnChange = memoChange;
        }
        FMemoText->OnChange = saved;
    }
    TVodCustomDropDown::Change();
}

void TVodMemoDropDown::DoHideDropDown(bool Cancelled)
{
    bool saved = FAutoDropSuspended;
    FAutoDropSuspended = true;
    if (Cancelled && FMemo) WriteListToMemo();
    // The base's cancel writes back the last Text written, and a Text write
    // replaces every line: the lines would be lost on each cancel. Here the
    // value is the lines, so the cancel restores the edit's view of them.
    bool internal = FInternalUpdate;
    if (Cancelled) {
        FInternalUpdate = true;
        FOldText = GetText();
    }
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    FInternalUpdate = internal;
    if (Cancelled) UpdateEditFromList();
    FAutoDropSuspended = saved;
}

void TVodMemoDropDown::DropDownHidden()
{
    bool saved = FAutoDropSuspended;
    FAutoDropSuspended = true;
    TVodCustomDropDown::DropDownHidden();
    FAutoDropSuspended = saved;
    if (FMemo) {
        auto s = FMemoText->OnChange;
        FMemoText->OnChange = nullptr;
        // Unless the memo still holds what the list gave it, and reading
        // it back would give the same list.
        if (!(FSyncedRoundTrip && MemoMatchesList())) FMemoText->SetText(FMemo->Text());
        FMemoText->OnChange = s;
    }
    UpdateEditFromList();
    SetSelRaw(0, 0);
}

void TVodMemoDropDown::DoEnter()
{
    TVodCustomDropDown::DoEnter();
    if (FAutoDrop && !FAutoDropSuspended && !DroppedDown()) DoShowDropDown();
}

void TVodMemoDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_TAB) {
        Key = 0;
        DoHideDropDown(false);
        SelectAll();
        return;
    }
    if (Key == 'A' && Shift.Contains(ssCtrl)) {
        if (FMemo) FMemo->SelectAll();
        Key = 0;
        return;
    }
    if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TVodCustomDropDown::ControlKeyDown(Key, Shift);
}

void TVodMemoDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TVodCustomDropDown::ControlKeyUp(Key, Shift);
}

void TVodMemoDropDown::ControlKeyPress(wchar_t& Key)
{
    if (Key == L'\t') {
        Key = 0;
        SelectAll();
        return;
    }
    if (GetKeyState(VK_MENU) < 0 || Key == 0x1B) TVodCustomDropDown::ControlKeyPress(Key);
}
