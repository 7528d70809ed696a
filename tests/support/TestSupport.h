#pragma once

#include "store/Database.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <deque>
#include <functional>
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

// Records every message and answers questions from a script (Ok/Yes when the script is empty).
class RecordingPrompter : public Prompter {
public:
    struct Said {
        QString caption;
        QString text;
        Icon icon;
    };
    RecordingPrompter() { install(this); }
    ~RecordingPrompter() override { install(nullptr); }
    void message(QWidget *, const QString &caption, const QString &text, Icon icon) override;
    Answer ask(QWidget *, const QString &caption, const QString &text, Icon icon, Buttons buttons) override;
    void answerNext(Answer answer) { m_answers.push_back(answer); }
    QStringList texts() const;
    QString lastText() const { return said.empty() ? QString() : said.back().text; }

    std::vector<Said> said;

private:
    std::deque<Answer> m_answers;
};

// File dialogs that return scripted paths (empty = cancelled) and remember what was proposed.
class ScriptedFileDialogs : public FileDialogs {
public:
    ScriptedFileDialogs() { install(this); }
    ~ScriptedFileDialogs() override { install(nullptr); }
    QString saveFileName(QWidget *, const QString &proposedPath, const QString &, const QString &) override;
    QString openFileName(QWidget *, const QString &) override;
    QStringList openFileNames(QWidget *, const QString &) override;
    void next(const QString &path) { m_paths.push_back({path}); }
    void nextMany(const QStringList &paths) { m_paths.push_back(paths); }
    QString proposed;

private:
    std::deque<QStringList> m_paths;
};

// Runs `act` on the modal window that the next exec() opens (for windows opened modally by the
// code under test).
void whenModalOpens(std::function<void(QWidget &)> act);

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
