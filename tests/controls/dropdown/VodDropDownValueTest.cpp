// The drop-down edit's construction, value model and number routines.
#include "tests/controls/dropdown/DropDownTestSupport.h"

namespace {
class DropDownValue : public DropDownFormTest {};
}  // namespace

TEST_F(DropDownValue, NewControlTakesTheClosingStyleNotThePublishedDefaults)
{
    auto* d = CreateDropDown<TVodDropDown>(Form);
    EXPECT_EQ(d->Width(), 200);
    EXPECT_EQ(d->Height(), 21);
    EXPECT_EQ(d->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(d->DropDownColor(), TColor(0xF3E5DA));
    EXPECT_EQ(d->DropDownColorTo(), TColor(0xF0DED0));
    EXPECT_EQ(d->DropDownBorderColor(), clNone);
    EXPECT_EQ(d->DropDownHeader()->Color(), TColor(0xFFEFE3));
    EXPECT_EQ(d->DropDownFooter()->Font()->Color(), TColor(0x723708));
    EXPECT_EQ(d->ButtonAppearance()->ColorTo(), TColor(0xFFDDC4));
    EXPECT_EQ(d->SelectionColorStyle(), scOffice2007);
    EXPECT_EQ(d->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0x58D4FC));
    EXPECT_EQ(d->DropDownBorderWidth(), 1);
    EXPECT_EQ(d->DropDownButtonWidth(), 17);
    EXPECT_EQ(d->UserDropDownWidth(), -1);
    EXPECT_TRUE(d->DropDownSizeable());
    EXPECT_TRUE(d->FocusDraw());
    EXPECT_TRUE(d->CanUndo());
    EXPECT_TRUE(d->DefaultHandling());
    EXPECT_TRUE(d->AutoThousandSeparator());
    ASSERT_NE(d->DropDownForm(), nullptr);
    EXPECT_FALSE(d->DropDownForm()->Visible());
    ASSERT_NE(d->Button(), nullptr);
    EXPECT_EQ(d->Button()->Width(), 17);
    EXPECT_EQ(d->Version(), L"1.4.2.6");
}

TEST_F(DropDownValue, TextWritesPerTypePrecisionPrefixAndSuffix)
{
    struct {
        TDropDownEditType Type;
        SmallInt Precision;
        const wchar_t *Prefix, *Suffix, *In, *Shown, *Value;
    } const cases[] = {
        {etNumeric, 0, L"", L"", L"", L"0", L"0"},
        {etHex, 0, L"", L"", L"", L"0", L"0"},
        {etFloat, 0, L"", L"", L"", L"0", L"0"},
        {etString, 0, L"", L"", L"", L"", L""},
        {etFloat, 2, L"", L"", L"3", L"3.00", L"3.00"},
        {etFloat, 2, L"", L"", L"Error", L"Error", L"Error"},
        {etMoney, 2, L"", L"", L"1234.5", L"1,234.50", L"1,234.50"},
        {etMoney, 2, L"$ ", L" USD", L"1234.5", L"$ 1,234.50 USD", L"1,234.50"},
        {etHex, 0, L"0x", L"", L"ff", L"0xFF", L"FF"},
        {etNumeric, 0, L"(", L")", L"", L"(0)", L"0"},
    };
    for (const auto& c : cases) {
        auto* d = Make();
        d->SetEditType(c.Type);
        d->SetPrecision(c.Precision);
        d->SetPrefix(c.Prefix);
        d->SetSuffix(c.Suffix);
        d->SetText(c.In);
        EXPECT_EQ(d->EditText(), String(c.Shown)) << c.In;
        EXPECT_EQ(d->Text(), String(c.Value)) << c.In;
        EXPECT_FALSE(d->Modified()) << c.In;
        delete d;
    }
}

TEST_F(DropDownValue, ClassifyNumberTextInOrderOfPrecedence)
{
    struct {
        const wchar_t* Text;
        Integer Kind;
    } const cases[] = {
        {L"123", NUMERIC_INT},  {L"-12", NUMERIC_INT},     {L"1.5", NUMERIC_FLOAT},
        {L"1,234.5", NUMERIC_FLOAT}, {L",234", NUMERIC_TEXT}, {L"1,23,456", NUMERIC_TEXT},
        {L"FF", NUMERIC_HEX},   {L"-a1", NUMERIC_HEX},     {L"1.2.3", NUMERIC_TEXT},
        {L"--1", NUMERIC_TEXT}, {L"", NUMERIC_TEXT},       {L"abcg", NUMERIC_TEXT},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(c.Text), c.Kind) << c.Text;
}

