// Text encodings: UTF-8, UTF-16 in both byte orders, 7-bit ASCII and the
// single-byte system code page (Windows-1252), with byte-order-mark
// detection for reading files.
#pragma once

#include <vector>

#include "platform/base/Types.h"

using TBytes = std::vector<Byte>;

// The encodings are process-wide objects reached through the static
// accessors; they hold no state and are safe to use from any thread.
class TEncoding {
public:
    TEncoding(const TEncoding&) = delete;
    TEncoding& operator=(const TEncoding&) = delete;

    // The system code page (Windows-1252); the same object as ANSI().
    static TEncoding* Default();
    static TEncoding* ANSI();
    static TEncoding* UTF8();
    static TEncoding* Unicode();            // UTF-16 little endian
    static TEncoding* BigEndianUnicode();   // UTF-16 big endian
    static TEncoding* ASCII();              // 7 bits; anything else becomes '?'

    // Characters the encoding cannot hold become '?' (single-byte
    // encodings) or U+FFFD (UTF encodings). No preamble is written.
    virtual TBytes GetBytes(const String& s) const = 0;
    // Malformed input never fails: bad sequences become U+FFFD (UTF) or '?'.
    virtual String GetString(const Byte* data, size_t size) const = 0;
    String GetString(const TBytes& bytes) const { return GetString(bytes.data(), bytes.size()); }
    // count bytes from the 0-based index, clipped to the buffer.
    String GetString(const TBytes& bytes, Integer index, Integer count) const;
    // The byte order mark written before the text in files (empty for the
    // single-byte encodings).
    virtual TBytes GetPreamble() const { return {}; }
    virtual Cardinal CodePage() const = 0;
    virtual String EncodingName() const = 0;

    // With encoding == nullptr: recognises a UTF-8, UTF-16LE or UTF-16BE byte
    // order mark at the start of buffer, sets encoding to it and returns the
    // mark's length; without a mark sets encoding to defaultEncoding (Default()
    // when null) and returns 0. With an encoding given: returns the length of
    // its preamble when the buffer starts with it, else 0.
    static Integer GetBufferEncoding(const TBytes& buffer, TEncoding*& encoding,
                                     TEncoding* defaultEncoding = nullptr);

protected:
    TEncoding() = default;
    virtual ~TEncoding() = default;
};

// The system code page (Windows-1252) both ways; unmappable characters
// become '?'.
AnsiString StringToAnsi(const String& s);
String AnsiToString(const AnsiString& s);
