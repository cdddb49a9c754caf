// Lists: "LISTBOX", "COMBOBOX" and their class-library controls.
#pragma once