TEST_F(DropDownValue, NumberRoutinesAndTypeChanges)
{
    auto* d = Make();
    d->SetEditType(etHex);
    d->SetText(L"ff");
    EXPECT_DOUBLE_EQ(d->GetFloatValue(), 255.0);
    d->SetEditType(etString);
    d->SetText(L"abc");
    d->SetEditType(etNumeric);
    EXPECT_EQ(d->Text(), L"0");

    auto* e = Make();
    e->SetText(L"abc");
    e->SetPrecision(2);
    EXPECT_EQ(e->Text(), L"0.00");

    auto* m = Make();
    m->SetEditType(etMoney);
    m->SetText(L"1,234.");
    EXPECT_DOUBLE_EQ(m->GetFloatValue(), 1234.0);
    EXPECT_DOUBLE_EQ(m->TextToFloat(L"nonsense"), 0.0);

    auto* f = Make();
    f->SetEditType(etFloat);
    f->SetPrecision(-1);
    f->SetFloatValue(0.1 + 0.2);
    EXPECT_EQ(f->Text(), L"0.3");
    EXPECT_TRUE(f->IsModified());
}

TEST_F(DropDownValue, LeavingNormalisesNumbersUnlessNullsAreAllowed)
{
    auto* a = Make(20, 40);
    auto* b = Make(20, 80);
    a->SetEditType(etNumeric);
    b->SetEditType(etNumeric);
    b->SetAllowNumericNullValue(true);
    auto* other = Make(20, 120);
    ShowForm();
    for (auto* d : {a, b}) {
        d->SetFocus();
        d->SetEditText(L"");
        other->SetFocus();
        Drv->Pump();
    }
    EXPECT_EQ(a->Text(), L"0");
    EXPECT_EQ(b->Text(), L"");

    auto* f = Make(20, 160);
    f->SetEditType(etFloat);
    f->SetPrecision(2);
    f->SetFocus();
    f->SetEditText(L"2.5");
    other->SetFocus();
    EXPECT_EQ(f->Text(), L"2.50");
}

TEST_F(DropDownValue, TooLowAnEditIsRaisedToItsMinimumHeight)
{
    auto* d = Make();
    d->SetHeight(5);
    EXPECT_EQ(d->Height(), d->CalcMinHeight());
    EXPECT_GT(d->CalcMinHeight(), 16);
}

TEST_F(DropDownValue, SizePropertiesForgetTheRememberedSize)
{
    auto* d = Make();
    auto* memo = new TMemo(d);
    memo->SetBounds(0, 0, 150, 60);
    d->SetControl(memo);
    ShowForm();
    d->ShowDropDown();
    d->HideDropDown(false);
    EXPECT_NE(d->UserDropDownWidth(), -1);
    EXPECT_NE(d->UserDropDownHeight(), -1);
    d->SetDropDownHeight(-5);  // a negative height keeps the remembered one
    EXPECT_NE(d->UserDropDownHeight(), -1);
    d->SetDropDownWidth(0);
    d->SetDropDownHeight(0);
    EXPECT_EQ(d->UserDropDownWidth(), -1);
    EXPECT_EQ(d->UserDropDownHeight(), -1);
}

TEST_F(DropDownValue, AssignCopiesTheListedPropertiesOnly)
{
    auto* a = Make();
    a->SetEditType(etFloat);
    a->SetPrecision(3);
    a->SetPrefix(L"<");
    a->SetDropDownColor(TColor(0x112233));
    a->SetDropPosition(dpUp);
    a->DropDownHeader()->SetCaption(L"Head");
    a->SetSelectionColorStyle(scWindows7);
    a->SetBorderColor(TColor(0x0000FF));
    auto* b = Make();
    b->Assign(a);
    EXPECT_EQ(b->EditType(), etFloat);
    EXPECT_EQ(b->Precision(), 3);
    EXPECT_EQ(b->Prefix(), L"<");
    EXPECT_EQ(b->DropDownColor(), TColor(0x112233));
    EXPECT_EQ(b->DropPosition(), dpUp);
    EXPECT_EQ(b->DropDownHeader()->Caption(), L"Head");
    EXPECT_EQ(b->SelectionColor(), TColor(0xFCEBDC));
    EXPECT_EQ(b->BorderColor(), clNone);  // not in the list
}
