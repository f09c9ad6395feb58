// Arrow keys on an option button move to the next button of its group and
// select it; the dialog manager alone would walk the tab order instead.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace quorvel::layout {

// The option button an arrow key moves to from `id` (step -1 up or left, +1
// down or right), if any.
using GroupWalk = std::function<std::optional<int>(int id, int step)>;

// `walk` must outlive the button.
void WalkGroupWithArrowKeys(HWND button, const GroupWalk* walk);

}  // namespace quorvel::layout
