// The edit box's look: label placement, colour states, overlays, the
// transparent example edit and the link look.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "VodEditTestSupport.h"
#include "platform/os/Shell.h"

namespace {

class VodEditLookTest : public VodEditTestBase {};

// Exposes the overlay drawing so it can be recorded.
class TProbeEdit : public TVodEdit {
public:
    using TVodEdit::TVodEdit;
    using TVodEdit::DrawOverlay;
};

std::vector<TGdiRecord> RecordOverlay(TProbeEdit* e)
{
    HDC dc = CreateCompatibleDC(nullptr);
    GdiStartRecording(dc);
    e->DrawOverlay(dc);
    std::vector<TGdiRecord> r = GdiRecords(dc);
    GdiStopRecording(dc);
    DeleteDC(dc);
    return r;
}

int Count(const std::vector<TGdiRecord>& r, const String& kind)
{
    int n = 0;
    for (const TGdiRecord& x : r) n += x.Kind == kind;
    return n;
}

}  // namespace

TEST_F(VodEditLookTest, LabelPlacementTable)
{
    using namespace VodEdit;
    TVodEdit* e = NewEdit(etString, 200, 100);   // 160 x 24, single border
    e->SetLabelCaption(L"Name");                 // 4 characters: 32 wide, 16 high
    TVodEditLabel* l = e->EditLabel();
    ASSERT_NE(l, nullptr);
    const int W = 32, H = l->Height(), LW = l->Width(), E = 24, B = 2, M = 4;
    const int centre = 100 + (E - B - H) / 2;
    struct Case {
        TLabelPosition pos;
        int left, top;
    };
    const Case cases[] = {
        {lpLeftTop, 200 - W - M, 100},          {lpLeftCenter, 200 - W - M, centre},
        {lpLeftBottom, 200 - W - M, 100 + E - H}, {lpTopLeft, 200, 100 - H - M},
        {lpBottomLeft, 200, 100 + E + M},       {lpLeftTopLeft, 200 - M, 100},
        {lpLeftCenterLeft, 200 - M, centre},     {lpLeftBottomLeft, 200 - M, 100 + E - H},
        {lpTopCenter, 200 + (160 - LW) / 2, 100 - H - M}, {lpBottomCenter, 200 + (160 - LW) / 2, 100 + E + M},
        {lpRightTop, 200 + 160 + M, 100},       {lpRightCenter, 200 + 160 + M, centre},
        {lpRighBottom, 200 + 160 + M, 100 + E - H}, {lpTopRight, 200 + 160 - LW, 100 - H - M},
        {lpBottomRight, 200 + 160 - LW, 100 + E + M},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.pos));
        e->SetLabelPosition(c.pos);
        EXPECT_EQ(l->Left(), c.left);
        EXPECT_EQ(l->Top(), c.top);
    }
    // A label taller than the edit sits above its top by half the difference
    // plus the border term.
    e->SetHeight(12);
    e->SetLabelPosition(lpLeftCenter);
    EXPECT_EQ(l->Top(), 100 - (B + H - 12) / 2);
    // The label follows the edit's visibility and is freed with it.
    e->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    delete e;
}

TEST_F(VodEditLookTest, ColourStates)
{
    TVodEdit* e = NewEdit();
    TVodEdit* other = NewEdit(etString, 100, 60);
    e->SetFocusColor(clYellow);
    e->SetFocus();
    Drv->Pump();
    EXPECT_EQ(e->Color(), clYellow);
    e->SetColor(clAqua);   // written while focused: shows after the focus leaves
    other->SetFocus();
    Drv->Pump();
    EXPECT_EQ(e->Color(), clAqua);

    // Disabling and enabling restores the colour shown before, the error
    // colour included.
    e->SetShowError(true);
    e->SetEditType(etNumeric);
    e->SetMinValue(1);
    e->SetMaxValue(5);
    e->SetText(L"9");
    EXPECT_TRUE(e->IsError());
    EXPECT_EQ(e->Color(), clRed);
    e->SetEnabled(false);
    EXPECT_EQ(e->Color(), clSilver);
    e->SetEnabled(true);
    EXPECT_EQ(e->Color(), clRed);
    e->SetText(L"3");
    EXPECT_FALSE(e->IsError());
    EXPECT_EQ(e->Color(), clAqua);

    // Enabling an enabled edit changes nothing, not even the width.
    int resized = 0;
    e->OnResize = [&](TObject*) { ++resized; };
    e->SetEnabled(true);
    EXPECT_EQ(resized, 0);
}

