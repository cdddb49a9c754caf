#include "platform/gfx/Printer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/base/Exceptions.h"
#include "platform/gfx/GdiInternal.h"

namespace {

struct TPdfJob {
    TSize PaperDev;          // portrait paper in device pixels
    bool Landscape = false;
    cairo_surface_t* Surface = nullptr;
    std::string Target, Temp;
    bool PageOpen = false;
    int Pages = 0;

    ~TPdfJob() { Discard(); }
    void Discard()
    {
        if (Surface) {
            cairo_surface_finish(Surface);
            cairo_surface_destroy(Surface);
            Surface = nullptr;
            std::remove(Temp.c_str());
        }
    }
    TSize PageDev() const { return Landscape ? TSize{PaperDev.cy, PaperDev.cx} : PaperDev; }
};

TPdfJob* JobOf(HDC dc)
{
    if (!GdiValidDC(dc) || dc->Kind != TDeviceContext::dkPrinter || !dc->PrinterJob) return nullptr;
    return static_cast<TPdfJob*>(dc->PrinterJob.get());
}

double PointsOf(int devicePixels) { return devicePixels * 72.0 / PRINTER_DPI; }

std::atomic<int> gJobCounter{0};

}  // namespace

std::function<String()> PrinterDocumentsFolder;

HDC CreatePdfPrinterDC(TSize paper, bool landscape)
{
    auto job = std::make_shared<TPdfJob>();
    job->PaperDev = {int(std::lround(paper.cx * PRINTER_DPI / 254.0)), int(std::lround(paper.cy * PRINTER_DPI / 254.0))};
    job->Landscape = landscape;
    HDC dc = GdiCreatePrinterDC(nullptr, job->PageDev(), PRINTER_DPI, 72.0 / PRINTER_DPI);
    dc->PrinterJob = job;
    return dc;
}

void SetPrinterDCOrientation(HDC dc, bool landscape)
{
    TPdfJob* job = JobOf(dc);
    if (!job) return;
    job->Landscape = landscape;
    if (!job->PageOpen) {
        dc->PageSize = job->PageDev();
        dc->BaseClip = {0, 0, dc->PageSize.cx, dc->PageSize.cy};
        dc->ClipChanged();
    }
}

