#pragma once

class QWidget;

namespace granwise {

// Puts a top-level window of fixed size in the middle of the available area of its screen,
// whatever its parent window is or whether that is shown yet.
void centreOnScreen(QWidget &window);

} // namespace granwise
