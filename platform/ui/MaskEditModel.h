// The masked-edit behaviour: an edit mask "mask;save-literals;blank" gives
// a fixed-length edit text of literal positions and character positions;
// typing overwrites character positions and skips literals, deleting
// blanks positions, and the text read back keeps or drops the literals.
//
// Mask characters: '0' a required digit, '9' an optional digit, '#' an
// optional digit or sign, '!' (no position) optional characters missing
// from a text that is set are taken as leading blanks rather than
// trailing ones, '\' makes the next character a literal, ':' and '/' are
// the locale's time and date separators; anything else is a literal.
// The save field '0' drops literals from Text; the blank field gives the
// character shown in empty positions (default '_').
#pragma once

#include <vector>

#include "platform/base/Types.h"

enum class TMaskResult {
    None,       // nothing changed
    Moved,      // the caret or selection moved
    Changed,    // the edit text changed
    Rejected,   // the character does not fit the position, or no room left
};

class TMaskEditModel {
public:
    // An empty mask means no masking (IsMasked false).
    void SetEditMask(const String& mask);
    const String& EditMask() const { return FMask; }
    bool IsMasked() const { return !FPositions.empty(); }

    Integer MaskLength() const { return Integer(FPositions.size()); }
    Char BlankChar() const { return FBlank; }
    bool SavesLiterals() const { return FSaveLiterals; }
    bool IsLiteral(Integer pos) const;

    // The text shown: literals, entered characters and blank characters.
    String EditText() const;
    // Sets the shown text directly, position by position (characters that
    // do not fit their position become blanks; literals stay).
    void SetEditText(const String& s);
    // The value: empty positions as spaces, literals only when saved.
    String Text() const;
    // Sets the value: a text with the literals is split at them and each
    // field filled (short fields padded with blanks, leading with '!',
    // trailing without); a text without literals fills the character
    // positions in order.
    void SetText(const String& s);
    // True when every character position holds a character.
    bool IsFull() const;
    // True when every required position is filled; firstMissing receives
    // the first empty required position (or -1).
    bool IsComplete(Integer* firstMissing = nullptr) const;

    // --- caret and selection (positions 0..MaskLength) ---
    Integer Caret() const { return FCaret; }
    Integer SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
    Integer SelEnd() const { return FCaret < FAnchor ? FAnchor : FCaret; }
    void SetSel(Integer start, Integer end);

    // --- editing ---
    TMaskResult TypeChar(Char ch);
    // Backspace blanks the character position before the caret (or the
    // selection); Delete the one at the caret (or the selection).
    TMaskResult Backspace();
    TMaskResult Delete();
    // Types the characters of s from the caret; literals of the mask met in
    // s are passed over. Stops, rejected, at the first that does not fit.
    TMaskResult Paste(const String& s);
    // Left/Right (skipping literals), Home, End; shift extends.
    TMaskResult KeyDown(Word vk, bool shift);

private:
    enum class TKind { Literal, Required, Optional, DigitOrSign };
    struct TPos {
        TKind Kind;
        Char Literal;   // literal character
        Char Value;     // entered character, 0 when blank
    };

    bool Fits(const TPos& p, Char c) const;
    Integer NextInput(Integer pos) const;   // first character position at or after pos
    Integer PrevInput(Integer pos) const;   // last character position before pos, or -1
    void BlankRange(Integer a, Integer b);

    String FMask;
    std::vector<TPos> FPositions;
    bool FSaveLiterals = true;
    bool FLeadingBlanks = false;
    Char FBlank = L'_';
    Integer FCaret = 0, FAnchor = 0;
};
