// The image picker: ItemIndex and ImageIndex, items from a folder of real
// pictures (a folder and a broken file among them) and from an image list,
// keys and wheel, cancelling, the picture in the edit.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include <filesystem>
#include <fstream>

#include "controls/dropdown/ImagePickerDropDown.h"
#include "platform/gfx/ImageList.h"

namespace fs = std::filesystem;

namespace {

class ImagePicker : public DropDownFormTest {
protected:
    void TearDown() override
    {
        if (!Dir.empty()) fs::remove_all(Dir);
        DropDownFormTest::TearDown();
    }
    TVodImagePickerDropDown* MakePicker()
    {
        auto* p = Make<TVodImagePickerDropDown>(20, 40, 120);
        p->OnSelect = [this](TObject*) { ++Selects; };
        p->OnChange = [this](TObject*) { ++Changes; };
        return p;
    }
    // A folder with a picture of each format, a sub-folder and a file that
    // is no picture.
    String MakeFolder()
    {
        Dir = fs::temp_directory_path() / ("lists_pictures_" + std::to_string(::getpid()));
        fs::create_directories(Dir / "b_folder.png");
        const fs::path data = fs::path(VEL_TEST_DATA_DIR);
        fs::copy_file(data / "images" / "bmp24.bmp", Dir / "a_bmp24.bmp");
        fs::copy_file(data / "images" / "rgba.png", Dir / "c_rgba.png");
        fs::copy_file(data / "pictures" / "quad16.jpg", Dir / "d_quad16.jpg");
        fs::copy_file(data / "pictures" / "anim3.gif", Dir / "e_anim3.gif");
        fs::copy_file(data / "pictures" / "quad16.ico", Dir / "f_quad16.ico");
        std::ofstream(Dir / "g_broken.png") << "not a picture";
        return UTF8ToString(Dir.string()) + L"/";
    }
    fs::path Dir;
    int Selects = 0, Changes = 0;
};

}  // namespace

TEST_F(ImagePicker, ItemIndexAndImageIndex)
{
    auto* p = MakePicker();
    for (int i = 0; i < 3; ++i) p->Items()->Add()->SetImageIndex(10 + i);
    p->SetItemIndex(1);
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Changes, 1);
    p->SetItemIndex(1);  // the same: no event
    p->SetItemIndex(3);  // the count: no event
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(p->ImageIndex(), 11);
    p->SetImageIndex(12);
    EXPECT_EQ(p->ItemIndex(), 2);
    p->SetImageIndex(99);  // no item has it: the selection goes
    EXPECT_EQ(p->ItemIndex(), -1);
    EXPECT_EQ(p->ImageIndex(), -1);
    EXPECT_EQ(Selects, 3);
    EXPECT_EQ(Changes, 3);
    p->SelectPrevious();
    EXPECT_EQ(p->ItemIndex(), 0);
    p->SelectLast();
    p->SelectNext();
    EXPECT_EQ(p->ItemIndex(), 2);
}

TEST_F(ImagePicker, ItemsFromAFolderAndFromAnImageList)
{
    auto* p = MakePicker();
    const String dir = MakeFolder();
    p->AddImagesFromFolder(dir + L"*.*", true);
    // Every entry, in name order, the folders included ("." and ".." too,
    // as the platform lists them) with an empty picture, as the broken file.
    ASSERT_EQ(p->Items()->Count(), 9);
    struct {
        Integer Index;
        const wchar_t* Caption;
        bool Picture;
    } want[] = {
        {0, L"", false}, {1, L"", false},
        {2, L"a_bmp24.bmp", true}, {3, L"", false},          {4, L"c_rgba.png", true},
        {5, L"d_quad16.jpg", true}, {6, L"e_anim3.gif", true}, {7, L"f_quad16.ico", true},
        {8, L"", false},
    };
    for (auto& w : want) {
        TImageItem* it = p->Items()->Items(w.Index);
        EXPECT_EQ(it->Caption(), w.Caption) << w.Index;
        EXPECT_EQ(!it->Image()->Empty(), w.Picture) << w.Index;
    }
    // Without captions; a mask that matches one entry; a missing folder.
    p->Items()->Clear();
    p->AddImagesFromFolder(dir + L"*.jpg", false);
    ASSERT_EQ(p->Items()->Count(), 1);
    EXPECT_EQ(p->Items()->Items(0)->Caption(), L"");
    p->AddImagesFromFolder(dir + L"nowhere/*.*", true);
    EXPECT_EQ(p->Items()->Count(), 1);

    // An image list of five adds ImageIndex 0 to 4 after what is there.
    p->AddImagesFromImageList();  // no list: nothing
    EXPECT_EQ(p->Items()->Count(), 1);
    TImageList il(Form);
    il.SetWidth(8);
    il.SetHeight(8);
    TBitmap strip;
    strip.SetSize(40, 8);
    il.Add(&strip, nullptr);
    ASSERT_EQ(il.Count(), 5);
    p->SetImages(&il);
    p->AddImagesFromImageList();
    ASSERT_EQ(p->Items()->Count(), 6);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(p->Items()->Items(1 + i)->ImageIndex(), i);
    p->SetImages(nullptr);
}

TEST_F(ImagePicker, KeysWheelAndCancel)
{
    auto* p = MakePicker();
    for (const wchar_t* c : {L"Apple", L"Banana", L"Cherry", L"Cress", L"Date"}) p->Items()->Add()->SetCaption(c);
    ShowForm();
    p->SetFocus();
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(p->ItemIndex(), 1);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(p->ItemIndex(), 4);
    Drv->Wheel(At(p, 10, 10), 120);
    Drv->Pump();
    EXPECT_EQ(p->ItemIndex(), 4);  // closed, before any opening: the selector alone moves
    p->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(p->DroppedDown());
    EXPECT_EQ(p->ItemSelector()->ItemIndex(), 4);
    SendMessage(p->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(p->ItemIndex(), 0);
    SendMessage(p->Handle(), WM_KEYDOWN, 'C', 0);
    SendMessage(p->Handle(), WM_KEYDOWN, 'R', 0);
    EXPECT_EQ(p->SearchText(), L"CR");
    EXPECT_EQ(p->ItemSelector()->ItemIndex(), 3);
    EXPECT_EQ(p->ItemIndex(), 3);
    EXPECT_TRUE(p->DroppedDown());
    // Esc restores the item chosen before the opening.
    SendMessage(p->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Drv->Pump();
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->ItemIndex(), 4);
    // Closed after an opening: the wheel steps the choice.
    Drv->Wheel(At(p, 10, 10), 120);
    Drv->Pump();
    EXPECT_EQ(p->ItemIndex(), 3);
}

TEST_F(ImagePicker, TheEditShowsThePictureCentred)
{
    auto* p = MakePicker();
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect{0, 0, 10, 10});
    TPicture pic;
    pic.SetGraphic(&bmp);
    p->Items()->Add()->SetImage(&pic);
    p->SetItemIndex(0);
    ShowForm();
    Form->SetFocus();
    Drv->Pump();
    TRect r = p->EditRect();
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    EXPECT_EQ(PixelAt(p->Handle(), cx + 2, cy), 0xFF0000u);
    EXPECT_NE(PixelAt(p->Handle(), r.Left + 1, cy), 0xFF0000u);
}
