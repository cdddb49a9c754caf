// Message boxes as modal forms of our own controls.
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <vector>

#include "platform/base/Threads.h"
#include "platform/ui/StdCtrls_Button.h"

namespace {

enum class TMsgIconKind { None, Error, Warning, Information, Question };

// The box's icon, drawn as a simple glyph: a red disc with a cross, a
// yellow triangle with "!", a blue disc with "i" or "?".
class TMsgIcon : public TGraphicControl {
public:
    TMsgIcon(TComponent* owner, TMsgIconKind kind) : TGraphicControl(owner), FKind(kind)
    {
        FWidth = 32;
        FHeight = 32;
    }
    TMsgIconKind Kind() const { return FKind; }

protected:
    void Paint() override
    {
        HDC dc = Canvas()->Handle();
        int saved = SaveDC(dc);
        COLORREF fill = FKind == TMsgIconKind::Error ? RGB(0xD0, 0x20, 0x20)
                        : FKind == TMsgIconKind::Warning ? RGB(0xF0, 0xC0, 0x20)
                                                         : RGB(0x20, 0x60, 0xD0);
        HBRUSH brush = CreateSolidBrush(fill);
        HPEN pen = CreatePen(PS_SOLID, 1, fill);
        SelectObject(dc, brush);
        SelectObject(dc, pen);
        if (FKind == TMsgIconKind::Warning) {
            POINT tri[3] = {{16, 1}, {31, 30}, {0, 30}};
            Polygon(dc, tri, 3);
        } else {
            Ellipse(dc, 0, 0, 32, 32);
        }
        COLORREF mark = FKind == TMsgIconKind::Warning ? RGB(0, 0, 0) : RGB(255, 255, 255);
        HBRUSH markBrush = CreateSolidBrush(mark);
        auto bar = [&](int l, int t, int r, int b) {
            TRect rc{l, t, r, b};
            FillRect(dc, &rc, markBrush);
        };
        switch (FKind) {
        case TMsgIconKind::Error: {
            HPEN thick = CreatePen(PS_SOLID, 4, mark);
            SelectObject(dc, thick);
            MoveToEx(dc, 10, 10, nullptr);
            LineTo(dc, 22, 22);
            MoveToEx(dc, 22, 10, nullptr);
            LineTo(dc, 10, 22);
            SelectObject(dc, pen);
            DeleteObject(thick);
            break;
        }
        case TMsgIconKind::Warning: bar(14, 10, 18, 21); bar(14, 23, 18, 27); break;
        case TMsgIconKind::Information: bar(14, 7, 18, 11); bar(14, 13, 18, 25); break;
        case TMsgIconKind::Question:
            bar(11, 7, 21, 10); bar(18, 7, 21, 16); bar(14, 14, 21, 17); bar(14, 14, 17, 20);
            bar(14, 22, 17, 25);
            break;
        case TMsgIconKind::None: break;
        }
        RestoreDC(dc, saved);
        DeleteObject(markBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }

private:
    TMsgIconKind FKind;
};

struct TBoxButton {
    String Caption;
    TModalResult Result;
};

// The modal form. A close without a button's answer gives the cancelling
// button's answer, or is refused where there is none (Yes/No).
class TMessageForm : public TForm {
public:
    explicit TMessageForm(TComponent* owner) : TForm(owner) {}
    TModalResult EscapeResult = mrNone;

