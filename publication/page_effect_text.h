#pragma once

#include "publication/single_text.h"

#include <cstddef>

namespace lumvrex {

// Room that formatPageEffect() needs at most.
inline constexpr std::size_t kMaxPageEffectLength = kMaxSingleTextLength;

// A page's effect number: a unit value in [0, 1) scaled to [0, 15) in single
// precision.
float pageEffectValue(float unit);

// The effect as written after "PageEffect = ". Seven significant digits can
// round a value just below 15 up to "15", which the authoring program does
// not accept; that case is written as the largest seven-digit value below.
std::size_t formatPageEffect(float effect, char decimalSeparator, char *out);

} // namespace lumvrex
