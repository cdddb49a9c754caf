// The grid controls demo's window and the hook through which the combo box
// and date-time picker add their set-up, in a source file of their own in
// this folder. Until one is linked the demo's weak default does nothing.
#pragma once

#include "platform/base/Types.h"

class TForm;

// The area of the window left for the combo box and the date-time picker
// (client coordinates).
constexpr int kPickerAreaLeft = 600, kPickerAreaTop = 16, kPickerAreaWidth = 280, kPickerAreaHeight = 300;

// Called once the spin and button edits stand, before the window shows.
void SetUpGridControlsPickers(TForm* Form);
// Called once the window shows, before "READY": the pickers' "AT" lines.
void AnnounceGridControlsPickers(TForm* Form);
// Prints a line for the smoke test (flushed).
void DemoSay(const char* Format, ...);
