// The platform's grid family in one window, for looking at it on a real
// desktop (or a virtual X server). Before "READY left top width height"
// (the client area on the screen) it prints "POINT name x y rrggbb" lines:
// client points whose colour the smoke test checks. Runs until closed or
// its time is up.
//
//   griddemo [--seconds N]
//
// Client area 900 x 620 on the button face colour. Sections, each built by
// its own function into its own rectangle:
//   top (8, 8, 892, 308): a TStringGrid of 1,000,000 rows and 20 columns,
//     one fixed row of titles and one fixed column of row numbers, column 2
//     widened to 120, column 7 moved to place 3 (titles read Col 1, Col 2,
//     Col 7, Col 3, ...), scrolled near the end (top row 999,980), cells
//     (2..4, 999,983..999,986) selected, the editor open on the current cell
//     (4, 999,986) with the text "edited".
//   bottom right (600, 316, 892, 612): a list box filled through the
//     automation servers: the rows of a small SQLite database (made at
//     start in a temporary folder) read through the record set, then the
//     records of a small XML file read through the document object.
//   bottom left (8, 316, 592, 612): a TRichEdit on a light yellow ground,
//     loaded from RTF: a centred serif title, mixed fonts, sizes, colours
//     (dark red, blue, green), bold, italic, underline, strike-out, a
//     superscript, a subscript, text raised by an offset, a right-aligned
//     paragraph, a wrapped paragraph, and the word "selected" selected
//     (the selection stays visible while the grid has the focus).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sqlite3.h>
#include <unistd.h>

#include "platform/base/ComObj.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/os/AutomationServers.h"
#include "platform/ui/StdCtrls_List.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

constexpr int kRows = 1000000, kCols = 20;

// The grid with its line moves open to the demo.
class TDemoGrid : public TStringGrid {
public:
    explicit TDemoGrid(TComponent* o) : TStringGrid(o) {}
    using TCustomGrid::MoveColumn;
};

struct TPointCheck {
    const char* Name;
    TPoint At;     // form client
    TColor Colour;
};
std::vector<TPointCheck> gChecks;

TDemoGrid* gGrid = nullptr;
TRichEdit* gRich = nullptr;
constexpr TColor kRichGround = TColor(0xE0FFFF);   // light yellow

const char* const kRichText =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}{\\f2 Courier New;}}"
    "{\\colortbl;\\red176\\green0\\blue0;\\red0\\green64\\blue200;\\red0\\green128\\blue0;}"
    "\\qc\\f1\\fs36\\b Rich edit\\b0\\par "
    "\\ql\\f0\\fs20 Fonts: \\f1 Times New Roman\\f0 , \\f2 Courier New\\f0 , Arial.\\par "
    "Sizes: \\fs14 seven, \\fs24 twelve, \\fs32 sixteen\\fs20  points.\\par "
    "Colours: \\cf1 dark red\\cf0 , \\cf2 blue\\cf0 , \\cf3 green\\cf0 ; "
    "\\b bold\\b0 , \\i italic\\i0 , \\ul underlined\\ulnone , \\strike struck out\\strike0 .\\par "
    "Energy: E = mc\\super 2\\nosupersub ; water: H\\sub 2\\nosupersub O; "
    "\\up8 raised four points\\up0  by an offset.\\par "
    "\\qr A right-aligned paragraph.\\par "
    "\\ql A longer paragraph wraps at the width of the control, word by word, "
    "and a selected word shows the highlight while the grid has the focus.}";

