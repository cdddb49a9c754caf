// Shared set-up of the list box and combo box tests: the list window
// classes registered, fonts with fixed metrics (one row is kRow pixels) and
// a top-level parent window.
#pragma once

#include "platform/ui/StdCtrls_List.h"
#include "tests/platform/ui/WmTestSupport.h"

constexpr int kRow = 16;  // item height with fixed-metrics fonts

class ListClassesTest : public WmTest {
protected:
    void SetUp() override
    {
        WmTest::SetUp();
        SetFixedMetricsFonts(true);
        RegisterListClasses();
        Parent = Top(100, 100, 400, 300);
    }
    void TearDown() override
    {
        WmTest::TearDown();
        SetFixedMetricsFonts(false);
    }
    HWND Parent = nullptr;
};
