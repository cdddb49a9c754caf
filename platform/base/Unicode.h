// Unicode character data the platform answers from GLib's tables: the
// national-language string folding (FoldStringW) and the number categories.
//
// String holds one code point per character, so a decomposition may make a
// text longer than its source.
#pragma once

#include "platform/base/Types.h"

// FoldStringW mapping flags. Only MAP_COMPOSITE is supported here.
constexpr DWORD MAP_FOLDCZONE = 0x00000010;
constexpr DWORD MAP_PRECOMPOSED = 0x00000020;
constexpr DWORD MAP_COMPOSITE = 0x00000040;
constexpr DWORD MAP_FOLDDIGITS = 0x00000080;
constexpr DWORD MAP_EXPAND_LIGATURES = 0x00002000;

// Maps srcLen characters of src (-1: up to and including its terminating
// null) into dest. MAP_COMPOSITE writes every precomposed character as its
// full canonical decomposition (base letter, then its combining marks).
// destLen 0 asks for the number of characters needed and writes nothing.
// Answers the number of characters written (or needed); 0 when the flags
// are not MAP_COMPOSITE, src is null, srcLen is below -1 or 0, or dest is too
// small (nothing useful is written then).
int FoldStringW(DWORD mapFlags, const Char* src, int srcLen, Char* dest, int destLen);

// The whole-text form of FoldStringW(MAP_COMPOSITE, ...).
String FoldComposite(const String& s);

// True for a character of the Unicode number categories: decimal digit (Nd),
// letter number (Nl) and other number (No). Within ASCII exactly 0..9.
bool IsUnicodeNumber(Char ch);
