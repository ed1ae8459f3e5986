#pragma once
// Every window reports a DPI of the test's choice for the life of the object.

#include "display/win32/Dpi.h"

class TDpiOverride {
public:
    explicit TDpiOverride(int dpi) { SetDpiOverride(dpi); }
    ~TDpiOverride() { SetDpiOverride(0); }
    TDpiOverride(const TDpiOverride&) = delete;
    TDpiOverride& operator=(const TDpiOverride&) = delete;
};

// The scales the layout tests go through: 100, 125 and 150 %.
constexpr int kTestDpis[] = {96, 120, 144};
