// The button parts of an editor: combo drop-down button, push button and
// spin buttons, themed, as classic or flat frame controls, or in the
// caller's own colours.
#include "controls/foundation/VodUtil.h"

#include "controls/foundation/ThemeApiBinding.h"

namespace {

// Draws one part through the bound theme functions; without them (or
// without theme data, visual styles being off) nothing is drawn.
class TThemedParts {
public:
    TThemedParts(HWND wnd, const wchar_t* className)
    {
        const TThemeApiTable& api = ThemeAPI();
        if (api.OpenThemeData && api.DrawThemeBackground && api.CloseThemeData)
            FTheme = api.OpenThemeData(wnd, className);
    }
    ~TThemedParts()
    {
        if (FTheme) ThemeAPI().CloseThemeData(FTheme);
    }
    TThemedParts(const TThemedParts&) = delete;
    TThemedParts& operator=(const TThemedParts&) = delete;

    void Draw(TCanvas* Canvas, int part, int state, const TRect& r)
    {
        if (FTheme) ThemeAPI().DrawThemeBackground(FTheme, Canvas->Handle(), part, state, &r, nullptr);
    }

private:
    HTHEME FTheme = nullptr;
};

// The state picks the tone; the Foreground tone is never read.
const TColorTone& StateTone(const TColorTones& Colors, TPartState State)
{
    switch (State) {
    case pstHot: return Colors.Hover;
    case pstDown: return Colors.Selected;
    case pstDisabled: return Colors.Disabled;
    default: return Colors.Background;
    }
}

void FrameControl(TCanvas* Canvas, TRect r, UINT type, UINT state, TPartKind Kind, TPartState State)
{
    if (State == pstDisabled) state |= DFCS_INACTIVE;
    if (Kind == pkFlat) state |= DFCS_FLAT;
    DrawFrameControl(Canvas->Handle(), &r, type, state);
}

void PenAndBrush(TCanvas* Canvas, TColor c)
{
    Canvas->Brush()->SetColor(c);
    Canvas->Pen()->SetColor(c);
}

}  // namespace

void DrawComboButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors, float Scale)
{
    TRect B = R;
    B.Left = R.Right - Integer(Round(double(Scale) * 17));
    B.Top += 1;
    B.Bottom -= 1;
    OffsetRect(B, -2, 0);

    switch (Kind) {
    case pkThemed:
        // The themed button shows only normal or disabled.
        TThemedParts(Handle, L"combobox").Draw(Canvas, CP_DROPDOWNBUTTON, State == pstDisabled ? CBXS_DISABLED : CBXS_NORMAL, B);
        break;
    case pkClassic:
    case pkFlat: FrameControl(Canvas, B, DFC_SCROLL, DFCS_SCROLLCOMBOBOX, Kind, State); break;
    case pkOwnColors: {
        B.Left += 3;
        PenAndBrush(Canvas, StateTone(Colors, State).BrushColor);
        Canvas->Rectangle(B);
        Canvas->Pen()->SetColor(Colors.Background.BorderColor);
        Canvas->MoveTo(B.Left + 1, B.Top);
        Canvas->LineTo(B.Left + 1, B.Bottom);
        PenAndBrush(Canvas, Colors.Background.TextColor);
        Canvas->Polygon({Point(B.Left + 5, B.Top + 8), Point(B.Left + 11, B.Top + 8), Point(B.Left + 8, B.Top + 11)});
        break;
    }
    }
}

void DrawPushButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                    const TColorTones& Colors, bool Prefix, const String& Caption)
{
    switch (Kind) {
    case pkThemed: {
        static constexpr int states[] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
        TThemedParts(Handle, L"button").Draw(Canvas, BP_PUSHBUTTON, states[State <= pstDisabled ? State : 0], R);
        break;
    }
    case pkClassic:
    case pkFlat: {
        UINT state = DFCS_BUTTONPUSH;
        if (State == pstHot) state |= DFCS_HOT;
        if (State == pstDown) state |= DFCS_PUSHED;
        FrameControl(Canvas, R, DFC_BUTTON, state, Kind, State);
        break;
    }
    case pkOwnColors: {
        const TColorTone& tone = StateTone(Colors, State);
        Canvas->Brush()->SetColor(tone.BrushColor);
        Canvas->Pen()->SetColor(tone.BorderColor);
        Canvas->Rectangle(R);
        break;
    }
    }
    if (!Caption.empty()) {
        Canvas->Brush()->SetStyle(bsClear);
        R.Top += 4;
        TTextFormat format{tfCenter, tfVerticalCenter, tfSingleLine};
        if (!Prefix) format.Include(tfNoPrefix);
        String text = Caption;
        Canvas->TextRect(R, text, format);
    }
}

void DrawSpinButtons(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors)
{
    TRect S = R;
    S.Left = R.Right - 15;
    OffsetRect(S, -1, -1);
    const Integer Mid = S.Top + (S.Bottom - S.Top) / 2;

    switch (Kind) {
    case pkThemed: {
        // Like the combo button: normal or disabled only.
        TThemedParts spin(Handle, L"spin");
        spin.Draw(Canvas, SPNP_UP, State == pstDisabled ? UPS_DISABLED : UPS_NORMAL, Rect(S.Left, S.Top, S.Right, Mid));
        spin.Draw(Canvas, SPNP_DOWN, State == pstDisabled ? DNS_DISABLED : DNS_NORMAL, Rect(S.Left, Mid, S.Right, S.Bottom));
        break;
    }
    case pkClassic:
    case pkFlat:
        FrameControl(Canvas, Rect(S.Left, S.Top, S.Right, Mid), DFC_SCROLL, DFCS_SCROLLUP, Kind, State);
        FrameControl(Canvas, Rect(S.Left, Mid + 1, S.Right, S.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN, Kind, State);
        break;
    case pkOwnColors:
        // Faces outlined in their own colour; the arrows always black.
        PenAndBrush(Canvas, StateTone(Colors, State).BrushColor);
        Canvas->Rectangle(S.Left, S.Top, S.Right, Mid);
        Canvas->Rectangle(S.Left, Mid + 1, S.Right, S.Bottom);
        PenAndBrush(Canvas, clBlack);
        Canvas->Polygon({Point(S.Left + 5, S.Top + 5), Point(S.Left + 9, S.Top + 5), Point(S.Left + 7, S.Top + 3)});
        Canvas->Polygon({Point(S.Left + 5, Mid + 2), Point(S.Left + 9, Mid + 2), Point(S.Left + 7, Mid + 4)});
        break;
    }
}