void BuildStringGrid(TForm* form, const TRect& area)
{
    auto* g = new TDemoGrid(form);
    gGrid = g;
    g->SetParent(form);
    g->SetBoundsRect(area);
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    g->SetOptions(g->Options() + TGridOptions{goColSizing, goColMoving, goEditing, goThumbTracking});
    g->SetUpdating(true);
    for (int c = 1; c < kCols; ++c) g->SetCells(c, 0, L"Col " + IntToStr(c));
    g->SetCells(0, 0, L"Row");
    // Texts where the view is: the store keeps only the rows written.
    for (int r = kRows - 40; r < kRows; ++r) {
        g->SetCells(0, r, IntToStr(r));
        for (int c = 1; c < kCols; ++c) g->SetCells(c, r, L"R" + IntToStr(r % 1000) + L"C" + IntToStr(c));
    }
    g->SetUpdating(false);
    g->SetColWidths(2, 120);
    g->MoveColumn(7, 3);
    g->SetTopRow(kRows - 20);
    g->SetSelection(TGridRect{2, kRows - 17, 4, kRows - 14});
}

// After the window shows: the editor opens on the current cell.
void ShowStringGridEditor()
{
    gGrid->SetFocus();
    gGrid->SetEditorMode(true);
    if (TInplaceEdit* ed = gGrid->InplaceEditor()) {
        ed->SetText(L"edited");
        ed->SetSelStart(6);
    }
    const TPoint c = gGrid->ClientOrigin();
    const TPoint form = gGrid->Parent()->ClientOrigin();
    const int dx = c.X - form.X, dy = c.Y - form.Y;
    TRect fixed = gGrid->CellRect(3, 0);
    TRect sel = gGrid->CellRect(2, kRows - 16);
    TRect cur = gGrid->CellRect(4, kRows - 14);
    TRect plain = gGrid->CellRect(6, kRows - 10);
    gChecks = {
        {"fixed", {dx + fixed.Left + 40, dy + fixed.Top + 3}, clBtnFace},
        {"selected", {dx + sel.Right - 4, dy + sel.Top + 3}, clHighlight},
        {"editor", {dx + cur.Right - 6, dy + cur.Top + 3}, clWindow},
        {"plain", {dx + plain.Right - 4, dy + plain.Top + 3}, clWindow},
    };
}

// The list of the automation section: a database and an XML file are made
// in a temporary folder, then read back only through the late-bound servers.
void BuildAutomationList(TForm* form, const TRect& area)
{
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetBoundsRect(area);
    char tmpl[] = "/tmp/griddemo_XXXXXX";
    if (!mkdtemp(tmpl)) return;
    const std::string dir = tmpl;
    const std::string dbPath = dir + "/cities.db", xmlPath = dir + "/rivers.xml";
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.c_str(), &db) == SQLITE_OK)
        sqlite3_exec(db,
                     "CREATE TABLE city(name TEXT, people INTEGER, area REAL);"
                     "INSERT INTO city VALUES('Lisboa', 545923, 100.05), ('K\xc3\xb8" "benhavn', 653664, 88.25),"
                     "('Z\xc3\xbc" "rich', 421878, 87.88), ('Unknown', NULL, NULL);",
                     nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (FILE* f = fopen(xmlPath.c_str(), "wb")) {
        fputs("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<rivers>\n"
              "  <river length=\"1233\"><name>Rh\xf4ne &amp; Rhein</name></river>\n"
              "  <river length=\"2850\"><name>Donau</name></river>\n</rivers>\n",
              f);
        fclose(f);
    }
    TStrings* items = list->Items();
    try {
        Variant conn(CreateOleObject(L"ADODB.Connection"));
        conn.Call(L"Open", {L"Driver={Microsoft Access Driver (*.mdb)};DBQ=" + UTF8ToString(dbPath)});
        Variant rs(CreateOleObject(L"ADODB.RecordSet"));
        rs.Set(L"ActiveConnection", conn);
        rs.Call(L"Open", {L"SELECT name, people, area FROM city ORDER BY people DESC"});
        Variant fields = rs.Get(L"Fields");
        items->Add(L"Database: " + IntToStr(rs.Get(L"RecordCount").AsInteger()) + L" records");
        while (!rs.Get(L"Eof").AsBoolean()) {
            String line = L"  ";
            for (Integer i = 0; i < fields.Get(L"Count").AsInteger(); ++i) {
                Variant f = fields.Call(L"Item", {i});
                line += (i ? L" | " : L"") + (f.Get(L"ActualSize").AsInteger() > 0 ? VarToStr(f.Get(L"Value")) : L"-");
            }
            items->Add(line);
            rs.Call(L"MoveNext");
        }
        rs.Call(L"Close");
        conn.Call(L"Close");

        Variant doc(CreateOleObject(L"Microsoft.XMLDOM"));
        if (doc.Call(L"load", {UTF8ToString(xmlPath)}).AsBoolean()) {
            Variant rivers = doc.Get(L"documentElement").Get(L"childNodes");
            items->Add(L"XML: " + IntToStr(rivers.Get(L"length").AsInteger()) + L" records");
            for (Integer i = 0; i < rivers.Get(L"length").AsInteger(); ++i) {
                Variant river = rivers.Call(L"item", {i});
                items->Add(L"  " + VarToStr(river.Get(L"text")) + L" | " +
                           VarToStr(river.Get(L"attributes").Call(L"item", {0}).Get(L"text")) + L" km");
            }
        } else {
            items->Add(L"XML: " + VarToStr(doc.Get(L"parseError").Get(L"reason")));
        }
    } catch (const Exception& e) {
        items->Add(L"Error: " + e.Message());
    }
    unlink(dbPath.c_str());
    unlink(xmlPath.c_str());
    rmdir(dir.c_str());
}

