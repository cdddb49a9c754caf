// The standard controls: the window classes "EDIT", "BUTTON", "STATIC",
// "LISTBOX" and "COMBOBOX" with their messages, and the class-library
// controls that wrap them. One header per family.
#pragma once

#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/StdCtrls_Button.h"
#include "platform/ui/StdCtrls_List.h"
