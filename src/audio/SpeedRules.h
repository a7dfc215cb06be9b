#pragma once
// Playback speed in tenths of normal, 6..15; a level of 0 (nothing opened yet) counts as 10.

inline constexpr int kSlowestLevel = 6;
inline constexpr int kFastestLevel = 15;
inline constexpr int kNormalLevel = 10;

constexpr int EffectiveLevel(int level) { return level == 0 ? kNormalLevel : level; }

// One step in the given direction, stopping at the limits.
constexpr int SteppedLevel(int level, bool faster) {
    level = EffectiveLevel(level);
    if (faster) return level < kFastestLevel ? level + 1 : level;
    return level > kSlowestLevel ? level - 1 : level;
}

// One step slower, wrapping from the slowest to the fastest: 0.9, 0.8 ... 0.6, 1.5, 1.4 ...
constexpr int CycledLevel(int level) {
    level = EffectiveLevel(level) - 1;
    return level < kSlowestLevel ? kFastestLevel : level;
}
