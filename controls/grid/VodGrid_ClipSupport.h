// Shared by the grid's clipboard, paste and drop sources: the coding of
// multi-line fields.
#pragma once

#include "controls/grid/VodGrid.h"

// A text with line breaks as a field of the text form: enclosed in double
// quotes, inner quotes doubled, each line break (CR LF or a lone CR) one LF.
String QuoteClipboardField(const String& S);
// The inverse for a pasted field: a field enclosed in double quotes that
// holds an LF or a character 11 loses its quotes, doubled quotes become one,
// and each LF or character 11 becomes CR LF. Other fields stay as they are.
String UnquoteClipboardField(const String& F);
