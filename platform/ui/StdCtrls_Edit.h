// Edits: the "EDIT" window class and TCustomEdit, TEdit, TCustomMemo, TMemo.
#pragma once
