// The list drop-downs: a detail list (images and markup notes), the colour
// picker in its four styles (list, palette, honeycomb, spectrum), an image
// picker over a folder of pictures, a multi-column list of three columns
// (one of images), a grid drop-down sorted with a search footer and a
// control drop-down hosting a month calendar.
//
// Before "READY left top width height" it prints "AT name ax ay ex ey" for
// each drop-down (the screen centres of its arrow and of its edit). While it
// runs it prints "DROPPED name left top width height" when a window opens
// (for the multi-column list also "ROWS multi x y height": the screen
// centre of its first data row and the row height) and "UP name
// accepted|cancelled value" when one closes; at the end "VALUE name value"
// for each.
//
//   listdropdowndemo [--seconds N] [--open NAME] [--pictures FOLDER]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "controls/dropdown/ColorPickerDropDown.h"
#include "controls/dropdown/ControlDropDown.h"
#include "controls/dropdown/DetailDropDown.h"
#include "controls/dropdown/ImagePickerDropDown.h"
#include "controls/dropdown/MultiColumnDropDown.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "tools/DemoLoop.h"
#include "tools/listdropdowndemo/GridDropDownSetup.h"

namespace {

std::string Utf8(const String& s)
{
    std::string out;
    for (wchar_t c : s) out += c < 0x80 && c >= 0x20 ? char(c) : '?';
    return out;
}

// The platform's month calendar window as a control.
class TDemoMonthCalendar : public TWinControl {
public:
    explicit TDemoMonthCalendar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 230, 170); }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        CreateSubClass(Params, MONTHCAL_CLASS);
    }
};

// Small coloured squares with a mark, for the image list.
void FillImages(TImageList* il)
{
    il->SetWidth(16);
    il->SetHeight(16);
    const TColor colors[] = {TColor(0x3050D0), TColor(0x30A040), TColor(0xD08030), TColor(0x30A0E0)};
    for (TColor c : colors) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(clFuchsia);
        b.Canvas()->FillRect(TRect{0, 0, 16, 16});
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->Pen()->SetColor(clBlack);
        b.Canvas()->Ellipse(1, 1, 15, 15);
        il->AddMasked(&b, clFuchsia);
    }
}

struct TEntry {
    const char* Name;
    TVodCustomDropDown* Edit;
    std::function<String()> Value;
};

String Hex(TColor c) { return c == clNone ? String(L"none") : IntToHex(Integer(c), 6); }

class TDemoForm : public TForm {
public:
    std::vector<TEntry> Entries;
    TImageList* Images = nullptr;

    TDemoForm(TComponent* owner, const String& pictures) : TForm(owner)
    {
        SetCaption(L"List drop-downs");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(760);
        SetClientHeight(460);
        SetColor(TColor(0xF4F0EC));
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);
        Images = new TImageList(this);
        FillImages(Images);

        // The detail list.
        auto* detail = Add<TVodDetailDropDown>("detail", 120, 20, L"Detail:");
        detail->SetImages(Images);
        detail->SetItemHeight(40);
        detail->SetDropDownWidth(260);
        detail->SetDropDownHeight(170);
        detail->NotesFont()->SetColor(TColor(0x606060));
        const wchar_t* details[][2] = {
            {L"Velmora", L"The <b>own</b> site, with <font color=\"#C00000\">page extraction</font>"},
            {L"Streamhall", L"Recognised by its <i>host name</i>"},
            {L"Clipworks", L"Recognised, <u>no extraction</u>"},
            {L"Vidnest", L"Recognised, keyword <b>watch</b>"},
        };
        for (int i = 0; i < 4; ++i) {
            TDetailItem* it = detail->Items()->Add();
            it->SetCaption(details[i][0]);
            it->SetNotes(details[i][1]);
            it->SetImageIndex(i);
        }
        detail->SetItemIndex(0);
        Value(detail, [detail] { return detail->Text() + L" #" + IntToStr(detail->ItemIndex()); });

