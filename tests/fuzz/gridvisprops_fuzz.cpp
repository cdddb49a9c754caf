// The grid's visual properties reader fed any bytes as a file: it loads or
// raises, and a refused file changes none of the properties it keeps.
#include "tests/fuzz/FuzzFile.h"
#include "tests/fuzz/FuzzGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 32768) return 0;
    TVodStringGrid* g = FuzzGrid();
    static const String saved = UTF8ToString(FuzzFilePath(".look") + ".saved");
    g->SetLook(glOffice2007);
    g->SaveVisualProps(saved);
    const std::string before = FuzzReadFile(saved);
    const String file = FuzzWriteFile(".look", data, size);
    try {
        g->LoadVisualProps(file);
    } catch (const Exception&) {
        g->SaveVisualProps(saved);
        if (FuzzReadFile(saved) != before) std::abort();
        std::remove(UTF8Encode(saved).c_str());
        return 0;
    }
    std::remove(UTF8Encode(saved).c_str());
    if (g->Look() != glCustom) std::abort();
    return 0;
}
