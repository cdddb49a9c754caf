// TCustomRichEdit, its text and paragraph attributes and its lines: the
// class library's view of the rich edit window class.
#include <algorithm>

#include "platform/base/Streams.h"
#include "platform/ui/RichEdit.h"

namespace {

DWORD ReadFromStream(UINT_PTR cookie, Byte* buf, LONG cb, LONG* pcb)
{
    *pcb = reinterpret_cast<TStream*>(cookie)->Read(buf, cb);
    return 0;
}

DWORD WriteToStream(UINT_PTR cookie, Byte* buf, LONG cb, LONG* pcb)
{
    *pcb = reinterpret_cast<TStream*>(cookie)->Write(buf, cb);
    return *pcb == cb ? 0 : 1;
}

DWORD ReadFromString(UINT_PTR cookie, Byte* buf, LONG cb, LONG* pcb)
{
    auto* src = reinterpret_cast<std::pair<const std::string*, size_t>*>(cookie);
    const size_t n = std::min<size_t>(size_t(cb), src->first->size() - src->second);
    std::copy_n(src->first->data() + src->second, n, reinterpret_cast<char*>(buf));
    src->second += n;
    *pcb = LONG(n);
    return 0;
}

DWORD WriteToString(UINT_PTR cookie, Byte* buf, LONG cb, LONG* pcb)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buf), size_t(cb));
    *pcb = cb;
    return 0;
}

constexpr DWORD kAllCharMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR |
                               CFM_FACE | CFM_OFFSET | CFM_SUBSCRIPT;

}  // namespace

// ---------------------------------------------------------------------------
// TTextAttributes

CHARFORMATW TTextAttributes::Get()
{
    CHARFORMATW cf;
    cf.dwMask = kAllCharMask;
    SendMessage(FEditor->Handle(), EM_GETCHARFORMAT, FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&cf));
    return cf;
}

void TTextAttributes::Set(CHARFORMATW& cf)
{
    SendMessage(FEditor->Handle(), EM_SETCHARFORMAT, FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&cf));
}

String TTextAttributes::Name()
{
    const CHARFORMATW cf = Get();
    size_t n = 0;
    while (n < 32 && cf.szFaceName[n]) ++n;
    return String(cf.szFaceName, n);
}

void TTextAttributes::SetName(const String& v)
{
    CHARFORMATW cf;
    cf.dwMask = CFM_FACE;
    const size_t n = std::min<size_t>(v.size(), 31);
    std::copy_n(v.data(), n, cf.szFaceName);
    Set(cf);
}

Integer TTextAttributes::Size() { return Get().yHeight / 20; }

void TTextAttributes::SetSize(Integer v)
{
    CHARFORMATW cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = v * 20;
    Set(cf);
}

Integer TTextAttributes::Height() { return (Size() * 96 + 36) / 72; }
void TTextAttributes::SetHeight(Integer v) { SetSize((std::abs(v) * 72 + 48) / 96); }

TFontStyles TTextAttributes::Style()
{
    const CHARFORMATW cf = Get();
    TFontStyles st;
    if (cf.dwEffects & CFE_BOLD) st.Include(fsBold);
    if (cf.dwEffects & CFE_ITALIC) st.Include(fsItalic);
    if (cf.dwEffects & CFE_UNDERLINE) st.Include(fsUnderline);
    if (cf.dwEffects & CFE_STRIKEOUT) st.Include(fsStrikeOut);
    return st;
}