    bool CloseQuery() override
    {
        if (FModalResult == mrCancel && !FAnswered) {
            if (EscapeResult == mrNone) return false;
            FModalResult = EscapeResult;
        }
        return TForm::CloseQuery();
    }
    void Answered() { FAnswered = true; }

private:
    bool FAnswered = false;
};

int Measure(HDC dc, const String& text, int maxWidth, int& height)
{
    TRect r{0, 0, maxWidth, 0};
    DrawTextStr(dc, text.empty() ? String(L" ") : text, &r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_CALCRECT);
    height = r.Height();
    return r.Width();
}

TModalResult RunMessageForm(HWND owner, const String& text, const String& caption, TMsgIconKind icon,
                            const std::vector<TBoxButton>& buttons, size_t defaultIndex, int escapeIndex,
                            bool topmost = false)
{
    InitForms();
    auto form = std::make_unique<TMessageForm>(nullptr);
    form->Init();
    if (topmost) form->SetFormStyle(fsStayOnTop);
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons(TBorderIcons{biSystemMenu});
    form->SetCaption(caption);
    form->SetKeyPreview(false);
    if (!owner) owner = GetActiveWindow();
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    if (owner) form->SetPopupParent(owner);
    form->SetPosition(owner ? poOwnerFormCenter : poScreenCenter);

    const int margin = 12, gap = 6, buttonH = 25, minButtonW = 75, iconSize = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, form->Font()->Handle());
    int textH = 0;
    int maxText = std::max(200, Screen->WorkAreaWidth() / 2);
    int textW = Measure(dc, text, maxText, textH);
    std::vector<int> widths;
    for (const TBoxButton& b : buttons) {
        TRect r{0, 0, 0, 0};
        DrawTextStr(dc, b.Caption, &r, DT_SINGLELINE | DT_CALCRECT);
        widths.push_back(std::max(minButtonW, r.Width() + 16));
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);

    int x = margin, y = margin;
    if (icon != TMsgIconKind::None) {
        auto* i = new TMsgIcon(form.get(), icon);
        i->SetParent(form.get());
        i->SetBounds(margin, margin, iconSize, iconSize);
        x += iconSize + margin;
        if (textH < iconSize) y += (iconSize - textH) / 2;
    }
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetShowAccelChar(false);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(x, y, textW, textH);
    label->SetCaption(text);

    int rowW = 0;
    for (int w : widths) rowW += w;
    rowW += gap * int(widths.size() > 0 ? widths.size() - 1 : 0);
    int contentBottom = std::max(y + textH, icon != TMsgIconKind::None ? margin + iconSize : 0);
    int clientW = std::max(x + textW + margin, rowW + 2 * margin);
    int rowTop = contentBottom + margin + 4;
    form->HandleNeeded();  // the frame's size is known once the window exists
    form->SetClientSize(clientW, rowTop + buttonH + margin);

    int bx = (clientW - rowW) / 2;
    TButton* first = nullptr;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* b = new TButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(bx, rowTop, widths[i], buttonH);
        b->SetCaption(buttons[i].Caption);
        b->SetModalResult(buttons[i].Result);
        TMessageForm* f = form.get();
        b->OnClick = [f](TObject*) { f->Answered(); };
        if (i == defaultIndex) {
            b->SetDefault(true);
            first = b;
        }
        if (int(i) == escapeIndex) {
            b->SetCancel(true);
            form->EscapeResult = buttons[i].Result;
        }
        bx += widths[i] + gap;
    }
    if (first) form->SetActiveControl(first);
    return form->ShowModal();
}

template <class F>
auto OnMainThread(F&& f) -> decltype(f())
{
    if (GetCurrentThreadId() == MainThreadID) return f();
    decltype(f()) result{};
    TThread::Synchronize(nullptr, [&] { result = f(); });
    return result;
}

}  // namespace

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags)
{
    return MessageBox(owner, String(text ? text : L""), String(caption ? caption : L"Error"), flags);
}

