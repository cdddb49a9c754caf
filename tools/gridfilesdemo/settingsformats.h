// The files demo's XML, JSON and settings files (see settingsformats.cpp).
#pragma once

#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"

namespace gridfilesdemo {

// grid.xml, grid.json, grid-look.txt, grid-columns.txt, grid-columns.ini and
// grid-print.ini in Dir (which ends with "/").
void WriteSettingsFormats(TVodStringGrid* Sample, TForm* Form, const String& Dir);
// The XML file into FromXml; the binary cells with the look and column
// state files into FromSettings.
void ReadSettingsFormats(TVodStringGrid* FromXml, TVodStringGrid* FromSettings, const String& Dir);

}  // namespace gridfilesdemo
