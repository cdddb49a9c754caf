// TVodDirectoryEdit: the edit with a button whose button (and F4) opens the
// shell's folder browser on the folder the edit holds (or the current
// directory), placed just below the edit inside the work area; the chosen
// folder replaces the text.
#pragma once

#include <functional>

#include "controls/edits/VodEdBtn.h"

using TDirectoryShowEvent = std::function<void(TObject* Sender, String& InitialPath)>;
using TDialogCloseEvent = std::function<void(TObject* Sender, String& NewDirectory, bool OK)>;

class TVodDirectoryEdit : public TVodEditBtn {
    VEL_CLASS(TVodDirectoryEdit, TVodEditBtn)
public:
    explicit TVodDirectoryEdit(TComponent* AOwner);

    const String& BrowseDialogText() const { return FBrowseDialogText; }
    void SetBrowseDialogText(const String& v) { FBrowseDialogText = v; }
    bool AllowNewFolder() const { return FAllowNewFolder; }
    void SetAllowNewFolder(bool v) { FAllowNewFolder = v; }
    bool AllowShares() const { return FAllowShares; }
    void SetAllowShares(bool v) { FAllowShares = v; }

    // Opens the folder dialog.
    void ClickButton() override;
    // Whether the folder named by Text exists; the error state follows.
    bool IsValidDirectory();
    void KeyDown(Word& Key, TShiftState Shift) override;

    TDirectoryShowEvent OnShowDirectoryDialog;
    TDialogCloseEvent OnDialogClose;
    // Kept for form descriptions that set them; the folder edit fires
    // neither (its button opens the dialog, validation is ValidateDirectory).
    TNotifyEvent OnClickBtn;
    TValueValidateEvent OnValueValidate;

    // Hidden: the number and link settings of the base edit mean nothing
    // for a folder; they read as 0 and keep the base edit's defaults.
    Byte AutoThousandSeparator() const { return FDummy; }
    Byte EditAlign() const { return FDummy; }
    Byte EditType() const { return FDummy; }
    Byte ExcelStyleDecimalSeparator() const { return FDummy; }
    Byte PasswordChar() const { return FDummy; }
    Byte Precision() const { return FDummy; }
    Byte Signed() const { return FDummy; }
    Byte ShowURL() const { return FDummy; }
    Byte URLColor() const { return FDummy; }

    // The flags ClickButton gives the dialog.
    UINT BrowseFlags() const;

protected:
    virtual void ValidateDirectory(TObject* Sender, const String& Value, bool& Valid);
    static int BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);

    Byte FDummy = 0;
    String FBrowseDialogText;
    bool FAllowNewFolder = false;
    bool FAllowShares = false;
};
