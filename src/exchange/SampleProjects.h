#pragma once

#include "Progress.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace granwise {

class Connection;

// Synthetic projects for trials and benchmarks: every one passes every validation rule of the
// return (sources sum to the composition in each investment group, "of which" items within
// their parents, derived scale items equal their sums, completed scale within the planned,
// a six-digit postal code, every required field filled), with real provinces, prefectures,
// counties and division codes from the database's county table and real companies and
// branches from its branch tables. The same seed gives the same projects.
class SampleProjects {
public:
    SampleProjects(Connection &connection, quint64 seed);
    ~SampleProjects();
    SampleProjects(const SampleProjects &) = delete;
    SampleProjects &operator=(const SampleProjects &) = delete;

    // The next project as a row of the upload file (uploadColumnNames() order).
    QVector<QVariant> next();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Writes an upload workbook of `count` sample projects: a copy of the template filled in.
void writeSampleWorkbook(const QString &databasePath, const QString &templatePath, const QString &path, int count,
                         quint64 seed, Progress &progress);

} // namespace granwise
