// The grid's print settings as one section of an INI file, so that an
// application can offer saved page layouts. Saving writes the file once;
// loading only reads it.
#include "controls/grid/VodGrid.h"
#include "platform/base/IniFiles.h"
#include "platform/base/SysUtils.h"

namespace {

const wchar_t* YN(bool B) { return B ? L"Y" : L"N"; }

Integer StyleBits(TFontStyles S)
{
    return (S.Contains(fsBold) ? 1 : 0) | (S.Contains(fsItalic) ? 2 : 0) | (S.Contains(fsUnderline) ? 4 : 0) |
           (S.Contains(fsStrikeOut) ? 8 : 0);
}

TFontStyles BitsStyle(Integer B)
{
    TFontStyles s;
    if (B & 1) s.Include(fsBold);
    if (B & 2) s.Include(fsItalic);
    if (B & 4) s.Include(fsUnderline);
    if (B & 8) s.Include(fsStrikeOut);
    return s;
}

void WriteFont(TMemIniFile& Ini, const String& Section, const String& Prefix, TFont* F)
{
    Ini.WriteString(Section, Prefix + L"Name", F->Name());
    Ini.WriteInteger(Section, Prefix + L"Size", F->Size());
    Ini.WriteInteger(Section, Prefix + L"Style", StyleBits(F->Style()));
    Ini.WriteInteger(Section, Prefix + L"Color", Integer(F->Color()));
}

void ReadFont(TMemIniFile& Ini, const String& Section, const String& Prefix, TFont* F)
{
    F->SetName(Ini.ReadString(Section, Prefix + L"Name", L"Arial"));
    F->SetSize(Ini.ReadInteger(Section, Prefix + L"Size", 10));
    F->SetStyle(BitsStyle(Ini.ReadInteger(Section, Prefix + L"Style", 0)));
    F->SetColor(TColor(Ini.ReadInteger(Section, Prefix + L"Color", 0)));
}

}  // namespace

void TVodStringGrid::SavePrintSettings(const String& Key, const String& Section)
{
    TPrintSettings* p = FPrintSettings.get();
    TMemIniFile ini(Key);
    const String& s = Section;
    ini.WriteInteger(s, L"ColumnSpacing", p->ColumnSpacing());
    ini.WriteInteger(s, L"RowSpacing", p->RowSpacing());
    ini.WriteInteger(s, L"TitleSpacing", p->TitleSpacing());
    ini.WriteInteger(s, L"FixedHeight", p->FixedHeight());
    ini.WriteInteger(s, L"FixedWidth", p->FixedWidth());
    ini.WriteString(s, L"Centered", YN(p->Centered()));
    ini.WriteString(s, L"NoAutoSize", YN(p->NoAutoSize()));
    ini.WriteString(s, L"NoAutoSizeRow", YN(p->NoAutoSizeRow()));
    ini.WriteString(s, L"UseFixedHeight", YN(p->UseFixedHeight()));
    ini.WriteString(s, L"UseFixedWidth", YN(p->UseFixedWidth()));
    ini.WriteString(s, L"RepeatFixedRows", YN(p->RepeatFixedRows()));
    ini.WriteString(s, L"RepeatFixedCols", YN(p->RepeatFixedCols()));
    ini.WriteString(s, L"UseDisplFont", YN(p->UseDisplayFont()));
    ini.WriteString(s, L"UseDefOrientation", YN(p->UseDefaultOrientation()));
    ini.WriteInteger(s, L"Borders", Integer(p->Borders()));
    ini.WriteInteger(s, L"BorderColor", Integer(p->BorderColor()));
    ini.WriteInteger(s, L"BorderStyle", Integer(p->BorderStyle()));
    ini.WriteInteger(s, L"Date", Integer(p->Date()));
    ini.WriteInteger(s, L"PageNr", Integer(p->PageNr()));
    ini.WriteInteger(s, L"Title", Integer(p->Title()));
    ini.WriteInteger(s, L"Time", Integer(p->Time()));
    ini.WriteString(s, L"DateFormat", p->DateFormat());
    ini.WriteString(s, L"TitleText", p->TitleText());
    ini.WriteInteger(s, L"FooterSize", p->FooterSize());
    ini.WriteInteger(s, L"HeaderSize", p->HeaderSize());
    ini.WriteInteger(s, L"LeftSize", p->LeftSize());
    ini.WriteInteger(s, L"RightSize", p->RightSize());
    ini.WriteInteger(s, L"FitToPage", Integer(p->FitToPage()));
    WriteFont(ini, s, L"Font", p->Font());
    WriteFont(ini, s, L"HeaderFont", p->HeaderFont());
    WriteFont(ini, s, L"FooterFont", p->FooterFont());
    ini.WriteString(s, L"PageNumSep", p->PageNumSep());
    ini.WriteString(s, L"PageSuffix", p->PageSuffix());
    ini.WriteString(s, L"PagePrefix", p->PagePrefix());
    ini.WriteInteger(s, L"Orientation", Integer(p->Orientation()));
    // One line: carriage returns as backslash-n, line feeds dropped.
    String title;
    for (Char c : p->TitleLines()->Text()) {
        if (c == L'\r')
            title += L"\\n";
        else if (c != L'\n')
            title += c;
    }
    ini.WriteString(s, L"TitleLines", title);
    ini.WriteString(s, L"PrintGraphics", YN(p->PrintGraphics()));
    ini.UpdateFile();
}

