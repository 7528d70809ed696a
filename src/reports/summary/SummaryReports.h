#pragma once

namespace granwise {

// Adds the summary, scale, progress, corridor and basic statistics tables to the report
// registry (tables 1-1, 1-23 .. 1-27, 2-1 .. 2-18 and the basic statistics table).
void registerSummaryReports();

// The two families, each in files of their own.
void registerInvestmentSummaryTables(); // 1-1, 1-24 .. 1-26, 2-1 .. 2-9, 1-27
void registerFacilityTables();          // 2-10 .. 2-18, 1-23, basic statistics table

} // namespace granwise