void BuildRichEdit(TForm* form, const TRect& area)
{
    auto* r = new TRichEdit(form);
    gRich = r;
    r->SetParent(form);
    r->SetBoundsRect(area);
    r->SetColor(kRichGround);
    r->SetHideSelection(false);
    r->SetScrollBars(ssVertical);
    const std::string rtf = kRichText;
    TBytesStream in;
    in.WriteBuffer(rtf.data(), Integer(rtf.size()));
    in.SetPosition(0);
    r->Lines()->LoadFromStream(&in);
    const String text = r->Text();
    // Positions count a paragraph end once; the text has CRLF there.
    Integer pos = 0;
    const size_t at = text.find(L"selected");
    for (size_t i = 0; i < at; ++i) pos += text[i] == L'\n' ? 0 : 1;
    r->SetSelStart(pos);
    r->SetSelLength(8);
}

// After the window shows: where the rich edit's ground and selection are.
void AddRichEditChecks()
{
    const TPoint c = gRich->ClientOrigin();
    const TPoint form = gRich->Parent()->ClientOrigin();
    const int dx = c.X - form.X, dy = c.Y - form.Y;
    POINTL sel;
    SendMessage(gRich->Handle(), EM_POSFROMCHAR, WPARAM(&sel), LPARAM(gRich->SelStart() + 3));
    gChecks.push_back({"rich-ground", {dx + 20, dy + gRich->ClientHeight() - 6}, kRichGround});
    gChecks.push_back({"rich-selection", {dx + sel.x + 1, dy + sel.y + 3}, clHighlight});
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Grid family");
        SetBorderStyle(bsSingle);
        SetLeft(20);
        SetTop(20);
        SetClientWidth(900);
        SetClientHeight(620);
        BuildStringGrid(this, Rect(8, 8, 892, 308));
        BuildRichEdit(this, Rect(8, 316, 592, 612));
        BuildAutomationList(this, Rect(600, 316, 892, 612));
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("griddemo")) return 2;
    InitForms();
    RegisterAutomationServers();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    ShowStringGridEditor();
    AddRichEditChecks();
    RunDemoLoop(form, DemoSeconds(argc, argv), [] {
        for (const TPointCheck& c : gChecks) {
            const unsigned bgr = unsigned(ColorToRGB(c.Colour));
            const unsigned rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
            std::printf("POINT %s %d %d %06x\n", c.Name, c.At.X, c.At.Y, rgb);
        }
    });
    DoneForms();
    return 0;
}