        // The colour picker in its four styles.
        const struct {
            const char* Name;
            TColorSelectionStyle Style;
            const wchar_t* Caption;
            TColorValueText Text;
        } pickers[] = {{"colorlist", csList, L"Colour list:", cvtNone},
                       {"palette", csDiscrete, L"Palette:", cvtHTML},
                       {"cube", csColorCube, L"Honeycomb:", cvtRGB},
                       {"spectrum", csSpectrum, L"Spectrum:", cvtWebName}};
        int y = 60;
        for (auto& p : pickers) {
            auto* c = Add<TVodColorPickerDropDown>(p.Name, 120, y, p.Caption);
            c->AddDefaultColors();
            c->SetColorValueText(p.Text);
            c->SetColorSelectionStyle(p.Style);
            c->SetSelectedColor(p.Style == csList ? TColor(0x008000) : TColor(0x0000FF));
            Value(c, [c] { return Hex(c->SelectedColor()) + L" " + c->SelectedColorText(); });
            y += 40;
        }

        // The image picker over a folder of pictures.
        auto* image = Add<TVodImagePickerDropDown>("image", 120, 230, L"Picture:");
        image->SetColumns(2);
        image->SetLayout(ilCaptionBottom);
        if (!pictures.empty()) image->AddImagesFromFolder(IncludeTrailingPathDelimiter(pictures) + L"*.*", true);
        image->SetHeight(28);
        // The first entry with a picture ("." and ".." come first and have none).
        for (Integer k = 0; k < image->Items()->Count(); ++k)
            if (!image->Items()->Items(k)->Image()->Empty()) {
                image->SetItemIndex(k);
                break;
            }
        Value(image, [image] { return IntToStr(image->ItemIndex()); });

        // The multi-column list, the first column of images.
        auto* multi = Add<TVodMultiColumnDropDown>("multi", 470, 20, L"Site:");
        multi->SetImages(Images);
        const struct {
            const wchar_t* Header;
            Integer Width;
            MultiColDropDown::TColumnType Type;
        } cols[] = {{L"", 28, MultiColDropDown::ctImage}, {L"Site", 110, MultiColDropDown::ctText},
                    {L"Country", 90, MultiColDropDown::ctText}};
        for (auto& c : cols) {
            MultiColDropDown::TDropDownColumn* col = multi->Columns()->Add();
            col->SetHeader(c.Header);
            col->SetWidth(c.Width);
            col->SetColumnType(c.Type);
        }
        multi->Columns()->Items(2)->SetColor(TColor(0xF4FFF4));
        const wchar_t* sites[][2] = {{L"Velmora", L"Corvantia"},  {L"Streamhall", L"Norland"},
                                     {L"Clipworks", L"Ostmark"},  {L"Vidnest", L"Corvantia"},
                                     {L"Reelbay", L"Sudania"},    {L"Framefold", L"Norland"},
                                     {L"Clipstead", L"Westholm"}, {L"Tubewright", L"Ostmark"}};
        int i = 0;
        for (auto& s : sites) {
            MultiColDropDown::TDropDownItem* it = multi->Items()->Add();
            it->Text()->Add(L"");
            it->Text()->Add(s[0]);
            it->Text()->Add(s[1]);
            it->SetImageIndex(i++ % 4);
        }
        multi->SetLookupColumn(1);
        multi->EndUpdate();
        multi->DropDownHeader()->SetVisible(false);
        multi->DropDownFooter()->SetVisible(false);
        Value(multi, [multi] { return multi->Text() + L" #" + IntToStr(multi->ItemIndex()); });
        multi->DropDownForm()->OnShow = [this, multi](TObject*) {
            Dropped("multi", multi);
            auto* g = multi->ListGrid();
            TRect r = g->CellRect(1, 1);
            TPoint p = g->ClientToScreen(TPoint{r.Left + 20, (r.Top + r.Bottom) / 2});
            std::printf("ROWS multi %d %d %d\n", p.X, p.Y, g->RowHeights(1));
            std::fflush(stdout);
        };

