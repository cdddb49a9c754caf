#include "controls/foundation/VodHintInfo.h"

#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "platform/base/Streams.h"

using namespace picture_test;

namespace {

TBytes PictureBytes(TGDIPPicture* p)
{
    TBytesStream s;
    p->SaveToStream(&s);
    return s.Bytes();
}

// A component that answers hints with its own description.
class THinted : public TComponent, public IQelOfficeHint, public virtual TComponentInterfaces {
public:
    THinted() : TComponent(nullptr) {}
    void HintInfoAt(TPoint Point, TVodHintInfo*& Info) override
    {
        Asked = Point;
        Info = &Hint;
    }
    TVodHintInfo Hint;
    TPoint Asked;
};

// A component that publishes a description, as the panel does.
class THintHolder : public TComponent {
    VEL_CLASS(THintHolder, TComponent)
public:
    explicit THintHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TVodHintInfo* OfficeHint() { return &FHint; }
    static void Publish(TPublisher<THintHolder>& p) { p.Object(L"OfficeHint", &THintHolder::OfficeHint); }

private:
    TVodHintInfo FHint;
};

}  // namespace

TEST(VodHintInfo, IsEmptyLooksAtTitleAndNotesOnly)
{
    TVodHintInfo h;
    EXPECT_TRUE(h.IsEmpty());
    EXPECT_FALSE(h.ShowHelp());
    EXPECT_TRUE(h.Picture()->Empty());

    h.Picture()->LoadFromFile(UTF8ToString(PicturePath("quad16.png")));
    h.SetShowHelp(true);
    h.SetWideTitle(L"wide");
    h.SetWideNotes(L"wide notes");
    EXPECT_TRUE(h.IsEmpty());

    h.Notes()->Add(L"one line");
    EXPECT_FALSE(h.IsEmpty());
    h.Notes()->Clear();
    h.SetTitle(L"Title");
    EXPECT_FALSE(h.IsEmpty());
}

TEST(VodHintInfo, AssignCopiesDeeply)
{
    TVodHintInfo source;
    source.SetTitle(L"Save");
    source.Notes()->Add(L"Writes the file.");
    source.Notes()->Add(L"Ctrl+S");
    source.SetShowHelp(true);
    source.SetWideTitle(L"Save \u2014 wide");
    source.SetWideNotes(L"notes \u00e9");
    source.Picture()->LoadFromFile(UTF8ToString(PicturePath("quad16.png")));

    TVodHintInfo copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Title(), L"Save");
    EXPECT_EQ(copy.Notes()->Text(), source.Notes()->Text());
    EXPECT_TRUE(copy.ShowHelp());
    EXPECT_EQ(copy.WideTitle(), source.WideTitle());
    EXPECT_EQ(copy.WideNotes(), source.WideNotes());
    EXPECT_EQ(PictureBytes(copy.Picture()), ReadPicture("quad16.png"));
    EXPECT_EQ(copy.Picture()->Width(), 16);

    // Later changes of the source do not reach the copy.
    source.Picture()->LoadFromFile(UTF8ToString(PicturePath("corner.bmp")));
    source.Notes()->Add(L"more");
    EXPECT_EQ(PictureBytes(copy.Picture()), ReadPicture("quad16.png"));
    EXPECT_EQ(copy.Notes()->Count(), 2);

    // nil and other classes are ignored.
    copy.Assign(nullptr);
    TGDIPPicture other;
    copy.Assign(&other);
    EXPECT_EQ(copy.Title(), L"Save");
    EXPECT_EQ(PictureBytes(copy.Picture()), ReadPicture("quad16.png"));

    // Setting the notes and the picture copies them.
    TStringList lines;
    lines.Add(L"x");
    copy.SetNotes(&lines);
    lines.Add(L"y");
    EXPECT_EQ(copy.Notes()->Count(), 1);
    TGDIPPicture gif;
    gif.LoadFromFile(UTF8ToString(PicturePath("anim3.gif")));
    copy.SetPicture(&gif);
    EXPECT_EQ(copy.Picture()->PictureFormat(), pfGIF);
    EXPECT_NE(copy.Picture(), &gif);
}

TEST(VodHintInfo, ControlsAnswerThroughTheInterface)
{
    THinted control;
    control.Hint.SetTitle(L"Panel");
    IQelOfficeHint* intf = nullptr;
    ASSERT_TRUE(Supports(&control, IID_IQelOfficeHint, reinterpret_cast<void**>(&intf)));
    TVodHintInfo* info = nullptr;
    intf->HintInfoAt(TPoint{3, 4}, info);
    EXPECT_EQ(info, &control.Hint);   // its own object, not a copy
    EXPECT_EQ(control.Asked, (TPoint{3, 4}));

    TComponent plain(nullptr);
    EXPECT_FALSE(Supports(&plain, IID_IQelOfficeHint));
}

TEST(VodHintInfo, PublishesItsProperties)
{
    TClass cls = TVodHintInfo::StaticClass();
    for (const wchar_t* name : {L"Title", L"Notes", L"Picture", L"ShowHelp"})
        EXPECT_NE(cls->FindProp(name), nullptr) << UTF8Encode(name);
    EXPECT_EQ(cls->FindProp(L"WideTitle"), nullptr);
}

// A form stores the description with the picture's bytes as they are.
TEST(VodHintInfo, StreamsWithAForm)
{
    THintHolder written(nullptr);
    written.OfficeHint()->SetTitle(L"Stored");
    written.OfficeHint()->Notes()->Add(L"line one");
    written.OfficeHint()->SetShowHelp(true);
    written.OfficeHint()->Picture()->LoadFromFile(UTF8ToString(PicturePath("quad16.jpg")));
    TMemoryStream form;
    form.WriteComponent(&written);

    THintHolder read(nullptr);
    form.SetPosition(0);
    form.ReadComponent(&read);
    TVodHintInfo* h = read.OfficeHint();
    EXPECT_EQ(h->Title(), L"Stored");
    EXPECT_EQ(h->Notes()->Count(), 1);
    EXPECT_TRUE(h->ShowHelp());
    EXPECT_FALSE(h->Picture()->Empty());
    EXPECT_EQ(PictureBytes(h->Picture()), ReadPicture("quad16.jpg"));
}
