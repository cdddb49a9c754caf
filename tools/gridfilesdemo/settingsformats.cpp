// The files demo's second half: the sample grid as XML and JSON, and the
// settings files (visual properties, column state, print settings) made
// from a restyled and rearranged copy, then read back into a grid of the
// window: the XML file into one, the look and the column layout into
// another.
#include "tools/gridfilesdemo/settingsformats.h"

#include <fstream>
#include <sstream>

#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"

namespace gridfilesdemo {

void WriteSettingsFormats(TVodStringGrid* Sample, TForm* Form, const String& Dir)
{
    RegisterAutomationServers();
    TStringList fields;
    for (const wchar_t* f : {L"row", L"item", L"price", L"qty", L"note"}) fields.Add(f);
    Sample->SaveToXML(Dir + L"grid.xml", L"grid", L"record", &fields, true);
    Sample->SaveToJSON(Dir + L"grid.json", L"record", &fields);

    // A copy restyled and rearranged: its look and layout are what the
    // settings files carry.
    auto* styler = CreateGrid<TVodStringGrid>(Form);
    styler->SetColCount(Sample->ColCount());
    styler->SetRowCount(Sample->RowCount());
    for (Integer c = 0; c < Sample->ColCount(); ++c) styler->SetColWidths(c, Sample->ColWidths(c));
    styler->ColumnOrder()->Clear();
    styler->SetLook(glCustom);
    styler->SetColor(TColor(0xD8F4FF));   // pale yellow
    styler->SetGridLineColor(TColor(0x3080E0));
    styler->SetSelectionColor(TColor(0xA0D0A0));
    styler->SaveVisualProps(Dir + L"grid-look.txt");
    styler->MoveColumn(4, 1);   // the note next to the item
    styler->HideColumn(4);      // the quantity hidden (real column 4 after the move)
    styler->SetColWidths(1, 150);
    std::ofstream(UTF8Encode(Dir + L"grid-columns.txt")) << UTF8Encode(styler->ColumnStatesToString());
    styler->ColumnSize()->SetLocation(TColumnSizeLocation::clIniFile);
    styler->ColumnSize()->SetKey(Dir + L"grid-columns.ini");
    styler->ColumnSize()->SetSection(L"Columns");
    styler->SaveColSizes();
    styler->SaveColPositions();
    styler->PrintSettings()->SetOrientation(poLandscape);
    styler->PrintSettings()->SetTitle(ppTopCenter);
    styler->PrintSettings()->TitleLines()->SetText(L"Grid files\r\nSample grid\r\n");
    styler->SavePrintSettings(Dir + L"grid-print.ini", L"Page");
    delete styler;
}

void ReadSettingsFormats(TVodStringGrid* FromXml, TVodStringGrid* FromSettings, const String& Dir)
{
    FromXml->LoadFromXML(Dir + L"grid.xml");
    // The binary file gives the cells; the look and the layout come from
    // their own files.
    FromSettings->LoadFromBinFile(Dir + L"grid.bin");
    FromSettings->LoadVisualProps(Dir + L"grid-look.txt");
    std::ifstream in(UTF8Encode(Dir + L"grid-columns.txt"));
    std::stringstream state;
    state << in.rdbuf();
    FromSettings->StringToColumnStates(UTF8ToString(state.str()));
    FromSettings->LoadPrintSettings(Dir + L"grid-print.ini", L"Page");
}

}  // namespace gridfilesdemo