        // The grid list, sorted, with a search footer.
        TVodCustomDropDown* grid = Place("grid", CreateGridDropDown(this), 470, 120, L"Grid:");
        Value(grid, [grid] { return GridDropDownValue(grid); });
        grid->DropDownForm()->OnShow = [this, grid](TObject*) {
            Dropped("grid", grid);
            PrintGridDropDownPoints(grid);
        };

        // The control drop-down with a month calendar.
        RegisterDateTimeClasses();
        auto* control = Add<TVodControlDropDown>("calendar", 470, 70, L"Calendar:");
        auto* cal = new TDemoMonthCalendar(control);
        control->SetControl(cal);
        control->SetText(L"(a month calendar)");
        control->DropDownHeader()->SetCaption(L"<b>Pick a day</b>");
        control->DropDownFooter()->SetVisible(false);
        Value(control, [control] { return control->Text(); });
    }

private:
    void Dropped(const char* name, TVodCustomDropDown* d)
    {
        TDropDownForm* f = d->DropDownForm();
        std::printf("DROPPED %s %d %d %d %d\n", name, f->Left(), f->Top(), f->Width(), f->Height());
        std::fflush(stdout);
    }
    template <class T>
    T* Add(const char* name, int x, int y, const String& caption)
    {
        return Place(name, CreateDropDown<T>(this), x, y, caption);
    }
    template <class T>
    T* Place(const char* name, T* d, int x, int y, const String& caption)
    {
        d->SetParent(this);
        d->SetBounds(x, y, 200, 22);
        d->SetLabelPosition(lpLeftCenter);
        d->SetLabelCaption(caption);
        Entries.push_back({name, d, {}});
        d->DropDownForm()->OnShow = [this, name, d](TObject*) { Dropped(name, d); };
        return d;
    }
    // The value is printed once the closing is over (a cancel restores the
    // choice after the drop-up notice): by a message posted to the form.
    void Value(TVodCustomDropDown* d, std::function<String()> v)
    {
        TEntry& e = Entries.back();
        e.Value = std::move(v);
        const size_t index = Entries.size() - 1;
        d->OnDropUp = [this, index](TObject*, bool cancelled) {
            if (HandleAllocated()) PostMessage(Handle(), WM_APP, WPARAM(index), LPARAM(cancelled ? 1 : 0));
        };
    }

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_APP && M.WParam < Entries.size()) {
            const TEntry& e = Entries[M.WParam];
            std::printf("UP %s %s %s\n", e.Name, M.LParam ? "cancelled" : "accepted", Utf8(e.Value()).c_str());
            std::fflush(stdout);
            return;
        }
        TForm::Dispatch(M);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = DemoSeconds(argc, argv);
    std::string open;
    String pictures;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--open") == 0 && i + 1 < argc) open = argv[++i];
        if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) pictures = UTF8ToString(argv[++i]);
    }
    if (!StartDemoBackend("listdropdowndemo")) return 1;
    VodLibraryStartup();
    InitForms();
    auto* form = new TDemoForm(Application, pictures);
    form->Init();
    form->Show();
    RunDemoLoop(form, seconds, [&] {
        for (const TEntry& e : form->Entries) {
            TDropDownEditButton* b = e.Edit->Button();
            TPoint a = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
            TPoint c = e.Edit->ClientToScreen(TPoint{30, e.Edit->ClientHeight() / 2});
            std::printf("AT %s %d %d %d %d\n", e.Name, a.X, a.Y, c.X, c.Y);
        }
        for (const TEntry& e : form->Entries)
            if (open == e.Name) {
                e.Edit->SetFocus();
                e.Edit->ShowDropDown();
                WmUpdateAllWindows();
            }
    });
    for (const TEntry& e : form->Entries)
        std::printf("VALUE %s %s\n", e.Name, Utf8(e.Value ? e.Value() : e.Edit->Text()).c_str());
    std::fflush(stdout);
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
