// The text model behind the edit window class: text, caret and selection,
// typing with the edit styles' filters (numbers only, upper/lower case,
// read-only, length limit, overwrite), keyboard moves, word boundaries,
// one-level undo that toggles like EM_UNDO, password masking, and lines
// (hard breaks CRLF, LF or CR; word wrapping through a measuring callback).
// Positions are 0-based character indices, as the edit messages use them.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/Types.h"

enum class TEditCharCase { Normal, Upper, Lower };

// What an input did, so the window can notify (EN_CHANGE, EN_MAXTEXT) or
// complain (a beep, the "numbers only" balloon).
enum class TEditResult {
    None,         // nothing to do (a move, or a key the model does not use)
    Moved,        // caret or selection changed, text did not
    Changed,      // the text changed
    ReadOnly,     // refused: the edit is read-only
    NotANumber,   // refused: numbers only
    TooLong,      // refused or cut short: the length limit
};

// A line: its first character, its length without the break, and the
// length of the break that ends it (2 for CRLF, 1 for LF or CR, 0 for the
// last line or a wrapped one).
struct TEditLine {
    Integer Start = 0;
    Integer Length = 0;
    Integer Break = 0;
    friend bool operator==(const TEditLine&, const TEditLine&) = default;
};

struct TLineCol {
    Integer Line = 0;
    Integer Col = 0;
    friend bool operator==(const TLineCol&, const TLineCol&) = default;
};

class TEditModel {
public:
    // --- styles ---
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool NumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool v) { FNumbersOnly = v; }
    // Changing the case converts the text already there (not undoable).
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    // 0: no masking.
    Char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char c) { FPasswordChar = c; }
    // 0: no limit. The limit stops typing and pasting, not SetText.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer n) { FMaxLength = n < 0 ? 0 : n; }
    bool Overwrite() const { return FOverwrite; }
    void SetOverwrite(bool v) { FOverwrite = v; }
    // Lines moved by Page Up / Page Down.
    void SetPageLines(Integer n) { FPageLines = n < 1 ? 1 : n; }

    // --- text ---
    const String& Text() const { return FText; }
    Integer Length() const { return Integer(FText.size()); }
    // WM_SETTEXT: the caret goes to the start, undo is emptied, Modified
    // is cleared. Case conversion applies; the length limit does not.
    void SetText(const String& s);
    // What the window shows: the password character once per character
    // when masking, the text otherwise.
    String DisplayText() const;
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    // Counts text changes, so a caller can tell whether an input changed
    // the text without comparing it.
    uint32_t ChangeCount() const { return FChanges; }

    // --- selection ---
    Integer Caret() const { return FCaret; }
    Integer Anchor() const { return FAnchor; }
    Integer SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
    Integer SelEnd() const { return FCaret < FAnchor ? FAnchor : FCaret; }
    Integer SelLength() const { return SelEnd() - SelStart(); }
    String SelText() const;
    // EM_SETSEL: the anchor at start, the caret at end (either may be the
    // larger; both clamped to the text). start -1 removes the selection
    // and leaves the caret where it is; end -1 means the end of the text.
    void SetSel(Integer start, Integer end);
    void SelectAll() { SetSel(0, -1); }
    // Selects the word at the position (or the run of blanks there), as a
    // double click does.
    void SelectWordAt(Integer pos);

    // --- editing ---
    // WM_CHAR: printable characters are typed (filters, case, limit,
    // overwrite); backspace (8) deletes; Enter gives a line break and Tab a
    // tab in a multi-line edit; other control characters are ignored.
    TEditResult TypeChar(Char ch);
    // WM_KEYDOWN: arrows, Home, End, Page Up/Down with Shift (extend) and
    // Ctrl (by word / to the ends), Delete, Insert (toggles overwrite).
    TEditResult KeyDown(Word vk, bool shift, bool ctrl);
    // EM_REPLACESEL: no character filter, but the case conversion, the
    // length limit (cut short) and, single-line, the text up to the first
    // line break. canUndo false empties the undo buffer.
    TEditResult ReplaceSel(const String& s, bool canUndo = true);
    // Clipboard halves: Cut answers the text taken (empty when read-only
    // or nothing selected); Paste types the text like ReplaceSel, and a
    // numbers-only edit refuses text with anything but digits.
    String Cut(TEditResult* result = nullptr);
    TEditResult Paste(const String& s);
    TEditResult Clear();   // deletes the selection

    // --- undo (one level; undoing twice restores the change) ---
    bool CanUndo() const { return FUndo.Valid; }
    TEditResult Undo();
    void EmptyUndoBuffer() { FUndo.Valid = false; FTyping = false; }

    // --- words ---
    static bool IsWordBreak(Char c);
    // Ctrl+Right: the start of the next word; Ctrl+Left: the start of this
    // or the previous word.
    Integer NextWordPos(Integer pos) const;
    Integer PrevWordPos(Integer pos) const;

    // --- lines ---
    const std::vector<TEditLine>& Lines() const { return FLines; }
    Integer LineCount() const { return Integer(FLines.size()); }
    Integer LineFromChar(Integer pos) const;
    // -1 for a line out of range.
    Integer LineIndex(Integer line) const;
    Integer LineLength(Integer line) const;
    String LineText(Integer line) const;
    TLineCol PosToLineCol(Integer pos) const;
    // The column is clamped to the line.
    Integer LineColToPos(Integer line, Integer col) const;

private:
    struct TUndo {
        bool Valid = false;
        String Text;
        Integer Anchor = 0, Caret = 0;
    };

    String Converted(const String& s) const;
    bool Accepts(Char c) const;
    void Snapshot();
    void Replace(Integer start, Integer end, const String& s);
    void Move(Integer pos, bool extend, bool keepGoal = false);
    Integer StepRight(Integer pos) const;
    Integer StepLeft(Integer pos) const;
    Integer Room() const;   // characters that may still be added
    void Relayout();

    String FText;
    Integer FCaret = 0, FAnchor = 0;
    Integer FGoalCol = -1;   // column kept by Up/Down moves
    bool FMultiLine = false, FReadOnly = false, FNumbersOnly = false, FOverwrite = false;
    TEditCharCase FCharCase = TEditCharCase::Normal;
    Char FPasswordChar = 0;
    Integer FMaxLength = 0;
    Integer FPageLines = 10;
    bool FModified = false;
    uint32_t FChanges = 0;
    TUndo FUndo;
    bool FTyping = false;   // the undo snapshot covers a run of typed characters
    std::vector<TEditLine> FLines{TEditLine{}};
};

// Splits text into hard lines at CRLF, LF and CR.
std::vector<TEditLine> SplitEditLines(const String& text);

// Wraps text to a width: each hard line breaks after blanks where the
// words fit, and a word wider than the width breaks between characters
// (every line keeps at least one character). measure answers the width of
// count characters from text. Blanks at a wrap stay on the line before.
std::vector<TEditLine> WrapEditText(const String& text, Integer width,
                                    const std::function<Integer(const Char*, Integer)>& measure);
