#include "platform/ui/EditModel.h"

#include <algorithm>
#include <climits>

#include "platform/base/SysUtils.h"

namespace {

// Virtual-key codes the model reacts to.
enum : Word {
    kVkBack = 0x08, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24,
    kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkInsert = 0x2D,
    kVkDelete = 0x2E,
};

bool IsLineBreakChar(Char c) { return c == L'\r' || c == L'\n'; }

// Length of the line break starting at i (0 when there is none).
int BreakAt(const String& s, size_t i)
{
    if (i >= s.size()) return 0;
    if (s[i] == L'\r') return (i + 1 < s.size() && s[i + 1] == L'\n') ? 2 : 1;
    return s[i] == L'\n' ? 1 : 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------

std::vector<TEditLine> SplitEditLines(const String& text)
{
    std::vector<TEditLine> lines;
    size_t start = 0, i = 0;
    while (i < text.size()) {
        int br = BreakAt(text, i);
        if (br) {
            lines.push_back({Integer(start), Integer(i - start), br});
            i += br;
            start = i;
        } else {
            ++i;
        }
    }
    lines.push_back({Integer(start), Integer(text.size() - start), 0});
    return lines;
}

std::vector<TEditLine> WrapEditText(const String& text, Integer width,
                                    const std::function<Integer(const Char*, Integer)>& measure)
{
    std::vector<TEditLine> out;
    for (const TEditLine& hard : SplitEditLines(text)) {
        Integer pos = hard.Start, end = hard.Start + hard.Length;
        // Most lines fit whole: one measurement then.
        if (pos == end || measure(text.data() + pos, end - pos) <= width) {
            out.push_back(hard);
            continue;
        }
        while (pos < end) {
            auto fits = [&](Integer to) { return measure(text.data() + pos, to - pos) <= width; };
            // Grow word by word: a candidate end is after a word and the
            // blanks behind it.
            Integer best = -1, scan = pos;
            while (scan < end) {
                Integer wordEnd = scan;
                while (wordEnd < end && !TEditModel::IsWordBreak(text[wordEnd])) ++wordEnd;
                Integer blanksEnd = wordEnd;
                while (blanksEnd < end && TEditModel::IsWordBreak(text[blanksEnd])) ++blanksEnd;
                if (wordEnd > pos && !fits(wordEnd)) break;
                best = blanksEnd;
                scan = blanksEnd;
            }
            if (best <= pos) {
                // The first word alone is too wide: as many characters as fit.
                Integer n = pos + 1;
                while (n < end && fits(n + 1)) ++n;
                best = n;
            }
            bool last = best >= end;
            out.push_back({pos, best - pos, last ? hard.Break : 0});
            pos = best;
        }
    }
    return out;
}

void TEditModel::Relayout() { FLines = SplitEditLines(FText); }

Integer TEditModel::LineFromChar(Integer pos) const
{
    pos = std::clamp(pos, 0, Length());
    // The last line whose start is at or before pos.
    auto it = std::upper_bound(FLines.begin(), FLines.end(), pos,
                               [](Integer p, const TEditLine& l) { return p < l.Start; });
    return Integer(it - FLines.begin()) - 1;
}

Integer TEditModel::LineIndex(Integer line) const
{
    return (line < 0 || line >= LineCount()) ? -1 : FLines[line].Start;
}

Integer TEditModel::LineLength(Integer line) const
{
    return (line < 0 || line >= LineCount()) ? 0 : FLines[line].Length;
}

String TEditModel::LineText(Integer line) const
{
    if (line < 0 || line >= LineCount()) return String();
    return FText.substr(FLines[line].Start, FLines[line].Length);
}

TLineCol TEditModel::PosToLineCol(Integer pos) const
{
    Integer line = LineFromChar(pos);
    pos = std::clamp(pos, 0, Length());
    return {line, std::min(pos - FLines[line].Start, FLines[line].Length)};
}

Integer TEditModel::LineColToPos(Integer line, Integer col) const
{
    line = std::clamp(line, 0, LineCount() - 1);
    return FLines[line].Start + std::clamp(col, 0, FLines[line].Length);
}

// ---------------------------------------------------------------------------
// Styles and text
// ---------------------------------------------------------------------------

void TEditModel::SetMultiLine(bool v) { FMultiLine = v; }

String TEditModel::Converted(const String& s) const
{
    switch (FCharCase) {
    case TEditCharCase::Upper: return AnsiUpperCase(s);
    case TEditCharCase::Lower: return AnsiLowerCase(s);
    default: return s;
    }
}

void TEditModel::SetCharCase(TEditCharCase v)
{
    FCharCase = v;
    String s = Converted(FText);
    if (s != FText) {
        FText = s;
        ++FChanges;
    }
}

void TEditModel::SetText(const String& s)
{
    FText = Converted(s);
    Relayout();
    FCaret = FAnchor = 0;
    FGoalCol = -1;
    FModified = false;
    EmptyUndoBuffer();
    ++FChanges;
}

String TEditModel::DisplayText() const
{
    if (!FPasswordChar) return FText;
    return String(FText.size(), FPasswordChar);
}

String TEditModel::SelText() const { return FText.substr(SelStart(), SelLength()); }

// ---------------------------------------------------------------------------
// Selection and moves
// ---------------------------------------------------------------------------

void TEditModel::SetSel(Integer start, Integer end)
{
    FTyping = false;
    FGoalCol = -1;
    if (start == -1) {
        FAnchor = FCaret;
        return;
    }
    Integer len = Length();
    auto clampPos = [len](Integer p) { return (p < 0 || p > len) ? len : p; };
    // Negative starts other than -1 select from the start, as 0 would.
    FAnchor = start < 0 ? 0 : clampPos(start);
    FCaret = clampPos(end);
}

void TEditModel::Move(Integer pos, bool extend, bool keepGoal)
{
    FTyping = false;
    if (!keepGoal) FGoalCol = -1;
    FCaret = std::clamp(pos, 0, Length());
    if (!extend) FAnchor = FCaret;
}

Integer TEditModel::StepRight(Integer pos) const
{
    if (pos >= Length()) return Length();
    int br = BreakAt(FText, size_t(pos));
    return pos + (br ? br : 1);
}

Integer TEditModel::StepLeft(Integer pos) const
{
    if (pos <= 0) return 0;
    if (pos >= 2 && FText[pos - 1] == L'\n' && FText[pos - 2] == L'\r') return pos - 2;
    return pos - 1;
}

bool TEditModel::IsWordBreak(Char c) { return c == L' ' || c == L'\t' || IsLineBreakChar(c); }

Integer TEditModel::NextWordPos(Integer pos) const
{
    Integer n = Length();
    pos = std::clamp(pos, 0, n);
    while (pos < n && !IsWordBreak(FText[pos])) ++pos;
    while (pos < n && IsWordBreak(FText[pos])) ++pos;
    return pos;
}

Integer TEditModel::PrevWordPos(Integer pos) const
{
    pos = std::clamp(pos, 0, Length());
    while (pos > 0 && IsWordBreak(FText[pos - 1])) --pos;
    while (pos > 0 && !IsWordBreak(FText[pos - 1])) --pos;
    return pos;
}

void TEditModel::SelectWordAt(Integer pos)
{
    Integer n = Length();
    pos = std::clamp(pos, 0, n);
    if (n == 0) {
        SetSel(0, 0);
        return;
    }
    // The character under the position, or the one before at a word's end.
    Integer at = pos;
    if (at == n || (IsWordBreak(FText[at]) && at > 0 && !IsWordBreak(FText[at - 1]))) --at;
    Char c = FText[at];
    if (IsLineBreakChar(c)) {
        SetSel(pos, pos);
        return;
    }
    bool blank = IsWordBreak(c);
    auto same = [&](Integer i) {
        Char d = FText[i];
        return blank ? (d == L' ' || d == L'\t') : !IsWordBreak(d);
    };
    Integer a = at, b = at + 1;
    while (a > 0 && same(a - 1)) --a;
    while (b < n && same(b)) ++b;
    SetSel(a, b);
}

// ---------------------------------------------------------------------------
// Editing
// ---------------------------------------------------------------------------

Integer TEditModel::Room() const
{
    Integer limit = FMaxLength > 0 ? FMaxLength : INT_MAX;
    Integer room = limit - (Length() - SelLength());
    return room < 0 ? 0 : room;
}

void TEditModel::Snapshot()
{
    FUndo.Valid = true;
    FUndo.Text = FText;
    FUndo.Anchor = FAnchor;
    FUndo.Caret = FCaret;
}

void TEditModel::Replace(Integer start, Integer end, const String& s)
{
    FText.replace(size_t(start), size_t(end - start), s);
    Relayout();
    FCaret = FAnchor = start + Integer(s.size());
    FGoalCol = -1;
    FModified = true;
    ++FChanges;
}

bool TEditModel::Accepts(Char c) const { return !FNumbersOnly || (c >= L'0' && c <= L'9'); }

TEditResult TEditModel::TypeChar(Char ch)
{
    if (ch == kVkBack) {
        if (FReadOnly) return TEditResult::ReadOnly;
        Integer a = SelStart(), b = SelEnd();
        if (a == b) {
            if (a == 0) return TEditResult::None;
            a = StepLeft(a);
        }
        FTyping = false;
        Snapshot();
        Replace(a, b, String());
        return TEditResult::Changed;
    }
    String s;
    if (ch == L'\r' || ch == L'\n') {
        if (!FMultiLine) return TEditResult::None;
        s = L"\r\n";
    } else if (ch == L'\t') {
        if (!FMultiLine) return TEditResult::None;
        s = L"\t";
    } else if (ch < 0x20 || ch == 0x7F) {
        return TEditResult::None;
    } else {
        s = Converted(String(1, ch));
    }
    if (FReadOnly) return TEditResult::ReadOnly;
    if (s != L"\r\n" && s != L"\t" && !Accepts(s[0])) return TEditResult::NotANumber;

    Integer a = SelStart(), b = SelEnd();
    // Overwrite replaces the next character of the line, never a break.
    if (FOverwrite && a == b && a < Length() && !IsLineBreakChar(FText[a]) && s.size() == 1) ++b;
    Integer limit = FMaxLength > 0 ? FMaxLength : INT_MAX;
    if (Length() - (b - a) + Integer(s.size()) > limit) return TEditResult::TooLong;

    bool continues = FTyping && a == b && a == FCaret;
    if (!continues) Snapshot();
    Replace(a, b, s);
    FTyping = true;
    return TEditResult::Changed;
}

TEditResult TEditModel::KeyDown(Word vk, bool shift, bool ctrl)
{
    Integer sel0 = SelStart(), sel1 = SelEnd();
    bool hasSel = sel0 != sel1;
    TLineCol lc = PosToLineCol(FCaret);
    Integer target;
    switch (vk) {
    case kVkLeft:
        if (ctrl) target = PrevWordPos(FCaret);
        else if (hasSel && !shift) target = sel0;
        else target = StepLeft(FCaret);
        break;
    case kVkRight:
        if (ctrl) target = NextWordPos(FCaret);
        else if (hasSel && !shift) target = sel1;
        else target = StepRight(FCaret);
        break;
    case kVkHome: target = ctrl ? 0 : FLines[lc.Line].Start; break;
    case kVkEnd: target = ctrl ? Length() : FLines[lc.Line].Start + FLines[lc.Line].Length; break;
    case kVkUp: case kVkDown: case kVkPrior: case kVkNext: {
        // Vertical moves belong to multi-line edits; a single-line one
        // leaves them to its owner (combo boxes, grids).
        if (!FMultiLine) return TEditResult::None;
        Integer goal = FGoalCol >= 0 ? FGoalCol : lc.Col;
        Integer step = (vk == kVkUp || vk == kVkDown) ? 1 : FPageLines;
        Integer line = lc.Line + ((vk == kVkUp || vk == kVkPrior) ? -step : step);
        line = std::clamp(line, 0, LineCount() - 1);
        if (line == lc.Line && (vk == kVkUp || vk == kVkDown)) return TEditResult::None;
        Move(LineColToPos(line, goal), shift, true);
        FGoalCol = goal;
        return TEditResult::Moved;
    }
    case kVkDelete: {
        if (shift || ctrl) return TEditResult::None;   // Shift+Del is the window's cut
        if (FReadOnly) return TEditResult::ReadOnly;
        Integer a = sel0, b = sel1;
        if (a == b) {
            if (a >= Length()) return TEditResult::None;
            b = StepRight(a);
        }
        FTyping = false;
        Snapshot();
        Replace(a, b, String());
        return TEditResult::Changed;
    }
    case kVkInsert:
        if (shift || ctrl) return TEditResult::None;   // clipboard keys are the window's
        FOverwrite = !FOverwrite;
        return TEditResult::None;
    default: return TEditResult::None;
    }
    Move(target, shift);
    return TEditResult::Moved;
}

TEditResult TEditModel::ReplaceSel(const String& text, bool canUndo)
{
    String s = text;
    if (!FMultiLine) {
        size_t br = s.find_first_of(L"\r\n");
        if (br != String::npos) s.resize(br);
    }
    s = Converted(s);
    TEditResult res = TEditResult::Changed;
    Integer room = Room();
    if (Integer(s.size()) > room) {
        // Never cut a CRLF in half.
        Integer keep = room;
        if (keep > 0 && s[keep - 1] == L'\r' && Integer(s.size()) > keep && s[keep] == L'\n') --keep;
        s.resize(size_t(keep));
        res = TEditResult::TooLong;
    }
    if (s.empty() && SelLength() == 0) return res == TEditResult::TooLong ? res : TEditResult::None;
    FTyping = false;
    if (canUndo) Snapshot();
    Replace(SelStart(), SelEnd(), s);
    if (!canUndo) EmptyUndoBuffer();
    return res;
}

TEditResult TEditModel::Clear()
{
    if (FReadOnly) return TEditResult::ReadOnly;
    if (SelLength() == 0) return TEditResult::None;
    FTyping = false;
    Snapshot();
    Replace(SelStart(), SelEnd(), String());
    return TEditResult::Changed;
}

String TEditModel::Cut(TEditResult* result)
{
    String taken = SelText();
    TEditResult r = Clear();
    if (result) *result = r;
    return r == TEditResult::Changed ? taken : String();
}

TEditResult TEditModel::Paste(const String& s)
{
    if (FReadOnly) return TEditResult::ReadOnly;
    if (FNumbersOnly) {
        for (Char c : s)
            if (!Accepts(c)) return TEditResult::NotANumber;
    }
    if (s.empty()) return TEditResult::None;
    return ReplaceSel(s, true);
}

TEditResult TEditModel::Undo()
{
    if (!FUndo.Valid) return TEditResult::None;
    if (FReadOnly) return TEditResult::ReadOnly;
    TUndo redo{true, FText, FAnchor, FCaret};
    FText = FUndo.Text;
    Relayout();
    FAnchor = std::min(FUndo.Anchor, Length());
    FCaret = std::min(FUndo.Caret, Length());
    FUndo = redo;
    FTyping = false;
    FGoalCol = -1;
    FModified = true;
    ++FChanges;
    return TEditResult::Changed;
}
