#pragma once

#include "store/AppContext.h"
#include "store/Database.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>
#include <optional>

class QLineEdit;

namespace granwise::test {

// A fresh database of the shipped shape in a temporary directory, which also serves as the
// program folder of its context (templates go in its templet/).
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();
    const QString &path() const { return m_path; }
    QString dir() const { return m_dir.path(); }
    Connection connect() const { return Connection(m_path); }
    // The context a program run from the directory has: this database, templates beside it.
    const AppContext &context() const { return m_context; }
    const AppLocations &locations() const { return m_context.locations; }
    // Inserts a project row: the given columns, every other number column 0.
    void addProject(const QVariantMap &values) const;
    int count(const QString &table) const;

private:
    QTemporaryDir m_dir;
    AppContext m_context;
    QString m_path;
};

// Path of a file in tests/fixtures.
QString fixture(const QString &name);

// The names in a folder (files and folders, hidden ones too), sorted: what a failed write must
// not have added to.
QStringList namesIn(const QString &folder);

// A disk that is full past `bytes`: while the object lives, no file of the process grows
// beyond that size (a write past it fails as on a full disk).
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    quint64 m_previous[2];
    void (*m_previousHandler)(int);
};

} // namespace granwise::test