int StartDoc(HDC dc, const DOCINFOW* info)
{
    TPdfJob* job = JobOf(dc);
    if (!job || job->Surface || !info || !info->lpszOutput || !*info->lpszOutput) return SP_ERROR;
    job->Target = UTF8Encode(info->lpszOutput);
    job->Temp = job->Target + ".part";
    TSize p = job->PageDev();
    job->Surface = cairo_pdf_surface_create(job->Temp.c_str(), PointsOf(p.cx), PointsOf(p.cy));
    if (cairo_surface_status(job->Surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(job->Surface);
        job->Surface = nullptr;
        std::remove(job->Temp.c_str());
        return SP_ERROR;
    }
    if (info->lpszDocName)
        cairo_pdf_surface_set_metadata(job->Surface, CAIRO_PDF_METADATA_TITLE, UTF8Encode(info->lpszDocName).c_str());
    cairo_pdf_surface_set_metadata(job->Surface, CAIRO_PDF_METADATA_CREATOR, "Velmora");
    job->Pages = 0;
    job->PageOpen = false;
    dc->Surface = job->Surface;
    dc->DropCairo();
    dc->Page = 0;
    return ++gJobCounter;
}

int StartPage(HDC dc)
{
    TPdfJob* job = JobOf(dc);
    if (!job || !job->Surface) return SP_ERROR;
    if (job->PageOpen) return 1;
    TSize p = job->PageDev();
    cairo_pdf_surface_set_size(job->Surface, PointsOf(p.cx), PointsOf(p.cy));
    dc->PageSize = p;
    dc->BaseClip = {0, 0, p.cx, p.cy};
    dc->ClipChanged();
    job->PageOpen = true;
    dc->Page = ++job->Pages;
    dc->Record({L"StartPage", {0, 0, p.cx, p.cy}, {}, 0, 0, {}, 0});
    return 1;
}

int EndPage(HDC dc)
{
    TPdfJob* job = JobOf(dc);
    if (!job || !job->Surface || !job->PageOpen) return SP_ERROR;
    dc->Record({L"EndPage", {}, {}, 0, 0, {}, 0});
    dc->DropCairo();
    cairo_surface_show_page(job->Surface);
    job->PageOpen = false;
    return 1;
}

int EndDoc(HDC dc)
{
    TPdfJob* job = JobOf(dc);
    if (!job || !job->Surface) return SP_ERROR;
    if (job->PageOpen) EndPage(dc);
    dc->DropCairo();
    dc->Surface = nullptr;
    cairo_surface_finish(job->Surface);
    bool ok = cairo_surface_status(job->Surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(job->Surface);
    job->Surface = nullptr;
    if (!ok || std::rename(job->Temp.c_str(), job->Target.c_str()) != 0) {
        std::remove(job->Temp.c_str());
        return SP_ERROR;
    }
    return 1;
}

int AbortDoc(HDC dc)
{
    TPdfJob* job = JobOf(dc);
    if (!job || !job->Surface) return SP_ERROR;
    dc->DropCairo();
    dc->Surface = nullptr;
    job->PageOpen = false;
    job->Discard();
    return 1;
}

// ---------------------------------------------------------------------------
// TPrinter
// ---------------------------------------------------------------------------

TPrinter::TPrinter() = default;

TPrinter::~TPrinter()
{
    if (FPrinting) Abort();
    FCanvas.reset();
    if (FDC) DeleteDC(FDC);
}

HDC TPrinter::Handle()
{
    if (!FDC) FDC = CreatePdfPrinterDC({2100, 2970}, FOrientation == poLandscape);
    return FDC;
}

TCanvas* TPrinter::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(Handle());
    return FCanvas.get();
}

void TPrinter::SetOrientation(TPrinterOrientation v)
{
    if (FPrinting || v == FOrientation) return;
    FOrientation = v;
    if (FDC) SetPrinterDCOrientation(FDC, v == poLandscape);
}

int TPrinter::PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
int TPrinter::PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

static String DefaultFolder()
{
    if (PrinterDocumentsFolder) {
        String f = PrinterDocumentsFolder();
        if (!f.empty()) return f;
    }
    const char* home = std::getenv("HOME");
    std::string h = home && *home ? home : "/tmp";
    std::string docs = h + "/Documents";
    struct stat st;
    if (stat(docs.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return UTF8ToString(docs);
    return UTF8ToString(h);
}

void TPrinter::BeginDoc()
{
    if (FPrinting) throw EPrinter(L"Printing in progress");
    String out = FFileName;
    if (out.empty()) {
        String name = FTitle.empty() ? String(L"Document") : FTitle;
        for (auto& c : name)
            if (c == L'/' || c == L'\\' || c == L':' || c < 32) c = L'_';
        out = DefaultFolder() + L"/" + name + L".pdf";
    }
    HDC dc = Handle();
    SetPrinterDCOrientation(dc, FOrientation == poLandscape);
    DOCINFOW di;
    di.lpszDocName = FTitle.c_str();
    di.lpszOutput = out.c_str();
    if (StartDoc(dc, &di) <= 0) throw EPrinter(L"Printer selected is not valid");
    FOutput = out;
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    StartPage(dc);
    if (FCanvas) FCanvas->Refresh();
}

void TPrinter::EndDoc()
{
    if (!FPrinting) throw EPrinter(L"Printer is not currently printing");
    FPrinting = false;
    if (FCanvas) FCanvas->Refresh();
    if (::EndDoc(FDC) <= 0) throw EPrinter(L"Printer error: the document could not be written");
    FPageNumber = 0;
}

void TPrinter::NewPage()
{
    if (!FPrinting) throw EPrinter(L"Printer is not currently printing");
    EndPage(FDC);
    StartPage(FDC);
    ++FPageNumber;
    if (FCanvas) FCanvas->Refresh();
}

void TPrinter::Abort()
{
    if (!FPrinting) throw EPrinter(L"Printer is not currently printing");
    AbortDoc(FDC);
    FPrinting = false;
    FAborted = true;
    FPageNumber = 0;
    if (FCanvas) FCanvas->Refresh();
}

TPrinter* Printer()
{
    static TPrinter p;
    return &p;
}
