#pragma once

namespace granwise {

// How a long operation on the whole data set tells how far it is. The main window shows it in
// its progress bar; the command line shows nothing (the base class does nothing).
class Progress {
public:
    virtual ~Progress() = default;
    // Shows the bar at position 0 with this maximum.
    virtual void start(int maximum) { (void)maximum; }
    virtual void advance(int steps = 1) { (void)steps; }
    // Hides the bar.
    virtual void finish() {}
};

// Hides the bar when the operation ends, however it ends.
class ProgressScope {
public:
    explicit ProgressScope(Progress &progress) : m_progress(progress) {}
    ~ProgressScope() { m_progress.finish(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    Progress &m_progress;
};

} // namespace granwise