TEST_F(VodEditLookTest, OverlaysOnTheRecordingCanvas)
{
    auto* e = new TProbeEdit(Form);
    e->SetParent(Form);
    e->SetBounds(100, 20, 160, 24);
    e->HandleNeeded();
    TVodEdit* other = NewEdit(etString, 100, 60);
    other->SetFocus();
    Drv->Pump();

    // Prompt: grey text at (3, 2) while empty.
    e->SetEmptyText(L"type here");
    auto r = RecordOverlay(e);
    bool prompt = false;
    for (const TGdiRecord& x : r)
        if (x.Kind == L"TextOut" && x.Text == L"type here") {
            prompt = true;
            EXPECT_EQ(x.Rect.Left, 3);
            EXPECT_EQ(x.Rect.Top, 2);
            EXPECT_EQ(x.Color, COLORREF(ColorToRGB(clGray)));
        }
    EXPECT_TRUE(prompt);
    e->SetText(L"x");
    EXPECT_EQ(Count(RecordOverlay(e), L"TextOut"), 0);

    // Flat: one line under the text; soft border: a closed outline.
    e->SetFlat(true);
    r = RecordOverlay(e);
    int lines = 0;
    for (const TGdiRecord& x : r)
        if (x.Kind == L"LineTo" || x.Kind == L"Polyline") ++lines;
    EXPECT_GE(lines, 1);
    e->SetSoftBorder(true);
    r = RecordOverlay(e);
    bool outline = false;
    for (const TGdiRecord& x : r)
        if (x.Kind == L"Polyline" && x.Points.size() == 5) outline = x.Points.front() == x.Points.back();
    EXPECT_TRUE(outline);

    // Error zigzag: a red 3-pixel step line under the marked characters,
    // only while the edit is not focused.
    e->SetFlat(false);
    e->SetText(L"abcdef");
    e->SetErrorMarkerPos(1);
    e->SetErrorMarkerLen(3);
    r = RecordOverlay(e);
    std::vector<TPoint> zig;
    for (const TGdiRecord& x : r)
        if (x.Kind == L"LineTo" && x.Color == COLORREF(ColorToRGB(clRed))) zig.insert(zig.end(), x.Points.begin(), x.Points.end());
    ASSERT_GE(zig.size(), 3u);
    EXPECT_EQ(zig[1].X - zig[0].X, 3);
    e->SetFocus();
    Drv->Pump();
    r = RecordOverlay(e);
    int red = 0;
    for (const TGdiRecord& x : r) red += x.Kind == L"LineTo" && x.Color == COLORREF(ColorToRGB(clRed));
    EXPECT_EQ(red, 0);
}

TEST_F(VodEditLookTest, TransparentBorderlessExampleShowsTheParentColour)
{
    TVodEdit* e = NewEdit();
    e->SetReadOnly(true);
    e->SetBorderStyle(bsNone);
    e->SetTransparent(true);
    e->SetText(L"http://example");
    e->HandleNeeded();
    Drv->Pump();
    // Right of the text: the form's colour shows through, no frame drawn.
    EXPECT_EQ(PixelAt(e->Handle(), 150, 12), Rgb(TColor(0xE0E0E0)));
    EXPECT_EQ(PixelAt(e->Handle(), 0, 0), Rgb(TColor(0xE0E0E0)));
}

TEST_F(VodEditLookTest, LinkLookAndWhatTheClickOpens)
{
    char tmpl[] = "/tmp/velmora-editlink-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, log = dir + "/open.log";
    std::ofstream(dir + "/opener.sh") << "printf '%s\\n' \"$1\" >> '" << log << "'\n";
    SetShellOpenCommand({L"/bin/sh", UTF8ToString(dir + "/opener.sh")});

    TVodEdit* e = NewEdit();
    e->SetShowURL(true);
    e->SetFocus();
    Drv->Pump();
    // www. turns the look on with its fourth character; "@" only from the second.
    Type(e, L"www");
    EXPECT_EQ(e->Cursor(), crDefault);
    Type(e, L".");
    EXPECT_EQ(e->Cursor(), crHandPoint);
    EXPECT_TRUE(e->Font()->Style().Contains(fsUnderline));
    e->SetText(L"");
    EXPECT_FALSE(e->Font()->Style().Contains(fsUnderline));
    e->SetText(L"@x");
    EXPECT_EQ(e->Cursor(), crDefault);

    struct Case {
        const wchar_t* text;
        const char* opened;   // "" when nothing may be opened
    };
    const Case cases[] = {{L"HTTPS://a.example/x", "HTTPS://a.example/x"}, {L"www.b.example", "http://www.b.example"},
                          {L"me@c.example", "mailto:me@c.example"}, {L"file://etc/passwd", ""},
                          {L"javascript://x", ""}};
    int urlClicks = 0;
    e->OnURLClick = [&](TObject*, const String&, bool&) { ++urlClicks; };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.text));
        std::filesystem::remove(log);
        e->SetText(c.text);
        Drv->ClickWindow(e->Handle(), {20, 8});
        Drv->Pump();
        std::string got;
        for (int i = 0; i < 100 && got.empty() && *c.opened; ++i) {
            std::ifstream in(log);
            std::getline(in, got);
            if (got.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!*c.opened) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(log);
        std::getline(in, got);
        EXPECT_EQ(got, c.opened);
    }
    EXPECT_EQ(urlClicks, 5);
    SetShellOpenCommand({});
    std::filesystem::remove_all(dir);
}
