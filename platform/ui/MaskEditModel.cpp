#include "platform/ui/MaskEditModel.h"

#include <algorithm>

#include "platform/base/SysUtils.h"

namespace {

enum : Word { kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkRight = 0x27 };

bool IsDigit(Char c) { return c >= L'0' && c <= L'9'; }

}  // namespace

void TMaskEditModel::SetEditMask(const String& mask)
{
    FMask = mask;
    FPositions.clear();
    FSaveLiterals = true;
    FLeadingBlanks = false;
    FBlank = L'_';
    FCaret = FAnchor = 0;

    // The fields are separated by the first two unescaped ';'.
    size_t i = 0;
    for (; i < mask.size(); ++i) {
        Char c = mask[i];
        if (c == L';') break;
        switch (c) {
        case L'\\':
            if (i + 1 < mask.size()) FPositions.push_back({TKind::Literal, mask[++i], 0});
            break;
        case L'!': FLeadingBlanks = true; break;
        case L'0': FPositions.push_back({TKind::Required, 0, 0}); break;
        case L'9': FPositions.push_back({TKind::Optional, 0, 0}); break;
        case L'#': FPositions.push_back({TKind::DigitOrSign, 0, 0}); break;
        case L':': FPositions.push_back({TKind::Literal, FormatSettings.TimeSeparator, 0}); break;
        case L'/': FPositions.push_back({TKind::Literal, FormatSettings.DateSeparator, 0}); break;
        default: FPositions.push_back({TKind::Literal, c, 0}); break;
        }
    }
    if (i < mask.size()) {
        size_t save = i + 1;
        size_t next = mask.find(L';', save);
        String saveField = mask.substr(save, next == String::npos ? String::npos : next - save);
        FSaveLiterals = !(saveField.size() == 1 && saveField[0] == L'0');
        if (next != String::npos && next + 1 < mask.size()) FBlank = mask[next + 1];
    }
}

bool TMaskEditModel::IsLiteral(Integer pos) const
{
    return pos >= 0 && pos < MaskLength() && FPositions[pos].Kind == TKind::Literal;
}

bool TMaskEditModel::Fits(const TPos& p, Char c) const
{
    switch (p.Kind) {
    case TKind::Required: case TKind::Optional: return IsDigit(c);
    case TKind::DigitOrSign: return IsDigit(c) || c == L'+' || c == L'-';
    default: return false;
    }
}

String TMaskEditModel::EditText() const
{
    String s;
    for (const TPos& p : FPositions)
        s += p.Kind == TKind::Literal ? p.Literal : (p.Value ? p.Value : FBlank);
    return s;
}

void TMaskEditModel::SetEditText(const String& s)
{
    for (size_t i = 0; i < FPositions.size(); ++i) {
        TPos& p = FPositions[i];
        if (p.Kind == TKind::Literal) continue;
        Char c = i < s.size() ? s[i] : 0;
        p.Value = (c && Fits(p, c)) ? c : 0;
    }
}

String TMaskEditModel::Text() const
{
    String s;
    for (const TPos& p : FPositions) {
        if (p.Kind == TKind::Literal) {
            if (FSaveLiterals) s += p.Literal;
        } else {
            s += p.Value ? p.Value : L' ';
        }
    }
    return s;
}

void TMaskEditModel::SetText(const String& s)
{
    for (TPos& p : FPositions) p.Value = 0;
    FCaret = FAnchor = 0;
    // The fields: runs of character positions between literals.
    std::vector<std::pair<Integer, Integer>> fields;
    for (Integer i = 0; i < MaskLength();) {
        if (IsLiteral(i)) {
            ++i;
            continue;
        }
        Integer j = i;
        while (j < MaskLength() && !IsLiteral(j)) ++j;
        fields.push_back({i, j});
        i = j;
    }
    auto fill = [&](Integer a, Integer b, const String& part) {
        Integer width = b - a, n = std::min<Integer>(width, Integer(part.size()));
        // Short parts are padded with blanks on the side the mask asks for.
        Integer first = FLeadingBlanks ? b - n : a;
        const Char* src = part.data() + (FLeadingBlanks ? part.size() - n : 0);
        for (Integer k = 0; k < n; ++k) {
            TPos& p = FPositions[first + k];
            Char c = src[k];
            p.Value = Fits(p, c) ? c : 0;
        }
    };
    // Split the text at the mask's literals, in order.
    bool hasLiterals = false;
    for (Integer i = 0; i < MaskLength(); ++i)
        if (IsLiteral(i) && s.find(FPositions[i].Literal) != String::npos) hasLiterals = true;
    if (hasLiterals) {
        size_t from = 0;
        for (const auto& f : fields) {
            // The field ends at the next literal of the mask found in s.
            size_t to = String::npos;
            if (f.second < MaskLength()) to = s.find(FPositions[f.second].Literal, from);
            String part = s.substr(from, to == String::npos ? String::npos : to - from);
            fill(f.first, f.second, part);
            if (to == String::npos) break;
            from = to + 1;
            // Further literals directly after the field.
            for (Integer k = f.second + 1; k < MaskLength() && IsLiteral(k); ++k)
                if (from < s.size() && s[from] == FPositions[k].Literal) ++from;
        }
    } else {
        size_t k = 0;
        for (TPos& p : FPositions) {
            if (p.Kind == TKind::Literal) continue;
            if (k >= s.size()) break;
            Char c = s[k++];
            p.Value = Fits(p, c) ? c : 0;
        }
    }
}

