// Message boxes: MessageBox (the window-system call), MessageDlg and
// ShowMessage of the class library. Each is a modal form of our own
// controls (an icon, the text, a row of buttons) sized to its text.
#pragma once

#include "platform/ui/Forms.h"

// Shows text under caption (null: "Error") with the buttons and icon that
// flags choose (MB_OK...MB_RETRYCANCEL, MB_ICONERROR/WARNING/INFORMATION/
// QUESTION, MB_DEFBUTTON1..3), modal over owner's window (null: the active
// one). Answers IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY or IDIGNORE;
// Escape and the close box answer the cancelling button, where there is one
// (MB_OK's OK counts as one). Called from a worker thread it runs on the main
// thread and waits there.
int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);
int MessageBox(HWND owner, const String& text, const String& caption, UINT flags);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The class library's dialog: a caption by type ("Warning", "Error",
// "Information", "Confirm"; the application's title for mtCustom), the
// buttons in their fixed order, OK (else Yes, else the first) as default,
// Cancel (else No, else OK) on Escape. Answers mrOk, mrYes... (mrCancel when
// closed without an answer).
TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx = 0);
// The message with an OK button under the application's title.
void ShowMessage(const String& Msg);
