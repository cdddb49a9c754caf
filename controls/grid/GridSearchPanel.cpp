// The search footer panel: its children, their fixed layout and glyphs, the
// edit that reports Return, and the panel's gradient face.
#include "controls/grid/GridSearchPanel.h"

#include "controls/dropdown/DropDownButton.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Resources.h"

namespace {

void LoadGlyph(TBitmap* Target, const wchar_t* Name)
{
    TBitmap b;
    b.LoadFromResourceName(HInstance, Name);
    Target->Assign(&b);
}

void SetButtonHint(TControl* C, const String& Hint)
{
    C->SetHint(Hint);
    C->SetShowHint(!Hint.empty());
}

}  // namespace

// ---------------------------------------------------------------------------
// TRetEdit

void TRetEdit::CreateParams(TCreateParams& Params)
{
    TEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
}

void TRetEdit::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
        // Return goes no further than its two events.
        if (GetKeyState(VK_CONTROL) < 0) {
            if (OnCtrlReturn) OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_CHAR && (Message.WParam == L'\r' || Message.WParam == L'\n')) {
        // Told to OnKeyPress, never entered: the edit keeps one line.
        wchar_t key = wchar_t(Message.WParam);
        if (OnKeyPress) OnKeyPress(this, key);
        Message.Result = 0;
        return;
    }
    TEdit::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// TSearchPanel

TSearchPanel::TSearchPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FGrid = dynamic_cast<TVodStringGrid*>(AOwner);
    FEdit = new TRetEdit(this);
    FExit = new TVodGridButton(this);
    FForward = new TVodGridButton(this);
    FBackward = new TVodGridButton(this);
    FHighLight = new TVodGridButton(this);
    FMatchCase = new TVodCheckBox(this);
    FColorTo = clNone;
}

void TSearchPanel::SetColorTo(TColor v)
{
    FColorTo = v;
    Invalidate();
}

void TSearchPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    const bool rtl = UseRightToLeftReading();
    auto place = [&](TControl* C, Integer Left, Integer Top, Integer W, Integer H) {
        if (rtl) Left = Width() - W - Left;
        C->SetBounds(Left, Top, W, H);
    };
    // 1. The edit.
    FEdit->SetParent(this);
    place(FEdit, 25, 6, 110, FEdit->Height());
    FEdit->OnChange = [this](TObject* s) { EditChanged(s); };
    FEdit->OnReturn = [this](TObject*) {
        if (OnForwardClick) OnForwardClick(this);
    };
    FEdit->OnCtrlReturn = [this](TObject*) {
        if (OnBackwardClick) OnBackwardClick(this);
    };
    FEdit->OnKeyDown = [](TObject*, Word&, TShiftState) {};
    // 2. Find next.
    FForward->SetParent(this);
    place(FForward, 140, 5, 90, 23);
    SetButtonHint(FForward, HintFindNext);
    FForward->SetCaption(FindNextCaption);
    FForward->OnClick = [this](TObject*) {
        if (OnForwardClick) OnForwardClick(this);
    };
    LoadGlyph(FForward->Glyph(), L"VURARDOWN");
    LoadGlyph(FForward->GlyphDisabled(), L"VURARDOWND");
    FForward->SetEnabled(false);
    FForward->SetParentFont(true);
    // 3. Find previous.
    FBackward->SetParent(this);
    place(FBackward, 235, 5, 90, 23);
    SetButtonHint(FBackward, HintFindPrev);
    FBackward->SetCaption(FindPrevCaption);
    FBackward->OnClick = [this](TObject*) {
        if (OnBackwardClick) OnBackwardClick(this);
    };
    LoadGlyph(FBackward->Glyph(), L"VURARUP");
    LoadGlyph(FBackward->GlyphDisabled(), L"VURARUPD");
    FBackward->SetEnabled(false);
    FBackward->SetParentFont(true);
    // 4. Close.
    FExit->SetParent(this);
    place(FExit, 5, 7, 14, 14);
    SetButtonHint(FExit, HintClose);
    LoadGlyph(FExit->Glyph(), L"VURCLOSE");
    LoadGlyph(FExit->GlyphHot(), L"VURCLOSEH");
    LoadGlyph(FExit->GlyphDown(), L"VURCLOSED");
    FExit->OnClick = [this](TObject*) {
        if (OnExitClick) OnExitClick(this);
    };
    FExit->SetCaption(String());
    FExit->SetParentFont(true);
    // 5. Highlight: a toggle.
    FHighLight->SetParent(this);
    place(FHighLight, 330, 5, 90, 23);
    SetButtonHint(FHighLight, HintHighlight);
    FHighLight->Font()->SetStyle(TFontStyles{});
    FHighLight->SetEnabled(false);
    FHighLight->SetCaption(HighLightCaption);
    FHighLight->SetParentFont(true);
    FHighLight->SetStyle(tasCheck);
    FHighLight->OnClick = [this](TObject*) {
        if (OnHighLightClick) OnHighLightClick(this);
    };
    LoadGlyph(FHighLight->Glyph(), L"VURHI");
    LoadGlyph(FHighLight->GlyphDisabled(), L"VURHID");
    // 6. Match case.
    FMatchCase->SetParent(this);
    place(FMatchCase, FHighLight->Visible() ? 425 : 330, 8, FMatchCase->Width(), FMatchCase->Height());
    FMatchCase->SetCaption(MatchCaseCaption);
    FMatchCase->OnClick = [this](TObject*) {
        if (OnMatchCaseClick) OnMatchCaseClick(this);
    };
    // 7.
    if (FGrid && FGrid->OnCreatedSearchFooter) FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::EditChanged(TObject*)
{
    const bool any = !FEdit->Text().empty();
    FForward->SetEnabled(any);
    FBackward->SetEnabled(any);
    FHighLight->SetEnabled(any);
    if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    const TRect r = ClientRect();
    if (FColorTo == clNone)
        c->FillRect(r);
    else
        DrawSteppedGradient(c, Color(), FColorTo, false, r, 32);
    c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : clGray);
    c->MoveTo(0, 0);
    c->LineTo(Width(), 0);
}
