#pragma once
// Font style bits of display lines and of the font table.

#include <cstdint>

constexpr int32_t fsItalic = 1;
constexpr int32_t fsUnderline = 2;
constexpr int32_t fsBold = 4;
