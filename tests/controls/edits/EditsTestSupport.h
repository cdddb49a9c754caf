// The form for the combo box, date-time picker and edit button tests.
#pragma once

#include "tests/controls/HeadlessFormTest.h"

class EditsFormTest : public HeadlessFormTest {};
