// RTF fed any bytes: the reader never fails, and what it read survives a
// write and a second read unchanged (text, paragraphs and formats).
#include <cstdlib>

#include "platform/ui/RichEdit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536) return 0;
    const std::string in(reinterpret_cast<const char*>(data), size);
    TRichDocument d;
    ReadRtf(in, d);
    const std::string out = WriteRtf(d);
    TRichDocument back;
    ReadRtf(out, back);
    if (back.Text() != d.Text()) std::abort();
    if (back.Paragraphs().size() != d.Paragraphs().size()) std::abort();
    if (WriteRtf(back) != out) std::abort();
    return 0;
}
