#include "platform/ui/ListSelectionModel.h"

#include <algorithm>

#include "platform/base/SysUtils.h"

namespace {

enum : Word {
    kVkSpace = 0x20, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24,
    kVkUp = 0x26, kVkDown = 0x28,
};

}  // namespace

void TListSelectionModel::SetMode(TListSelectMode m)
{
    FMode = m;
    ClearSelection();
    if (FMode == TListSelectMode::Single && Valid(FFocus)) FSelected[FFocus] = true;
}

void TListSelectionModel::SetCount(Integer n)
{
    FSelected.assign(size_t(std::max(n, 0)), false);
    FFocus = FAnchor = -1;
    FTop = 0;
}

void TListSelectionModel::Insert(Integer index)
{
    index = std::clamp(index, 0, Count());
    FSelected.insert(FSelected.begin() + index, false);
    if (FFocus >= index) ++FFocus;
    if (FAnchor >= index) ++FAnchor;
}

void TListSelectionModel::Delete(Integer index)
{
    if (!Valid(index)) return;
    FSelected.erase(FSelected.begin() + index);
    auto fix = [&](Integer& v) {
        if (v == index) v = -1;
        else if (v > index) --v;
    };
    fix(FFocus);
    fix(FAnchor);
    FTop = std::clamp(FTop, 0, std::max(0, Count() - 1));
}

bool TListSelectionModel::Selected(Integer i) const { return Valid(i) && FSelected[i]; }

void TListSelectionModel::SetSelected(Integer i, bool on)
{
    if (!Valid(i)) return;
    if (FMode == TListSelectMode::Single) {
        if (on) {
            SelectOnly(i);
            FFocus = FAnchor = i;
        } else if (FSelected[i]) {
            FSelected[i] = false;
        }
        return;
    }
    FSelected[i] = on;
}

Integer TListSelectionModel::SelCount() const
{
    return Integer(std::count(FSelected.begin(), FSelected.end(), true));
}

void TListSelectionModel::SelectAll()
{
    if (FMode == TListSelectMode::Single) return;
    std::fill(FSelected.begin(), FSelected.end(), true);
}

void TListSelectionModel::ClearSelection() { std::fill(FSelected.begin(), FSelected.end(), false); }

void TListSelectionModel::SelectOnly(Integer i)
{
    ClearSelection();
    if (Valid(i)) FSelected[i] = true;
}

void TListSelectionModel::SelectRange(Integer a, Integer b, bool keepOthers)
{
    if (!keepOthers) ClearSelection();
    if (a > b) std::swap(a, b);
    for (Integer k = std::max(a, 0); k <= b && k < Count(); ++k) FSelected[k] = true;
}

void TListSelectionModel::SetItemIndex(Integer i)
{
    if (!Valid(i)) i = -1;
    FFocus = i;
    if (FMode == TListSelectMode::Single) SelectOnly(i);
    if (i >= 0) {
        FAnchor = i;
        EnsureVisible(i);
    }
}

void TListSelectionModel::Click(Integer i, bool shift, bool ctrl)
{
    if (!Valid(i)) return;
    switch (FMode) {
    case TListSelectMode::Single: SelectOnly(i); FAnchor = i; break;
    case TListSelectMode::Multiple: FSelected[i] = !FSelected[i]; FAnchor = i; break;
    case TListSelectMode::Extended:
        if (shift && Valid(FAnchor)) {
            SelectRange(FAnchor, i, ctrl);
        } else if (ctrl) {
            FSelected[i] = !FSelected[i];
            FAnchor = i;
        } else {
            SelectOnly(i);
            FAnchor = i;
        }
        break;
    }
    FFocus = i;
    EnsureVisible(i);
}

