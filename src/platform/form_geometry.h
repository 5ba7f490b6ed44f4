#pragma once

namespace solvane {

// A window's place and size on the screen.
struct FormGeometry {
  int top = 0, left = 0, width = 0, height = 0;
};

}  // namespace solvane