int MessageBox(HWND owner, const String& text, const String& caption, UINT flags)
{
    return OnMainThread([&]() -> int {
        std::vector<TBoxButton> buttons;
        int escape = -1;
        switch (flags & MB_TYPEMASK) {
        case MB_OKCANCEL: buttons = {{L"OK", IDOK}, {L"Cancel", IDCANCEL}}; escape = 1; break;
        case MB_ABORTRETRYIGNORE: buttons = {{L"&Abort", IDABORT}, {L"&Retry", IDRETRY}, {L"&Ignore", IDIGNORE}}; break;
        case MB_YESNOCANCEL: buttons = {{L"&Yes", IDYES}, {L"&No", IDNO}, {L"Cancel", IDCANCEL}}; escape = 2; break;
        case MB_YESNO: buttons = {{L"&Yes", IDYES}, {L"&No", IDNO}}; break;
        case MB_RETRYCANCEL: buttons = {{L"&Retry", IDRETRY}, {L"Cancel", IDCANCEL}}; escape = 1; break;
        default: buttons = {{L"OK", IDOK}}; escape = 0; break;
        }
        TMsgIconKind icon = TMsgIconKind::None;
        switch (flags & MB_ICONMASK) {
        case MB_ICONERROR: icon = TMsgIconKind::Error; break;
        case MB_ICONQUESTION: icon = TMsgIconKind::Question; break;
        case MB_ICONWARNING: icon = TMsgIconKind::Warning; break;
        case MB_ICONINFORMATION: icon = TMsgIconKind::Information; break;
        default: break;
        }
        size_t def = std::min<size_t>((flags & MB_DEFMASK) >> 8, buttons.size() - 1);
        return int(RunMessageForm(owner, text, caption, icon, buttons, def, escape,
                                  (flags & (MB_TOPMOST | MB_SYSTEMMODAL)) != 0));
    });
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) owner = Screen->ActiveForm()->Handle();
    else if (FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
    return ::MessageBox(owner, Text, Caption, Flags);
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx)
{
    (void)HelpCtx;
    return OnMainThread([&]() -> TModalResult {
        static const struct {
            TMsgDlgBtn Btn;
            const wchar_t* Caption;
            TModalResult Result;
        } kButtons[] = {
            {mbYes, L"&Yes", mrYes},         {mbNo, L"&No", mrNo},
            {mbOK, L"OK", mrOk},             {mbCancel, L"Cancel", mrCancel},
            {mbAbort, L"&Abort", mrAbort},   {mbRetry, L"&Retry", mrRetry},
            {mbIgnore, L"&Ignore", mrIgnore}, {mbAll, L"&All", mrAll},
            {mbNoToAll, L"N&o to All", mrNoToAll}, {mbYesToAll, L"Yes to &All", mrYesToAll},
            {mbHelp, L"&Help", mrNone},      {mbClose, L"&Close", mrClose},
        };
        std::vector<TBoxButton> buttons;
        std::vector<TMsgDlgBtn> kinds;
        for (const auto& k : kButtons)
            if (Buttons.Contains(k.Btn)) {
                buttons.push_back({k.Caption, k.Result});
                kinds.push_back(k.Btn);
            }
        if (buttons.empty()) {
            buttons.push_back({L"OK", mrOk});
            kinds.push_back(mbOK);
        }
        auto indexOf = [&](TMsgDlgBtn b) {
            auto it = std::find(kinds.begin(), kinds.end(), b);
            return it == kinds.end() ? -1 : int(it - kinds.begin());
        };
        int def = indexOf(mbOK);
        if (def < 0) def = indexOf(mbYes);
        if (def < 0) def = 0;
        int escape = indexOf(mbCancel);
        if (escape < 0) escape = indexOf(mbNo);
        if (escape < 0) escape = indexOf(mbOK);
        static const wchar_t* const kCaptions[] = {L"Warning", L"Error", L"Information", L"Confirm", L""};
        String caption = DlgType == mtCustom ? (Application ? Application->Title() : String()) : kCaptions[DlgType];
        TMsgIconKind icon = DlgType == mtWarning ? TMsgIconKind::Warning
                            : DlgType == mtError ? TMsgIconKind::Error
                            : DlgType == mtInformation ? TMsgIconKind::Information
                            : DlgType == mtConfirmation ? TMsgIconKind::Question
                                                        : TMsgIconKind::None;
        return RunMessageForm(nullptr, Msg, caption, icon, buttons, size_t(def), escape);
    });
}

void ShowMessage(const String& Msg)
{
    OnMainThread([&]() -> int {
        String title = Application ? Application->Title() : String();
        return int(RunMessageForm(nullptr, Msg, title, TMsgIconKind::None, {{L"OK", mrOk}}, 0, 0));
    });
}