void TVodStringGrid::LoadPrintSettings(const String& Key, const String& Section)
{
    TPrintSettings* p = FPrintSettings.get();
    TMemIniFile ini(Key);
    const String& s = Section;
    auto yes = [&](const wchar_t* K, const wchar_t* Def) { return ini.ReadString(s, K, Def) == L"Y"; };
    auto num = [&](const wchar_t* K, Integer Def) { return ini.ReadInteger(s, K, Def); };
    p->SetColumnSpacing(num(L"ColumnSpacing", 20));
    p->SetRowSpacing(num(L"RowSpacing", 20));
    p->SetTitleSpacing(num(L"TitleSpacing", 20));
    p->SetFixedHeight(num(L"FixedHeight", 0));
    p->SetFixedWidth(num(L"FixedWidth", 0));
    p->SetCentered(yes(L"Centered", L"Y"));
    p->SetNoAutoSize(yes(L"NoAutoSize", L"N"));
    p->SetNoAutoSizeRow(yes(L"NoAutoSizeRow", L"N"));
    p->SetUseFixedHeight(yes(L"UseFixedHeight", L"N"));
    p->SetUseFixedWidth(yes(L"UseFixedWidth", L"N"));
    p->SetRepeatFixedRows(yes(L"RepeatFixedRows", L"N"));
    p->SetRepeatFixedCols(yes(L"RepeatFixedCols", L"N"));
    p->SetUseDisplayFont(yes(L"UseDisplFont", L"N"));
    p->SetUseDefaultOrientation(yes(L"UseDefOrientation", L"N"));
    p->SetDateFormat(ini.ReadString(s, L"DateFormat", L""));
    p->SetTitleText(ini.ReadString(s, L"TitleText", L""));
    p->SetFooterSize(num(L"FooterSize", 100));
    p->SetHeaderSize(num(L"HeaderSize", 100));
    p->SetLeftSize(num(L"LeftSize", 100));
    p->SetRightSize(num(L"RightSize", 100));
    p->SetPageNumSep(ini.ReadString(s, L"PageNumSep", L""));
    p->SetPageSuffix(ini.ReadString(s, L"PageSuffix", L""));
    p->SetPagePrefix(ini.ReadString(s, L"PagePrefix", L""));
    p->SetPrintGraphics(yes(L"PrintGraphics", L"N"));
    // Ordinals outside their range leave the property as it is; a position
    // outside its range is none.
    const Integer borders = num(L"Borders", 0);
    if (borders >= pbNoborder && borders <= pbCustom) p->SetBorders(TPrintBorders(borders));
    const Integer style = num(L"BorderStyle", 0);
    if (style >= psSolid && style <= psInsideFrame) p->SetBorderStyle(TPenStyle(style));
    p->SetBorderColor(TColor(num(L"BorderColor", 0)));
    auto position = [&](const wchar_t* K) {
        const Integer v = num(K, 0);
        return v >= ppNone && v <= ppBottomCenter ? TPrintPosition(v) : ppNone;
    };
    p->SetDate(position(L"Date"));
    p->SetPageNr(position(L"PageNr"));
    p->SetTitle(position(L"Title"));
    p->SetTime(position(L"Time"));
    const Integer fit = num(L"FitToPage", 0);
    if (fit >= fpNever && fit <= fpCustom) p->SetFitToPage(TFitToPage(fit));
    ReadFont(ini, s, L"Font", p->Font());
    ReadFont(ini, s, L"HeaderFont", p->HeaderFont());
    ReadFont(ini, s, L"FooterFont", p->FooterFont());
    String title = ini.ReadString(s, L"TitleLines", L"");
    for (size_t i = title.find(L"\\n"); i != String::npos; i = title.find(L"\\n", i + 1)) title.replace(i, 2, L"\r");
    p->TitleLines()->SetText(title);
    const Integer orientation = num(L"Orientation", 0);
    if (orientation == poPortrait || orientation == poLandscape)
        p->SetOrientation(TPrinterOrientation(orientation));
}
