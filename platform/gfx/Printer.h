// The printer: a device context whose pages go to a PDF file at a virtual
// 600 dpi, and the class library's TPrinter over it.
#pragma once

#include <functional>
#include <memory>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"

struct DOCINFOW {
    int cbSize = sizeof(DOCINFOW);
    LPCWSTR lpszDocName = nullptr;   // the document title
    LPCWSTR lpszOutput = nullptr;    // the PDF file to write
    LPCWSTR lpszDatatype = nullptr;
    DWORD fwType = 0;
};
using DOCINFO = DOCINFOW;

constexpr int PRINTER_DPI = 600;
constexpr int SP_ERROR = -1;
constexpr int DC_ORIENTATION = 17;

// A printer DC for paper of the given size (tenths of a millimetre; A4 by
// default). Device units are pixels at 600 dpi; GetDeviceCaps answers in
// them. Delete it with DeleteDC.
HDC CreatePdfPrinterDC(TSize paperTenthMM = {2100, 2970}, bool landscape = false);
// Changes the orientation; takes effect from the next page.
void SetPrinterDCOrientation(HDC dc, bool landscape);

// The document: StartDoc opens the output file (written to a temporary file
// beside it and renamed by EndDoc; AbortDoc removes it). Answers a job
// number > 0, or SP_ERROR.
int StartDoc(HDC dc, const DOCINFOW* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);

enum TPrinterOrientation { poPortrait, poLandscape };

// Where TPrinter writes when no file name was given; the services layer may
// replace it (the default is ~/Documents, or the home folder).
extern std::function<String()> PrinterDocumentsFolder;

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation v);   // ignored while printing
    int PageWidth();     // device pixels
    int PageHeight();
    int PageNumber() const { return FPageNumber; }
    String Title() const { return FTitle; }
    void SetTitle(const String& v) { FTitle = v; }
    // The PDF file of the next document; empty = the documents folder with
    // the title as the name.
    String FileName() const { return FFileName; }
    void SetFileName(const String& v) { FFileName = v; }
    // The file the last (or current) document went to.
    String OutputFile() const { return FOutput; }
    // DeviceCapabilities(DC_ORIENTATION): 90 unless configured 270.
    int OrientationAngle() const { return FAngle; }
    void SetOrientationAngle(int v) { FAngle = v == 270 ? 270 : 90; }

    void BeginDoc();
    void EndDoc();
    void NewPage();
    void Abort();
    TCanvas* Canvas();
    HDC Handle();

private:
    HDC FDC = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FPrinting = false, FAborted = false;
    TPrinterOrientation FOrientation = poPortrait;
    int FPageNumber = 0;
    String FTitle, FFileName, FOutput;
    int FAngle = 90;
};

// The process's printer.
TPrinter* Printer();
