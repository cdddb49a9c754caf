// Spreadsheet number-format strings fed anything: every value kind is
// rendered with the format, which must give some text, promptly. Property
// checked: a text value with a format of one section and no "@" is shown
// unchanged.
#include <cstdlib>

#include "controls/grid/vurxlsfmt.h"
#include "platform/base/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = (FormatSettings = DefaultFormatSettings(), true);
    (void)started;
    if (size == 0) return 0;
    // The first byte picks the value; the rest is the format, one character
    // per byte, with a few high bytes standing for the non-ASCII characters
    // that formats carry (euro, acute accent, pound).
    static const double values[] = {0, 1, -1, 0.25, -0.5, 1.5, 45000.75, -45000.75, 1234567.891,
                                    1e-7, 1e15, -1e300, 1e300, 2958465.99, -693594};
    const double value = values[data[0] % (sizeof(values) / sizeof(values[0]))];
    String format;
    for (size_t i = 1; i < size; ++i) {
        const uint8_t b = data[i];
        if (b == 0x80) format += Char(0x20AC);
        else if (b == 0xB4) format += Char(0x00B4);
        else if (b == 0xA3) format += Char(0x00A3);
        else format += Char(b);
    }
    String r;
    XlsFormatValue(Variant(value), format, r);
    XlsFormatValue(Variant::FromDate(value), format, r);
    XlsFormatValue(Variant(Int64(value > -9e18 && value < 9e18 ? Int64(value) : 0)), format, r);
    XlsFormatValue(Variant(true), format, r);
    const String text = L"t\u00E9xt";
    XlsFormatValue(Variant(text), format, r);
    if (format.find(L'@') == String::npos && format.find(L';') == String::npos && r != text) std::abort();
    return 0;
}
