#pragma once

namespace granwise {

// Registers every statistical table of the program (regional, summary and the reporting
// status) once; the menu, the command line and the template tool call it before they use the
// report registry.
void registerAllReports();

} // namespace granwise
