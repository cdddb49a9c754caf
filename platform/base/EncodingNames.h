// Encodings as documents name them, ISO-8859-1 among them, and whether an
// encoding holds a character.
#pragma once

#include "platform/base/Encoding.h"

// ISO-8859-1: every byte is the code point of the same number.
TEncoding* Latin1Encoding();

// The encoding a document names ("ISO-8859-1", "windows-1252", "UTF-8",
// "UTF-16", "UTF-16LE", "UTF-16BE", "US-ASCII" and their usual aliases; any
// case), or nullptr for a name the platform does not know. "UTF-16" is
// little endian (written with its byte order mark).
TEncoding* GetEncodingByName(const String& name);

// Whether the character survives the encoding's GetBytes unchanged.
bool EncodingCanEncode(const TEncoding* encoding, Char c);
