#pragma once

#include <functional>

class QWidget;

namespace granwise {

// The general error handler: runs an operation and shows an unexpected failure (an Error, any
// other exception, memory that ran out included) in a box captioned with the program's title,
// in the words of failureText. The window stays open.
// Returns false when the operation failed.
bool guarded(QWidget *parent, const std::function<void()> &operation);

} // namespace granwise
