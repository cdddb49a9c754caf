// The folder browser dialog (a form of ours: the title and the chosen
// path above a list of the current folder's folders, ".." to go up,
// double-click or Enter to go in, OK, Cancel and "Make New Folder"), the
// callback protocol around it, and item lists: blocks of task memory that
// hold a path.
#include "platform/ui/ShlObj.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/StdCtrls_List.h"

// ---------------------------------------------------------------------------
// Item lists and task memory

struct ITEMIDLIST {
    uint32_t Magic;
    uint32_t Length;   // characters of Path, without the terminating zero
    wchar_t Path[1];
};

namespace {

constexpr uint32_t kPidlMagic = 0x4C444950;  // "PIDL"
constexpr size_t kMaxPath = 260;

bool IsOurs(PCIDLIST_ABSOLUTE pidl) { return pidl && pidl->Magic == kPidlMagic; }

PIDLIST_ABSOLUTE MakePidl(const String& path)
{
    size_t bytes = offsetof(ITEMIDLIST, Path) + (path.size() + 1) * sizeof(wchar_t);
    auto* p = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(bytes));
    if (!p) return nullptr;
    p->Magic = kPidlMagic;
    p->Length = uint32_t(path.size());
    std::copy(path.begin(), path.end(), p->Path);
    p->Path[path.size()] = 0;
    return p;
}

String PidlPath(PCIDLIST_ABSOLUTE pidl) { return IsOurs(pidl) ? String(pidl->Path, pidl->Length) : String(); }

class TShellMalloc : public TInterfacedObject, public IMalloc {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (Answer<IMalloc>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }
    void* Alloc(size_t size) override { return CoTaskMemAlloc(size); }
    void* Realloc(void* p, size_t size) override { return std::realloc(p, size ? size : 1); }
    void Free(void* p) override { CoTaskMemFree(p); }
    size_t GetSize(void*) override { return size_t(-1); }
    int DidAlloc(void*) override { return -1; }
    void HeapMinimize() override {}
};

}  // namespace

void* CoTaskMemAlloc(size_t size) { return std::malloc(size ? size : 1); }
void CoTaskMemFree(void* p) { std::free(p); }

HRESULT SHGetMalloc(IMalloc** malloc)
{
    if (!malloc) return E_POINTER;
    static TComPtr<IMalloc> shared(new TShellMalloc);  // one for the process, never freed
    *malloc = shared.Get();
    shared->AddRef();
    return S_OK;
}

PIDLIST_ABSOLUTE ILCreateFromPath(const wchar_t* path)
{
    if (!path || !*path) return nullptr;
    return MakePidl(path);
}

void ILFree(LPITEMIDLIST pidl) { CoTaskMemFree(pidl); }

BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, wchar_t* path)
{
    if (!path) return FALSE;
    path[0] = 0;
    if (!IsOurs(pidl) || pidl->Length >= kMaxPath) return FALSE;
    std::copy_n(pidl->Path, pidl->Length + 1, path);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The dialog

namespace {

namespace fs = std::filesystem;

const wchar_t* const kUp = L"..";
constexpr UINT kInitMessage = WM_USER + 0x3A0;  // sent to itself once the dialog shows
constexpr Integer kDialogWidth = 340, kDialogHeight = 380;
constexpr Integer kEditBoxHeight = 32;  // the folder name box's row (BIF_EDITBOX)

fs::path ToFs(const String& s) { return fs::path(UTF8Encode(s)); }
String FromFs(const fs::path& p) { return UTF8ToString(p.string()); }

// A folder path without a trailing delimiter (the root stays "/").
String Normal(const String& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(ToFs(path), ec);
    if (ec) p = ToFs(path).lexically_normal();
    String s = FromFs(p);
    while (s.size() > 1 && s.back() == L'/') s.pop_back();
    return s;
}

String ParentOf(const String& path)
{
    if (path == L"/") return path;
    size_t slash = path.find_last_of(L'/');
    if (slash == String::npos || slash == 0) return L"/";
    return path.substr(0, slash);
}

String NameOf(const String& path)
{
    if (path == L"/") return path;
    size_t slash = path.find_last_of(L'/');
    return slash == String::npos ? path : path.substr(slash + 1);
}

String Join(const String& folder, const String& name) { return folder == L"/" ? L"/" + name : folder + L"/" + name; }

bool IsFolder(const String& path)
{
    std::error_code ec;
    return fs::is_directory(ToFs(path), ec);
}

// Whether path is root or lies below it.
bool Within(const String& path, const String& root)
{
    if (root == L"/" || path == root) return true;
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == L'/';
}

// The folder list: Enter goes into the highlighted folder rather than to
// the default button.
class TBrowseList : public TListBox {
public:
    explicit TBrowseList(TComponent* owner) : TListBox(owner) {}

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_WANTSPECIALKEY && M.CharCode() == VK_RETURN && ItemIndex() >= 0) {
            M.Result = 1;
            return;
        }
        TListBox::Dispatch(M);
    }
};

