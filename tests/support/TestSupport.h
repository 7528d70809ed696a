#pragma once

#include "store/Database.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>

namespace granwise::test {

// A fresh database of the shipped shape in a temporary directory, which also serves as the
// program directory (glob::AppDir) while the object lives.
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();
    const QString &path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    Connection connect() const { return Connection(m_path); }
    // Inserts a project row: the given columns, every other number column 0.
    void addProject(const QVariantMap &values) const;
    int count(const QString &table) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Path of a file in tests/fixtures.
QString fixture(const QString &name);

} // namespace granwise::test