void TListSelectionModel::MoveFocus(Integer i, bool shift, bool ctrl)
{
    i = std::clamp(i, 0, Count() - 1);
    switch (FMode) {
    case TListSelectMode::Single: SelectOnly(i); FAnchor = i; break;
    case TListSelectMode::Multiple: break;   // the focus moves alone; Space toggles
    case TListSelectMode::Extended:
        if (shift) {
            if (!Valid(FAnchor)) FAnchor = Valid(FFocus) ? FFocus : i;
            SelectRange(FAnchor, i, ctrl);
        } else if (!ctrl) {
            SelectOnly(i);
            FAnchor = i;
        }
        break;
    }
    FFocus = i;
    EnsureVisible(i);
}

bool TListSelectionModel::KeyDown(Word vk, bool shift, bool ctrl)
{
    if (Count() == 0) return vk == kVkUp || vk == kVkDown || vk == kVkHome || vk == kVkEnd ||
                             vk == kVkPrior || vk == kVkNext || vk == kVkSpace;
    Integer f = FFocus;
    switch (vk) {
    case kVkUp: MoveFocus(f < 0 ? 0 : f - 1, shift, ctrl); return true;
    case kVkDown: MoveFocus(f < 0 ? 0 : f + 1, shift, ctrl); return true;
    case kVkHome: MoveFocus(0, shift, ctrl); return true;
    case kVkEnd: MoveFocus(Count() - 1, shift, ctrl); return true;
    case kVkPrior: {
        // To the top of the page, or a page up when already there.
        Integer target = (f < 0) ? 0 : (f > FTop ? FTop : f - std::max(FPage - 1, 1));
        MoveFocus(target, shift, ctrl);
        return true;
    }
    case kVkNext: {
        Integer bottom = FTop + FPage - 1;
        Integer target = (f < 0) ? 0 : (f < bottom ? bottom : f + std::max(FPage - 1, 1));
        MoveFocus(target, shift, ctrl);
        return true;
    }
    case kVkSpace:
        if (!Valid(f)) f = 0;
        if (FMode == TListSelectMode::Multiple || (FMode == TListSelectMode::Extended && ctrl)) {
            FSelected[f] = !FSelected[f];
            FAnchor = f;
        } else {
            MoveFocus(f, shift, false);
        }
        FFocus = f;
        return true;
    }
    return false;
}

Integer TListSelectionModel::TypeAhead(Char ch, uint32_t timeMs,
                                       const std::function<String(Integer)>& text)
{
    if (Count() == 0 || ch < L' ') return -1;
    bool fresh = FPrefix.empty() || timeMs - FLastTypeMs > TypeAheadTimeout;
    FLastTypeMs = timeMs;
    FPrefix = fresh ? String(1, ch) : FPrefix + ch;
    String prefix = AnsiUpperCase(FPrefix);
    // One character (or the same one repeated) steps to the next item that
    // starts with it; a longer prefix may stay on the focused item.
    bool repeated = std::all_of(prefix.begin(), prefix.end(), [&](Char c) { return c == prefix[0]; });
    if (repeated) prefix = prefix.substr(0, 1);
    Integer start = Valid(FFocus) ? FFocus + (repeated ? 1 : 0) : 0;
    for (Integer k = 0; k < Count(); ++k) {
        Integer i = (start + k) % Count();
        String t = AnsiUpperCase(text(i));
        if (t.compare(0, prefix.size(), prefix) == 0) {
            MoveFocus(i, false, false);
            return i;
        }
    }
    return -1;
}

void TListSelectionModel::SetTopIndex(Integer i)
{
    Integer maxTop = std::max(0, Count() - FPage);
    FTop = std::clamp(i, 0, maxTop);
}

void TListSelectionModel::SetPageSize(Integer n)
{
    FPage = std::max(n, 1);
    SetTopIndex(FTop);
}

void TListSelectionModel::EnsureVisible(Integer i)
{
    if (!Valid(i)) return;
    if (i < FTop) FTop = i;
    else if (i >= FTop + FPage) FTop = i - FPage + 1;
}
