// The grid's markup: the engine run with the grid's policy (CONTROL tags, the
// accented-letter entities, process-wide highlight colours and line-break
// flag), and the services the grid and the drop-down editors call on a
// cell's markup without drawing it.
#pragma once

#include "controls/markup/MarkupEngine.h"

namespace VurHTMLE {

// The policy of the grid's engine as the unit state now stands.
TMarkupPolicy GridMarkupPolicy();

// Draws, measures or hit-tests a cell's markup (the 40 parameters of the
// grid's engine are the record's fields; LineSpacing and the highlight
// fields are not read).
bool RenderMarkup(TMarkupParams& P);

// Unit state, shared by every grid of the process: the last grid that sets
// them decides for all.
void SetMarkupHighlightColors(TColor Color, TColor TextColor);
TColor MarkupHighlightColor();
TColor MarkupHighlightTextColor();
bool HTMLKeepLineBreak();
void SetHTMLKeepLineBreak(bool Value);
// Whether the system is Windows XP or later (set once at start).
bool WinXP();
void DetectWinXP();

// Colours: "#RRGGBB" or "cl" and a name of the colour table (case kept).
TColor TextToColor(const String& Name);
Integer HexByteAt(const String& Text, Integer Index);

// Entities: one pass each way; All adds the accented-letter table.
void DecodeEntities(const String& Text, bool All, String& Result);
void EncodeEntities(const String& Text, bool All, String& Result);
void SpacesToNbsp(const String& Text, String& Result);

// CONTROL tags.
void ParseControlTag(const String& Tag, String& TypeName, String& ID, String& Value, String& Width,
                     String& Height, String& Prop, String& MaxLen);
bool HasControlTags(const String& Text);
void NextEditControlID(const String& Text, const String& ID, String& Result);
void ClearRadioControls(const String& Text, String& Result);
bool GetControlValue(const String& Text, const String& ID, String& Value);
void GetControlProp(const String& Text, const String& ID, String& Prop);
Integer GetControlMaxLen(const String& Text, const String& ID);
bool SetControlValue(String& Text, const String& ID, const String& NewValue);
void PasswordMask(const String& Text, String& Result);
Integer FindPosUpper(const String& SubStr, const String& S, Integer& P);

// Text utilities of grid cells.
void StripMarkup(const String& Text, String& Result);
void RemoveTags(const String& Text, String& Result);
void HighlightMarkupText(const String& Text, const String& SubText, const String& Tag, bool DoCase,
                         bool FullText, String& Result);
void RemoveMarkupTag(const String& Text, const String& Tag, String& Result);

// The engine routines with the grid's differences (ASCII case folding, the
// carriage-return rule of the line-break flag).
Integer PosNoCase(const String& SubStr, const String& S);
bool ReplaceFirstNoCase(const String& SubStr, const String& NewStr, String& S);
void CRToBRTags(const String& S, bool ConvertCR, String& Result);

}  // namespace VurHTMLE
