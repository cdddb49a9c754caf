// Helpers of the grid printing tests: a grid on the headless backend with
// fixed-metrics fonts, a scratch folder for the PDF files the process's
// printer writes, and poppler-utils to read them back.
#pragma once

#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/controls/grid/StringGridFixture.h"
#include "controls/grid/VodGrid.h"
#include "platform/gfx/Printer.h"

namespace gridprint {

struct TScratch {
    std::string Path;
    TScratch()
    {
        char t[] = "/tmp/vel_gridprint_XXXXXX";
        Path = mkdtemp(t);
    }
    ~TScratch() { std::filesystem::remove_all(Path); }
    std::string File(const std::string& name) const { return Path + "/" + name; }
};

// Output of a shell command (empty when it fails).
inline std::string Run(const std::string& cmd)
{
    std::string out;
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    pclose(f);
    return out;
}

// A field of pdfinfo ("Pages", "Title", "Page size").
inline std::string PdfInfo(const std::string& pdf, const std::string& field)
{
    const std::string out = Run("pdfinfo '" + pdf + "' 2>/dev/null");
    const size_t p = out.find(field + ":");
    if (p == std::string::npos) return std::string();
    size_t a = out.find_first_not_of(' ', p + field.size() + 1);
    size_t e = out.find('\n', a);
    return out.substr(a, e - a);
}

inline int PdfPages(const std::string& pdf)
{
    const std::string s = PdfInfo(pdf, "Pages");
    return s.empty() ? -1 : std::atoi(s.c_str());
}

inline std::string PdfText(const std::string& pdf, int page)
{
    return Run("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " -layout '" + pdf +
               "' - 2>/dev/null");
}

// Renders one page at the given resolution and reads the PNG back.
inline cairo_surface_t* RenderPdfPage(const std::string& pdf, int page, int dpi, const std::string& base)
{
    const std::string cmd = "pdftoppm -png -r " + std::to_string(dpi) + " -singlefile -f " + std::to_string(page) +
                            " -l " + std::to_string(page) + " '" + pdf + "' '" + base + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create_from_png((base + ".png").c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

inline COLORREF SurfacePixel(cairo_surface_t* s, int x, int y)
{
    cairo_surface_flush(s);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) + size_t(y) * cairo_image_surface_get_stride(s));
    const uint32_t p = row[x];
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

// A grid of 5 x 5 cells on a form; the printer writes into a scratch folder.
class TGridPrintTest : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Printer()->SetOrientation(poPortrait);
        Printer()->SetOrientationAngle(90);
        Pdf = Dir.File("out.pdf");
        Printer()->SetFileName(UTF8ToString(Pdf));
    }
    void TearDown() override
    {
        if (Printer()->Printing()) Printer()->Abort();
        Printer()->SetFileName(String());
        Printer()->SetOrientation(poPortrait);
        TStringGridFixture<TVodStringGrid>::TearDown();
    }
    // Fills Cols x Rows cells with "c<col>r<row>".
    void Fill(int Cols, int Rows)
    {
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows);
        for (int c = 0; c < Cols; ++c)
            for (int r = 0; r < Rows; ++r) Grid->SetCells(c, r, L"c" + IntToStr(c) + L"r" + IntToStr(r));
    }
    // Rows 200 high on paper (advance 204): 14 to a page, so that a few
    // pages take few rows.
    void TallRows()
    {
        Grid->PrintSettings()->SetUseFixedHeight(true);
        Grid->PrintSettings()->SetFixedHeight(200);
    }
    TScratch Dir;
    std::string Pdf;
};

}  // namespace gridprint