bool TMaskEditModel::IsFull() const
{
    return std::all_of(FPositions.begin(), FPositions.end(),
                       [](const TPos& p) { return p.Kind == TKind::Literal || p.Value; });
}

bool TMaskEditModel::IsComplete(Integer* firstMissing) const
{
    for (Integer i = 0; i < MaskLength(); ++i)
        if (FPositions[i].Kind == TKind::Required && !FPositions[i].Value) {
            if (firstMissing) *firstMissing = i;
            return false;
        }
    if (firstMissing) *firstMissing = -1;
    return true;
}

// ---------------------------------------------------------------------------
// Caret and editing
// ---------------------------------------------------------------------------

Integer TMaskEditModel::NextInput(Integer pos) const
{
    while (pos < MaskLength() && IsLiteral(pos)) ++pos;
    return pos;
}

Integer TMaskEditModel::PrevInput(Integer pos) const
{
    --pos;
    while (pos >= 0 && IsLiteral(pos)) --pos;
    return pos;
}

void TMaskEditModel::SetSel(Integer start, Integer end)
{
    auto clampPos = [this](Integer p) { return (p < 0 || p > MaskLength()) ? MaskLength() : p; };
    FAnchor = start < 0 ? 0 : clampPos(start);
    FCaret = clampPos(end);
}

void TMaskEditModel::BlankRange(Integer a, Integer b)
{
    for (Integer i = a; i < b; ++i)
        if (!IsLiteral(i)) FPositions[i].Value = 0;
}

TMaskResult TMaskEditModel::TypeChar(Char ch)
{
    if (!IsMasked()) return TMaskResult::None;
    bool changed = false;
    if (SelStart() != SelEnd()) {
        BlankRange(SelStart(), SelEnd());
        FCaret = FAnchor = SelStart();
        changed = true;
    }
    Integer pos = NextInput(FCaret);
    if (pos < MaskLength() && Fits(FPositions[pos], ch)) {
        FPositions[pos].Value = ch;
        FCaret = FAnchor = NextInput(pos + 1);
        return TMaskResult::Changed;
    }
    // The literal just passed (the caret skips literals after a character)
    // is taken as typed; the literal that comes next jumps past it.
    if (FCaret > 0 && IsLiteral(FCaret - 1) && FPositions[FCaret - 1].Literal == ch)
        return changed ? TMaskResult::Changed : TMaskResult::None;
    Integer lit = FCaret;
    while (lit < MaskLength() && !IsLiteral(lit)) ++lit;
    if (lit < MaskLength() && FPositions[lit].Literal == ch) {
        FCaret = FAnchor = lit + 1;
        return changed ? TMaskResult::Changed : TMaskResult::Moved;
    }
    return changed ? TMaskResult::Changed : TMaskResult::Rejected;
}

TMaskResult TMaskEditModel::Backspace()
{
    if (!IsMasked()) return TMaskResult::None;
    if (SelStart() != SelEnd()) {
        BlankRange(SelStart(), SelEnd());
        FCaret = FAnchor = SelStart();
        return TMaskResult::Changed;
    }
    Integer pos = PrevInput(FCaret);
    if (pos < 0) return TMaskResult::None;
    bool had = FPositions[pos].Value != 0;
    FPositions[pos].Value = 0;
    FCaret = FAnchor = pos;
    return had ? TMaskResult::Changed : TMaskResult::Moved;
}

TMaskResult TMaskEditModel::Delete()
{
    if (!IsMasked()) return TMaskResult::None;
    if (SelStart() != SelEnd()) {
        BlankRange(SelStart(), SelEnd());
        FCaret = FAnchor = SelStart();
        return TMaskResult::Changed;
    }
    Integer pos = NextInput(FCaret);
    if (pos >= MaskLength() || !FPositions[pos].Value) return TMaskResult::None;
    FPositions[pos].Value = 0;
    return TMaskResult::Changed;
}

TMaskResult TMaskEditModel::Paste(const String& s)
{
    TMaskResult res = TMaskResult::None;
    for (Char c : s) {
        TMaskResult r = TypeChar(c);
        if (r == TMaskResult::Rejected) return TMaskResult::Rejected;
        if (r == TMaskResult::Changed) res = r;
    }
    return res;
}

TMaskResult TMaskEditModel::KeyDown(Word vk, bool shift)
{
    if (!IsMasked()) return TMaskResult::None;
    Integer target;
    switch (vk) {
    case kVkLeft: {
        Integer p = PrevInput(FCaret);
        target = p < 0 ? 0 : p;
        break;
    }
    case kVkRight: target = FCaret >= MaskLength() ? MaskLength() : NextInput(FCaret + 1); break;
    case kVkHome: target = 0; break;
    case kVkEnd: target = MaskLength(); break;
    default: return TMaskResult::None;
    }
    FCaret = target;
    if (!shift) FAnchor = FCaret;
    return TMaskResult::Moved;
}