void TTextAttributes::SetStyle(TFontStyles v)
{
    CHARFORMATW cf;
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (v.Contains(fsBold)) cf.dwEffects |= CFE_BOLD;
    if (v.Contains(fsItalic)) cf.dwEffects |= CFE_ITALIC;
    if (v.Contains(fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
    if (v.Contains(fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
    Set(cf);
}

TColor TTextAttributes::Color()
{
    const CHARFORMATW cf = Get();
    return (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(cf.crTextColor);
}

void TTextAttributes::SetColor(TColor v)
{
    CHARFORMATW cf;
    cf.dwMask = CFM_COLOR;
    if (v == clWindowText) cf.dwEffects = CFE_AUTOCOLOR;
    else cf.crTextColor = COLORREF(ColorToRGB(v));
    Set(cf);
}

TConsistentAttributes TTextAttributes::ConsistentAttributes()
{
    const DWORD m = Get().dwMask;
    TConsistentAttributes r;
    if (m & CFM_BOLD) r.Include(caBold);
    if (m & CFM_COLOR) r.Include(caColor);
    if (m & CFM_FACE) r.Include(caFace);
    if (m & CFM_ITALIC) r.Include(caItalic);
    if (m & CFM_SIZE) r.Include(caSize);
    if (m & CFM_STRIKEOUT) r.Include(caStrikeOut);
    if (m & CFM_UNDERLINE) r.Include(caUnderline);
    return r;
}

void TTextAttributes::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        CHARFORMATW cf;
        cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        const String name = f->Name();
        std::copy_n(name.data(), std::min<size_t>(name.size(), 31), cf.szFaceName);
        cf.yHeight = f->Size() * 20;
        if (f->Color() == clWindowText) cf.dwEffects |= CFE_AUTOCOLOR;
        else cf.crTextColor = COLORREF(ColorToRGB(f->Color()));
        if (f->Style().Contains(fsBold)) cf.dwEffects |= CFE_BOLD;
        if (f->Style().Contains(fsItalic)) cf.dwEffects |= CFE_ITALIC;
        if (f->Style().Contains(fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
        if (f->Style().Contains(fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
        Set(cf);
        return;
    }
    if (auto* a = dynamic_cast<TTextAttributes*>(Source)) {
        CHARFORMATW cf = a->Get();
        cf.dwMask = kAllCharMask;
        Set(cf);
        return;
    }
    TPersistent::Assign(Source);
}

void TTextAttributes::AssignTo(TPersistent* Dest)
{
    if (auto* f = dynamic_cast<TFont*>(Dest)) {
        f->SetName(Name());
        f->SetSize(Size());
        f->SetStyle(Style());
        f->SetColor(Color());
        return;
    }
    TPersistent::AssignTo(Dest);
}

// ---------------------------------------------------------------------------
// TParaAttributes

TAlignment TParaAttributes::Alignment()
{
    PARAFORMAT pf;
    pf.dwMask = PFM_ALIGNMENT;
    SendMessage(FEditor->Handle(), EM_GETPARAFORMAT, 0, LPARAM(&pf));
    return pf.wAlignment == PFA_RIGHT ? taRightJustify : pf.wAlignment == PFA_CENTER ? taCenter : taLeftJustify;
}

void TParaAttributes::SetAlignment(TAlignment v)
{
    PARAFORMAT pf;
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = v == taRightJustify ? PFA_RIGHT : v == taCenter ? PFA_CENTER : PFA_LEFT;
    SendMessage(FEditor->Handle(), EM_SETPARAFORMAT, 0, LPARAM(&pf));
}

// ---------------------------------------------------------------------------
// TRichEditStrings

std::vector<std::pair<Integer, Integer>> TRichEditStrings::Paragraphs() const
{
    const String t = FEditor->Text();
    std::vector<std::pair<Integer, Integer>> out;
    Integer pos = 0, start = 0;
    size_t i = 0, from = 0;
    for (; i < t.size(); ++i) {
        if (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') {
            out.emplace_back(start, Integer(i - from));
            pos += Integer(i - from) + 1;
            start = pos;
            from = i + 2;
            ++i;
        }
    }
    out.emplace_back(start, Integer(t.size() - from));
    return out;
}

Integer TRichEditStrings::GetCount() const
{
    const auto p = Paragraphs();
    Integer n = Integer(p.size());
    if (p.back().second == 0) --n;   // the empty paragraph after the last break
    return n;
}

String TRichEditStrings::Get(Integer Index) const
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    const auto p = Paragraphs()[size_t(Index)];
    TEXTRANGEW tr;
    String buf(size_t(p.second) + 1, L'\0');
    tr.chrg = CHARRANGE{p.first, p.first + p.second};
    tr.lpstrText = buf.data();
    SendMessage(FEditor->Handle(), EM_GETTEXTRANGE, 0, LPARAM(&tr));
    buf.resize(size_t(p.second));
    return buf;
}

void TRichEditStrings::ReplaceRange(Integer a, Integer b, const String& s) const
{
    HWND h = FEditor->Handle();
    CHARRANGE cr{a, b};
    SendMessage(h, EM_EXSETSEL, 0, LPARAM(&cr));
    SendMessage(h, EM_REPLACESEL, 0, LPARAM(s.c_str()));
}

void TRichEditStrings::Put(Integer Index, const String& S)
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    const auto p = Paragraphs()[size_t(Index)];
    ReplaceRange(p.first, p.first + p.second, S);
}

void TRichEditStrings::Insert(Integer Index, const String& S)
{
    if (Index < 0 || Index > GetCount()) Error(Index);
    const auto p = Paragraphs();
    if (Index < Integer(p.size())) {
        ReplaceRange(p[size_t(Index)].first, p[size_t(Index)].first, S + L"\r\n");
    } else {
        const Integer end = p.back().first + p.back().second;
        ReplaceRange(end, end, L"\r\n" + S);
    }
}

void TRichEditStrings::Delete(Integer Index)
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    const auto p = Paragraphs();
    const auto [start, len] = p[size_t(Index)];
    if (size_t(Index) + 1 < p.size()) ReplaceRange(start, start + len + 1, L"");
    else if (Index > 0) ReplaceRange(start - 1, start + len, L"");
    else ReplaceRange(start, start + len, L"");
}

void TRichEditStrings::Clear() { FEditor->SetText(L""); }

void TRichEditStrings::SetText(const String& Value) { FEditor->SetText(Value); }

void TRichEditStrings::LoadFromStream(TStream* Stream, TEncoding*)
{
    EDITSTREAM es;
    es.dwCookie = UINT_PTR(Stream);
    es.pfnCallback = &ReadFromStream;
    SendMessage(FEditor->Handle(), EM_STREAMIN, FEditor->PlainText() ? SF_TEXT : SF_RTF, LPARAM(&es));
}

void TRichEditStrings::SaveToStream(TStream* Stream, TEncoding*) const
{
    EDITSTREAM es;
    es.dwCookie = UINT_PTR(Stream);
    es.pfnCallback = &WriteToStream;
    SendMessage(FEditor->Handle(), EM_STREAMOUT, FEditor->PlainText() ? SF_TEXT : SF_RTF, LPARAM(&es));
    if (es.dwError) throw EWriteError(L"Stream write error");
}

// ---------------------------------------------------------------------------
// TCustomRichEdit

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner)
{
    RegisterRichEditClass();
    FRichLines = std::make_unique<TRichEditStrings>(this);
    FSelAttributes = std::make_unique<TTextAttributes>(this, atSelected);
    FDefAttributes = std::make_unique<TTextAttributes>(this, atDefaultText);
    FParagraph = std::make_unique<TParaAttributes>(this);
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& P)
{
    RegisterRichEditClass();
    TCustomMemo::CreateParams(P);
    CreateSubClass(P, RICHEDIT_CLASS);
}

void TCustomRichEdit::CreateWnd()
{
    const bool haveSel = FHaveSaved;
    const Integer selA = FSavedSelStart, selB = FSavedSelEnd;
    const bool modified = FSavedModified;
    TCustomMemo::CreateWnd();
    HWND h = FHandle;
    SendMessage(h, EM_SETEVENTMASK, 0, LPARAM(ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED));
    SendMessage(h, EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(FColor)));
    FDefAttributes->Assign(Font());
    if (FHaveContent) {
        std::pair<const std::string*, size_t> src{&FSavedContent, 0};
        EDITSTREAM es;
        es.dwCookie = UINT_PTR(&src);
        es.pfnCallback = &ReadFromString;
        SendMessage(h, EM_STREAMIN, SF_RTF, LPARAM(&es));
        FSavedContent.clear();
        FHaveContent = false;
    }
    if (haveSel) {
        CHARRANGE cr{selA, selB};
        SendMessage(h, EM_EXSETSEL, 0, LPARAM(&cr));
        SendMessage(h, EM_SETMODIFY, modified, 0);
    }
}

void TCustomRichEdit::DestroyWnd()
{
    if (FHandle) {
        FSavedContent.clear();
        EDITSTREAM es;
        es.dwCookie = UINT_PTR(&FSavedContent);
        es.pfnCallback = &WriteToString;
        SendMessage(FHandle, EM_STREAMOUT, SF_RTF, LPARAM(&es));
        FHaveContent = true;
    }
    TCustomMemo::DestroyWnd();
}

void TCustomRichEdit::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(M.LParam);
        if (!hdr) break;
        if (hdr->code == EN_SELCHANGE) SelectionChange();
        else if (hdr->code == EN_REQUESTRESIZE) RequestSize(reinterpret_cast<const REQRESIZE*>(hdr)->rc);
        return;
    }
    case CM_COLORCHANGED:
        TCustomMemo::Dispatch(M);
        if (FHandle) SendMessage(FHandle, EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(FColor)));
        return;
    case CM_FONTCHANGED:
        TCustomMemo::Dispatch(M);
        if (FHandle) FDefAttributes->Assign(Font());
        return;
    default: break;
    }
    TCustomMemo::Dispatch(M);
}

void TCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::RequestSize(const TRect& Rect)
{
    if (OnResizeRequest) OnResizeRequest(this, Rect);
}

String TCustomRichEdit::SelText()
{
    HWND h = Handle();
    CHARRANGE cr;
    SendMessage(h, EM_EXGETSEL, 0, LPARAM(&cr));
    String buf(size_t(std::max<LONG>(0, cr.cpMax - cr.cpMin)) * 2 + 1, L'\0');
    const LRESULT n = SendMessage(h, EM_GETSELTEXT, 0, LPARAM(buf.data()));
    buf.resize(size_t(n));
    return buf;
}
