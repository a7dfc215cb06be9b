#pragma once
#include <string_view>

inline constexpr int kTipCount = 17;

// The rotating usage tips of the status line, numbered 1..17; any other number gives "".
std::u16string_view TipText(int number);

// The tip after `number`, from 17 back to 1.
constexpr int NextTipIndex(int number) { return number >= kTipCount || number < 1 ? 1 : number + 1; }