// The title above the folders and the path of the folder chosen now.
class TBrowseHeader : public TCustomControl {
public:
    TBrowseHeader(TComponent* owner, TWinControl* parent, const TRect& r) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBoundsRect(r);
    }
    void SetLines(const String& title, const String& path, const String& status)
    {
        FTitle = title;
        FPath = path;
        FStatus = status;
        Invalidate();
    }
    const String& Path() const { return FPath; }

protected:
    void Paint() override
    {
        TRect r = ClientRect();
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(r);
        Canvas()->Font()->Assign(Font());
        Canvas()->Brush()->SetStyle(bsClear);
        HDC dc = Canvas()->Handle();
        Integer line = std::max(r.Height() / 3, 1);
        const String* lines[] = {&FTitle, &FPath, &FStatus};
        for (int i = 0; i < 3; ++i) {
            TRect tr{r.Left, r.Top + i * line, r.Right, r.Top + (i + 1) * line};
            DrawText(dc, lines[i]->c_str(), int(lines[i]->size()), &tr,
                     DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }

private:
    String FTitle, FPath, FStatus;
};

class TFolderBrowser : public TForm {
public:
    TFolderBrowser(TComponent* owner, const BROWSEINFO& bi) : TForm(owner), FInfo(bi)
    {
        // The new style is a sizable dialog that may make folders; the old
        // one a fixed dialog that may not.
        bool newStyle = (bi.ulFlags & BIF_NEWDIALOGSTYLE) != 0;
        bool editBox = (bi.ulFlags & BIF_EDITBOX) != 0;
        FExtra = editBox ? kEditBoxHeight : 0;
        SetBorderStyle(newStyle ? bsSizeable : bsDialog);
        if (newStyle) SetBorderIcons({biSystemMenu});
        SetCaption(L"Browse For Folder");
        SetPosition(poScreenCenter);
        SetKeyPreview(true);
        SetAutoScroll(false);
        SetClientSize(kDialogWidth, kDialogHeight + FExtra);
        FRoot = IsOurs(bi.pidlRoot) ? Normal(PidlPath(bi.pidlRoot)) : String(L"/");
        if (!IsFolder(FRoot)) FRoot = L"/";
        FHeader = new TBrowseHeader(this, this, Rect(10, 8, 330, 62));
        FHeader->SetAnchors({akLeft, akTop, akRight});
        FList = new TBrowseList(this);
        FList->SetBounds(10, 68, 320, 260);
        FList->SetParent(this);
        FList->SetAnchors({akLeft, akTop, akRight, akBottom});
        FList->OnClick = [this](TObject*) { SelectionMoved(); };
        FList->OnDblClick = [this](TObject*) { EnterSelected(); };
        if (editBox) {
            // The chosen folder's name; a name or path typed here is what OK
            // takes.
            auto* label = new TLabel(this);
            label->SetCaption(L"&Folder:");
            label->SetBounds(10, 342, 46, 22);
            label->SetParent(this);
            label->SetAnchors({akLeft, akBottom});
            FEdit = new TEdit(this);
            FEdit->SetBounds(60, 338, 270, 24);
            FEdit->SetParent(this);
            FEdit->SetAnchors({akLeft, akRight, akBottom});
            label->SetFocusControl(FEdit);
        }
        if (newStyle && !(bi.ulFlags & BIF_NONEWFOLDERBUTTON)) {
            FNewFolder = NewButton(L"Make New Folder", Rect(10, 342 + FExtra, 130, 367 + FExtra));
            FNewFolder->SetAnchors({akLeft, akBottom});
            FNewFolder->OnClick = [this](TObject*) { MakeNewFolder(); };
        }
        FOk = NewButton(L"OK", Rect(180, 342 + FExtra, 250, 367 + FExtra));
        FOk->SetAnchors({akRight, akBottom});
        FOk->SetDefault(true);
        FOk->OnClick = [this](TObject*) { Accept(); };
        FCancel = NewButton(L"Cancel", Rect(260, 342 + FExtra, 330, 367 + FExtra));
        FCancel->SetAnchors({akRight, akBottom});
        FCancel->SetCancel(true);
        FCancel->SetModalResult(mrCancel);
        SetActiveControl(FList);
        Navigate(FRoot, String());
    }

    TSize DialogSize() const { return {kDialogWidth, kDialogHeight + FExtra}; }
    // The folder OK took.
    const String& Chosen() const { return FChosen; }

    // The folder chosen now: the highlighted folder, else the current one.
    String Selection()
    {
        Integer i = FList->ItemIndex();
        if (i < 0 || FList->Items()->Strings(i) == kUp) return FCurrent;
        return Join(FCurrent, FList->Items()->Strings(i));
    }

protected:
    // Keys the list leaves to the form: Enter on a folder goes in,
    // Backspace goes up; Escape and Enter elsewhere reach the buttons.
    void KeyDown(Word& Key, TShiftState Shift) override
    {
        TForm::KeyDown(Key, Shift);
        if (ActiveControl() != FList) return;
        if (Key == VK_RETURN && FList->ItemIndex() >= 0) {
            EnterSelected();
            Key = 0;
        } else if (Key == VK_BACK) {
            GoUp();
            Key = 0;
        }
    }

    void Dispatch(TMessage& M) override
    {
        switch (M.Msg) {
        case kInitMessage:
            Callback(BFFM_INITIALIZED, 0);
            NotifySelection();  // unless the callback moved it and heard already
            return;
        case BFFM_SETSELECTIONW: case BFFM_SETEXPANDED: {
            String path = M.WParam ? String(M.LParam ? reinterpret_cast<const wchar_t*>(M.LParam) : L"")
                                   : PidlPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(M.LParam));
            M.Result = SetSelectionPath(path) ? TRUE : FALSE;
            return;
        }
        case BFFM_ENABLEOK: FOk->SetEnabled(M.LParam != 0); return;
        case BFFM_SETSTATUSTEXTW:
            FStatus = M.LParam ? reinterpret_cast<const wchar_t*>(M.LParam) : L"";
            UpdateHeader();
            return;
        case BFFM_SETOKTEXT:
            FOk->SetCaption(M.LParam ? reinterpret_cast<const wchar_t*>(M.LParam) : L"OK");
            return;
        default: break;
        }
        TForm::Dispatch(M);
    }

private:
    int Callback(UINT msg, LPARAM lp)
    {
        if (!FInfo.lpfn || !HandleAllocated()) return 0;
        return FInfo.lpfn(Handle(), msg, lp, FInfo.lParam);
    }

    void UpdateHeader()
    {
        String sel = Selection();
        FHeader->SetLines(FInfo.lpszTitle ? FInfo.lpszTitle : L"", sel,
                          (FInfo.ulFlags & BIF_STATUSTEXT) ? FStatus : String());
        if (FEdit) FEdit->SetText(NameOf(sel));
    }

    // OK: the folder typed in the name box when there is one (a name in the
    // folder shown, or a path), else the one chosen in the list. A name
    // that is no folder within the root is not taken: with BIF_VALIDATE
    // the callback says whether the dialog stays (and otherwise it ends as
    // cancelled), without it the dialog stays for a better name.
    void Accept()
    {
        String chosen = Selection();
        if (FEdit) {
            String typed = Trim(FEdit->Text());
            if (!typed.empty() && typed != NameOf(chosen)) {
                String path = typed[0] == L'/' ? typed : Join(FCurrent, typed);
                String p = IsFolder(path) ? Normal(path) : String();
                if (p.empty() || !Within(p, FRoot)) {
                    if (FInfo.ulFlags & BIF_VALIDATE) {
                        if (Callback(BFFM_VALIDATEFAILEDW, LPARAM(typed.c_str())) == 0) SetModalResult(mrCancel);
                    } else {
                        MessageBeep(0);
                        FEdit->SetFocus();
                    }
                    return;
                }
                chosen = p;
            }
        }
        if ((FInfo.ulFlags & BIF_RETURNONLYFSDIRS) && !IsFolder(chosen)) {
            MessageBeep(0);  // gone since it was listed
            return;
        }
        FChosen = chosen;
        SetModalResult(mrOk);
    }

    // Tells the callback when the chosen folder changed.
    void NotifySelection()
    {
        String sel = Selection();
        UpdateHeader();
        if (sel == FNotified) return;
        FNotified = sel;
        PIDLIST_ABSOLUTE pidl = MakePidl(sel);
        try {
            Callback(BFFM_SELCHANGED, LPARAM(pidl));
        } catch (...) {
            ILFree(pidl);
            throw;
        }
        ILFree(pidl);
    }

    // Shows the folders of folder, highlighting the one named highlight.
    void Navigate(const String& folder, const String& highlight)
    {
        FCurrent = folder;
        std::vector<String> names;
        std::error_code ec;
        for (fs::directory_iterator it(ToFs(folder), fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            std::error_code dec;
            if (!it->is_directory(dec)) continue;
            String name = UTF8ToString(it->path().filename().string());
            if (name.empty() || name[0] == L'.') continue;  // hidden folders stay hidden
            names.push_back(name);
        }
        std::sort(names.begin(), names.end(), [](const String& a, const String& b) {
            Integer c = ListCompareText(a, b);
            return c != 0 ? c < 0 : a < b;
        });
        FList->Items()->BeginUpdate();
        FList->Items()->Clear();
        if (FCurrent != FRoot) FList->Items()->Add(kUp);
        for (const String& n : names) FList->Items()->Add(n);
        FList->Items()->EndUpdate();
        FList->SetItemIndex(highlight.empty() ? -1 : FList->Items()->IndexOf(highlight));
        if (HandleAllocated()) NotifySelection();
        else UpdateHeader();
    }

    void GoUp()
    {
        if (FCurrent == FRoot) return;
        Navigate(ParentOf(FCurrent), NameOf(FCurrent));
    }

    void EnterSelected()
    {
        Integer i = FList->ItemIndex();
        if (i < 0) return;
        String name = FList->Items()->Strings(i);
        if (name == kUp) {
            GoUp();
            return;
        }
        String target = Join(FCurrent, name);
        if (IsFolder(target)) Navigate(target, String());
        else MessageBeep(0);
    }

    void SelectionMoved() { NotifySelection(); }

    bool SetSelectionPath(const String& path)
    {
        if (path.empty() || !IsFolder(path)) return false;
        String p = Normal(path);
        if (!Within(p, FRoot)) return false;
        Navigate(p, String());
        return true;
    }

    void MakeNewFolder()
    {
        String base = L"New Folder";
        for (int n = 1; n < 1000; ++n) {
            String name = n == 1 ? base : base + L" (" + IntToStr(n) + L")";
            std::error_code ec;
            if (fs::exists(ToFs(Join(FCurrent, name)), ec)) continue;
            if (!fs::create_directory(ToFs(Join(FCurrent, name)), ec) || ec) break;
            Navigate(FCurrent, name);
            FList->SetFocus();
            return;
        }
        MessageBeep(0);
    }

    TButton* NewButton(const String& caption, const TRect& r)
    {
        auto* b = new TButton(this);
        b->SetCaption(caption);
        b->SetBoundsRect(r);
        b->SetParent(this);
        return b;
    }

    BROWSEINFO FInfo;
    String FRoot, FCurrent, FNotified, FStatus, FChosen;
    Integer FExtra = 0;
    TEdit* FEdit = nullptr;
    TBrowseHeader* FHeader = nullptr;
    TBrowseList* FList = nullptr;
    TButton* FNewFolder = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
};

}  // namespace

PIDLIST_ABSOLUTE SHBrowseForFolder(BROWSEINFO* bi)
{
    if (!bi) return nullptr;
    InitForms();
    std::unique_ptr<TFolderBrowser> dlg(new TFolderBrowser(nullptr, *bi));
    dlg->Init();
    if (bi->hwndOwner) dlg->SetPopupParent(bi->hwndOwner);
    dlg->HandleNeeded();
    dlg->SetClientSize(dlg->DialogSize().cx, dlg->DialogSize().cy);  // now that the frame is known
    PostMessage(dlg->Handle(), kInitMessage);
    if (dlg->ShowModal() != mrOk) return nullptr;
    String chosen = dlg->Chosen();
    if (bi->pszDisplayName) {
        String name = NameOf(chosen).substr(0, kMaxPath - 1);
        std::copy(name.begin(), name.end(), bi->pszDisplayName);
        bi->pszDisplayName[name.size()] = 0;
    }
    return MakePidl(chosen);
}
