#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QWidget;

namespace granwise {

// Every file dialog of the program goes through the installed FileDialogs. Each dialog has a
// title that says what the file is for ("选择上报文件", "保存统计表" …). An empty result (or an
// empty list) means the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // filter like "Excel 工作簿 (*.xlsx)"; defaultSuffix is added when the user types none.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath,
                                 const QString &filter, const QString &defaultSuffix) = 0;
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual QStringList openFileNames(QWidget *parent, const QString &title, const QString &filter) = 0;

    static FileDialogs &current();
    static void install(FileDialogs *dialogs); // not owned; nullptr restores the real dialogs
};

class QtFileDialogs : public FileDialogs {
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QStringList openFileNames(QWidget *parent, const QString &title, const QString &filter) override;

private:
    static QStringList openFileNames(QWidget *parent, const QString &title, const QString &filter,
                                     QFileDialog::FileMode mode);
};

} // namespace granwise
