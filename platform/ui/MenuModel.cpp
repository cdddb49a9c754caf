#include "platform/ui/MenuModel.h"

#include "platform/base/SysUtils.h"

namespace {

enum : Word {
    kVkReturn = 0x0D, kVkEscape = 0x1B, kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25,
    kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28,
};

}  // namespace

Char MenuAccelerator(const String& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return AnsiUpperChar(caption[i + 1]);
    }
    return 0;
}

String StripAccelerator(const String& caption)
{
    String s;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                s += L'&';
                ++i;
            }
            continue;
        }
        s += caption[i];
    }
    return s;
}

void TMenuNavModel::Open(const TMenuNavItem* root, bool selectFirst)
{
    FLevels.clear();
    FChosen = nullptr;
    if (!root) return;
    FLevels.push_back({root, -1});
    if (selectFirst) FLevels.back().Hot = Step(FLevels.back(), -1, 1);
}

Integer TMenuNavModel::Step(const TLevel& l, Integer from, Integer dir) const
{
    Integer n = Integer(l.Menu->Items.size());
    if (n == 0) return -1;
    // With no hot item the walk starts before the first or after the last.
    Integer i = from >= 0 ? from : (dir > 0 ? -1 : n);
    for (Integer k = 0; k < n; ++k) {
        i = ((i + dir) % n + n) % n;
        if (l.Menu->Items[i].Selectable()) return i;
    }
    return -1;
}

void TMenuNavModel::SetHot(Integer level, Integer item)
{
    if (level < 0 || level >= Depth()) return;
    FLevels.resize(size_t(level) + 1);
    const auto& items = FLevels.back().Menu->Items;
    FLevels.back().Hot = (item >= 0 && item < Integer(items.size()) && items[item].Selectable())
                             ? item : -1;
}

TMenuNavAction TMenuNavModel::OpenHot(bool selectFirst)
{
    if (FLevels.empty()) return TMenuNavAction::None;
    const TLevel& l = FLevels.back();
    if (l.Hot < 0 || !l.Menu->Items[l.Hot].HasSubmenu()) return TMenuNavAction::None;
    FLevels.push_back({&l.Menu->Items[l.Hot], -1});
    if (selectFirst) FLevels.back().Hot = Step(FLevels.back(), -1, 1);
    return TMenuNavAction::Opened;
}

TMenuNavAction TMenuNavModel::Choose(Integer item)
{
    if (FLevels.empty()) return TMenuNavAction::None;
    SetHot(Depth() - 1, item);
    const TLevel& l = FLevels.back();
    if (l.Hot < 0) return TMenuNavAction::None;   // separators and disabled items do nothing
    const TMenuNavItem& it = l.Menu->Items[l.Hot];
    if (it.HasSubmenu()) return OpenHot(true);
    FChosen = &it;
    FLevels.clear();
    return TMenuNavAction::Invoke;
}

TMenuNavAction TMenuNavModel::KeyDown(Word vk)
{
    if (FLevels.empty()) return TMenuNavAction::None;
    TLevel& l = FLevels.back();
    switch (vk) {
    case kVkDown: case kVkUp: {
        Integer next = Step(l, l.Hot, vk == kVkDown ? 1 : -1);
        if (next < 0 || next == l.Hot) return TMenuNavAction::None;
        l.Hot = next;
        return TMenuNavAction::Moved;
    }
    case kVkHome: case kVkEnd: {
        Integer next = vk == kVkHome ? Step(l, -1, 1) : Step(l, -1, -1);
        if (next < 0 || next == l.Hot) return TMenuNavAction::None;
        l.Hot = next;
        return TMenuNavAction::Moved;
    }
    case kVkRight:
        if (l.Hot >= 0 && l.Menu->Items[l.Hot].HasSubmenu()) return OpenHot(true);
        return TMenuNavAction::BarNext;
    case kVkLeft:
        if (Depth() > 1) {
            FLevels.pop_back();
            return TMenuNavAction::Closed;
        }
        return TMenuNavAction::BarPrev;
    case kVkEscape:
        if (Depth() > 1) {
            FLevels.pop_back();
            return TMenuNavAction::Closed;
        }
        FLevels.clear();
        return TMenuNavAction::CloseAll;
    case kVkReturn:
        if (l.Hot < 0) return TMenuNavAction::None;
        return Choose(l.Hot);
    }
    return TMenuNavAction::None;
}

TMenuNavAction TMenuNavModel::KeyChar(Char ch)
{
    if (FLevels.empty()) return TMenuNavAction::None;
    TLevel& l = FLevels.back();
    Char want = AnsiUpperChar(ch);
    std::vector<Integer> matches;
    for (Integer i = 0; i < Integer(l.Menu->Items.size()); ++i) {
        const TMenuNavItem& it = l.Menu->Items[i];
        if (it.Selectable() && MenuAccelerator(it.Caption) == want) matches.push_back(i);
    }
    if (matches.empty()) return TMenuNavAction::None;
    if (matches.size() == 1) return Choose(matches[0]);
    // Several items share the letter: each press moves to the next of them.
    for (Integer m : matches)
        if (m > l.Hot) {
            l.Hot = m;
            return TMenuNavAction::Moved;
        }
    l.Hot = matches[0];
    return TMenuNavAction::Moved;
}
