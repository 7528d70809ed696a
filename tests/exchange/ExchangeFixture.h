#pragma once

#include "exchange/Progress.h"
#include "sheets/CellValue.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <gtest/gtest.h>
#include <memory>

namespace granwise::test {

// A database in a temporary program directory that also holds the built upload template.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString file(const QString &name) const { return db->dir() + u'/' + name; }
    // The rows of TZ_XIANGMU in id order, every column but id as text ("<null>" for NULL).
    QVector<QStringList> tableRows() const;
    QByteArray databaseHash() const;
    // Adds a project: the given values over a complete, validated project.
    void addProject(const QString &enterprise, const QString &project, const QVariantMap &values = {}) const;

    std::unique_ptr<TempDatabase> db;
};

// Writes a workbook with one sheet: header texts in row 1 and the given rows below.
void writeWorkbook(const QString &path, const QString &sheetName, const QStringList &header,
                   const QVector<QVector<QVariant>> &rows);
// An upload row (uploadColumnNames() order) of a complete project with this key.
QVector<QVariant> uploadRow(const QString &enterprise, const QString &project, const QVariantMap &values = {});
QStringList uploadHeader();

// Every cell of a sheet, rows keyed by row number.
QMap<int, QVector<CellValue>> sheetCells(const QString &path, const QString &sheetName);

// Records what the progress was told.
struct RecordingProgress : Progress {
    int maximum = -1;
    int position = 0;
    int starts = 0;
    bool finished = false;
    void start(int m) override
    {
        maximum = m;
        position = 0;
        ++starts;
        finished = false;
    }
    void advance(int steps) override { position += steps; }
    void finish() override { finished = true; }
};

} // namespace granwise::test
