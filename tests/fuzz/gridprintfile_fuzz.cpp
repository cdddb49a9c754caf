// The grid's print settings reader fed any bytes as an INI file: it never
// fails, never writes the file, and keeps every ordinal in its range.
#include "tests/fuzz/FuzzFile.h"
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 32768) return 0;
    TVodStringGrid* g = FuzzGrid();
    const String file = FuzzWriteFile(".ini", data, size);
    try {
        g->LoadPrintSettings(file, L"Page");
        g->LoadPrintSettings(file, L"");
    } catch (const Exception&) {
        std::abort();
    }
    if (FuzzReadFile(file) != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
    TPrintSettings* p = g->PrintSettings();
    if (p->Borders() < pbNoborder || p->Borders() > pbCustom || p->Date() < ppNone || p->Date() > ppBottomCenter ||
        p->BorderStyle() < psSolid || p->BorderStyle() > psInsideFrame || p->FitToPage() < fpNever ||
        p->FitToPage() > fpCustom)
        std::abort();
    return 0;
}
