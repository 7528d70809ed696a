#pragma once

#include <QString>
#include <functional>

class QObject;

namespace granwise {

// Hands a document to the desktop's program for its type. The desktop may have none: the
// opener is not installed, or it finds no handler and exits with an error (xdg-open: "no
// method available"). Then `fallback` runs, from the event loop, so the program can show the
// document itself.
class DocumentOpener {
public:
    // `owner` keeps the opener process; its end cancels a pending fallback.
    static void open(QObject *owner, const QString &path, const std::function<void()> &fallback);
    // The desktop's opener ("xdg-open"); a test puts a stand-in here.
    static QString &program();
};

} // namespace granwise
