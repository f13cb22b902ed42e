#pragma once

#include "app/rgb_image.h"

namespace vek::testing {

// Colours the picture tests share: white, and a background that no picture of theirs paints.
inline constexpr ScreenColor kWhite = 0xFFFFFF;
inline constexpr ScreenColor kBackground = makeScreenColor(1, 2, 3);

}  // namespace vek::testing
