#pragma once

#include <functional>

class QWidget;

namespace granwise {

// The general error handler: runs an operation and shows an unexpected failure (Error or any
// std::exception) in a box captioned with the program's title. The window stays open.
// Returns false when the operation failed.
bool guarded(QWidget *parent, const std::function<void()> &operation);

} // namespace granwise
