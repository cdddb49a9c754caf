#include "controls/edits/VodDirectoryEdit.h"

#include <algorithm>

#include "platform/base/Files.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ShlObj.h"

namespace {

constexpr int kBufferChars = 261;

// The folder ClickButton prepared, read by the dialog callback.
String& Preselection()
{
    static String s;
    return s;
}

}  // namespace

TVodDirectoryEdit::TVodDirectoryEdit(TComponent* AOwner) : TVodEditBtn(AOwner)
{
    if (FButton) FButton->OnClick = [this](TObject*) { ClickButton(); };
    TVodEdit::OnValueValidate = [this](TObject* s, const String& v, bool& ok) { ValidateDirectory(s, v, ok); };
    SetButtonWidth(18);
    FBrowseDialogText = L"Select Directory";
    FAllowNewFolder = false;
}

UINT TVodDirectoryEdit::BrowseFlags() const
{
    UINT flags = BIF_RETURNONLYFSDIRS;
    if (FAllowNewFolder) {
        flags |= BIF_NEWDIALOGSTYLE;
        if (FAllowShares) flags |= BIF_SHAREABLE;
    } else {
        flags |= BIF_NONEWFOLDERBUTTON;
    }
    return flags;
}

void TVodDirectoryEdit::ClickButton()
{
    BROWSEINFO bi;
    String initial = Text();
    if (initial.empty()) initial = GetCurrentDir();
    if (OnShowDirectoryDialog) OnShowDirectoryDialog(this, initial);
    wchar_t buffer[kBufferChars] = {};
    const size_t n = std::min(initial.size(), size_t(kBufferChars - 1));
    std::copy_n(initial.begin(), n, buffer);
    bi.hwndOwner = Parent() ? Parent()->Handle() : nullptr;
    bi.pszDisplayName = buffer;
    bi.lpszTitle = FBrowseDialogText.c_str();
    bi.lpfn = &TVodDirectoryEdit::BrowseCallback;
    bi.lParam = LPARAM(reinterpret_cast<intptr_t>(this));
    Preselection() = buffer;
    bi.ulFlags = BrowseFlags();
    // The Enter or Escape that closes the dialog is not the edit's too.
    FBlockDefaultHandling = true;
    PIDLIST_ABSOLUTE pidl = nullptr;
    try {
        pidl = SHBrowseForFolder(&bi);
    } catch (...) {
        pidl = nullptr;   // counts as a cancel
    }
    if (!pidl) {
        String current = Text();
        if (OnDialogClose) OnDialogClose(this, current, false);
        return;
    }
    struct TRelease {
        PIDLIST_ABSOLUTE P;
        ~TRelease()
        {
            IMalloc* shell = nullptr;
            if (SHGetMalloc(&shell) == S_OK && shell) {
                shell->Free(P);
                shell->Release();
            } else {
                CoTaskMemFree(P);
            }
        }
    } release{pidl};
    std::fill_n(buffer, kBufferChars, L'\0');
    const bool ok = SHGetPathFromIDList(pidl, buffer) != FALSE;
    String path = buffer;
    if (OnDialogClose) OnDialogClose(this, path, ok);
    if (ok && path != Text()) {
        SetText(path);
        SetModified(true);
    }
}

int TVodDirectoryEdit::BrowseCallback(HWND Wnd, UINT Msg, LPARAM, LPARAM Data)
{
    if (Msg != BFFM_INITIALIZED) return 0;
    auto* edit = reinterpret_cast<TVodDirectoryEdit*>(Data);
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    TRect dr;
    GetWindowRect(Wnd, &dr);
    const Integer w = dr.Width(), h = dr.Height();
    String folder = Preselection();
    if (folder.empty() && edit) {
        folder = edit->Text();
        folder = folder.empty() ? GetCurrentDir() : ExcludeTrailingPathDelimiter(folder);
    }
    SendMessage(Wnd, BFFM_SETSELECTIONW, TRUE, LPARAM(folder.c_str()));
    if (!edit) return 0;
    TPoint p = edit->ClientToScreen(TPoint{0, edit->Height()});
    if (p.X + w > work.Right) p.X -= w;
    if (p.Y + h < work.Bottom) SetWindowPos(Wnd, nullptr, p.X, p.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    else SetWindowPos(Wnd, nullptr, p.X, work.Bottom - h - 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 0;
}

void TVodDirectoryEdit::KeyDown(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    TVodEditBtn::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(ssAlt) || GetKeyState(VK_LMENU) < 0 || GetKeyState(VK_RMENU) < 0;
    if (key == VK_F4 && (Shift.Contains(ssCtrl) || alt)) ClickButton();
}

void TVodDirectoryEdit::ValidateDirectory(TObject*, const String& Value, bool& Valid)
{
    Valid = true;
    if (ShowError() && !Value.empty()) Valid = DirectoryExists(Value);
}

bool TVodDirectoryEdit::IsValidDirectory()
{
    const bool ok = DirectoryExists(Text());
    SetIsError(!ok);
    return ok;
}
