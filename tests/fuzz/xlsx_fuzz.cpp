// The .xlsx reader fed any bytes as a workbook file: it reads a model or
// raises EXlsxError, within small inflation limits; a model it reads can be
// written back and read again with the same sheets.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os/XlsxReader.h"
#include "platform/os/XlsxWriter.h"

namespace {

const std::string& Scratch()
{
    static const std::string dir = [] {
        char tmpl[] = "/tmp/xlsxfuzzXXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        return std::string(tmpl);
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string in = Scratch() + "/in.xlsx", out = Scratch() + "/out.xlsx";
    FILE* f = std::fopen(in.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    TXlsxLimits limits;
    limits.MaxPartBytes = 4 << 20;
    limits.MaxPackageBytes = 8 << 20;
    limits.MaxEntries = 64;
    TXlsxWorkbook book;
    try {
        book = ReadXlsxWorkbook(UTF8ToString(in), limits);
    } catch (const EXlsxError&) {
        return 0;
    }
    if (book.Sheets.empty() || book.ActiveSheet < 0 || book.ActiveSheet >= int(book.Sheets.size())) std::abort();
    try {
        WriteXlsxWorkbook(book, UTF8ToString(out));
    } catch (const EXlsxError&) {
        return 0;   // formulas, error values, names the writer refuses
    }
    TXlsxWorkbook again = ReadXlsxWorkbook(UTF8ToString(out));
    if (again.Sheets.size() != book.Sheets.size()) std::abort();
    for (size_t i = 0; i < book.Sheets.size(); ++i)
        if (again.Sheets[i].Name != book.Sheets[i].Name) std::abort();
    return 0;
}
