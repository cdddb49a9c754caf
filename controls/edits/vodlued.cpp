#include "controls/edits/vodlued.h"

#include <algorithm>

#include "platform/base/Files.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"

// ---------------------------------------------------------------------------
// TLUPersist

void TLUPersist::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TLUPersist*>(Source);
    if (!s) return;
    FEnable = s->FEnable;
    FLocation = s->FLocation;
    FKey = s->FKey;
    FSection = s->FSection;
    FCount = s->FCount;
    FMaxCount = s->FMaxCount;
}

// ---------------------------------------------------------------------------
// TVodLUEdit

TVodLUEdit::TVodLUEdit(TComponent* AOwner)
    : TVodEdit(AOwner), FLookupItems(std::make_unique<TStringList>()), FLookupPersist(std::make_unique<TLUPersist>())
{
}

TVodLUEdit::~TVodLUEdit()
{
    // The window goes while the history can still be saved.
    if (HandleAllocated()) DestroyHandle();
}

Integer TVodLUEdit::GetVersionNr() { return Integer((1u << 24) | (4u << 16) | (1u << 8) | 0u); }

void TVodLUEdit::Loaded() { TVodEdit::Loaded(); }

void TVodLUEdit::Change()
{
    TVodEdit::Change();
    FChanged = true;
}

void TVodLUEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_BACK || Key == VK_DELETE) {
        workmode = false;
    } else if (Key == VK_RETURN) {
        const String t = GetText();
        const Integer i = FLookupItems->IndexOf(t);
        if (i >= 0) {
            const String stored = FLookupItems->Strings(i);
            if (stored != t) SetText(stored);
            else Change();
        }
        workmode = true;
    } else {
        workmode = true;
    }
    TVodEdit::KeyDown(Key, Shift);
}

void TVodLUEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (FChanged && Key != VK_BACK && Key != VK_DELETE) Complete();
    FChanged = false;
    TVodEdit::KeyUp(Key, Shift);
}

void TVodLUEdit::Complete()
{
    if (Designing() || !workmode || !HandleAllocated()) return;
    const String text = GetText();
    const Integer P = PrefixLen();
    const Integer caret = std::clamp(SelStart() - P, 0, Integer(text.size()));
    const String U = (FMatchCase ? text : AnsiUpperCase(text)).substr(0, size_t(caret));
    if (FLookupItems->Count() > 0) {
        if (U.empty()) return;
        for (Integer i = 0; i < FLookupItems->Count(); ++i) {
            const String E = FLookupItems->Strings(i);
            const String cmp = FMatchCase ? E : AnsiUpperCase(E);
            if (cmp.rfind(U, 0) != 0) continue;
            const String typed = text.substr(0, U.size());
            String rest = E.substr(std::min(U.size(), E.size()), 255);
            if (AutoComplete) AutoComplete(this, typed, rest, i);
            SetText(typed + rest);
            SetModified(true);
            SendMessage(FHandle, EM_SETSEL, WPARAM(Integer(U.size()) + P),
                        LPARAM(Integer(GetText().size()) + P));
            return;
        }
        return;
    }
    if (text.empty() || !FFileLookup) return;
    // The folder part ends at the last path delimiter (or drive colon).
    const size_t cut = text.find_last_of(L":/");
    const String folder = cut == String::npos ? String() : text.substr(0, cut + 1);
    const String namePart = cut == String::npos ? text : text.substr(cut + 1);
    TSearchRec rec;
    if (FindFirst(text + L"*", faAnyFile, rec) == 0) {
        do {
            const String found = rec.Name;
            if (found.empty() || found[0] == L'.') continue;
            if (!namePart.empty() && AnsiUpperCase(found).rfind(AnsiUpperCase(namePart), 0) != 0) continue;
            const Integer oldLen = Integer(text.size());
            SetText(folder + found);
            SetModified(true);
            SendMessage(FHandle, EM_SETSEL, WPARAM(oldLen + P), LPARAM(Integer(GetText().size()) + P));
            break;
        } while (FindNext(rec) == 0);
    }
    FindClose(rec);
}

void TVodLUEdit::DoExit()
{
    bool accept = true;
    const String t = GetText();
    if (Accept) Accept(this, t, FLookupItems->IndexOf(t), accept);
    if (accept && FAutoHistory && !t.empty() && FLookupItems->IndexOf(t) < 0) {
        FLookupItems->Add(t);
        if (OnAddToHistory) OnAddToHistory(this, t);
        if (FAutoSynchronize && Owner()) {
            TComponent* owner = Owner();
            for (Integer i = 0; i < owner->ComponentCount(); ++i) {
                auto* other = dynamic_cast<TVodLUEdit*>(owner->Components(i));
                if (!other || other == this || !other->FAutoHistory || !other->FAutoSynchronize) continue;
                if (other->FLookupPersist->Key() != FLookupPersist->Key() ||
                    other->FLookupPersist->Section() != FLookupPersist->Section())
                    continue;
                other->FLookupItems->Assign(FLookupItems.get());
            }
        }
    }
    if (accept) TVodEdit::DoExit();
    else if (HandleAllocated()) PostMessage(FHandle, kTakeFocusBack, 0, 0);
}

void TVodLUEdit::Dispatch(TMessage& M)
{
    if (M.Msg == kTakeFocusBack) {
        // After the focus change that the refusal undoes has finished.
        if (CanFocus()) SetFocus();
        return;
    }
    TVodEdit::Dispatch(M);
}

TCustomIniFile* TVodLUEdit::OpenHistoryStore()
{
    if (FLookupPersist->Location() == plRegistry) return new TRegistryIniFile(FLookupPersist->Key());
    // One safe write of the file per save.
    return new TMemIniFile(FLookupPersist->Key());
}

void TVodLUEdit::LoadPersist()
{
    TVodEdit::LoadPersist();
    if (!FLookupPersist->Enable()) return;
    std::unique_ptr<TCustomIniFile> store(OpenHistoryStore());
    FLookupItems->Clear();
    const String sec = FLookupPersist->Section();
    for (Integer n = 1;; ++n) {
        const String v = store->ReadString(sec, L"Item" + IntToStr(n), L"");
        if (v.empty()) break;
        FLookupItems->Add(v);
    }
}

void TVodLUEdit::SavePersist()
{
    TVodEdit::SavePersist();
    if (!FLookupPersist->Enable()) return;
    std::unique_ptr<TCustomIniFile> store(OpenHistoryStore());
    const String sec = FLookupPersist->Section();
    const Integer L = FLookupItems->Count();
    const Integer count = FLookupPersist->Count();
    const Integer n = FLookupPersist->MaxCount() ? count : L;
    const Integer s = FLookupPersist->MaxCount() && count < L ? L - count : 0;
    for (Integer i = 1; i <= n; ++i)
        store->WriteString(sec, L"Item" + IntToStr(i), s + i > L ? String() : FLookupItems->Strings(s + i - 1));
    // Items past the saved ones are gone from the history: erase them, so
    // the next load does not bring them back.
    TStringList names;
    store->ReadSection(sec, names);
    for (Integer k = 0; k < names.Count(); ++k) {
        const String name = names[k];
        if (AnsiUpperCase(name).rfind(L"ITEM", 0) != 0) continue;
        Integer num = 0;
        if (TryStrToInt(name.substr(4), num) && num > n) store->DeleteKey(sec, name);
    }
    store->UpdateFile();
}
