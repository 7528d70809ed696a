#include "FileDialogs.h"

#include <QFileDialog>

namespace granwise {

namespace {
FileDialogs *installed = nullptr;
} // namespace

FileDialogs &FileDialogs::current()
{
    static QtFileDialogs real;
    return installed ? *installed : real;
}

void FileDialogs::install(FileDialogs *dialogs)
{
    installed = dialogs;
}

QString QtFileDialogs::saveFileName(QWidget *parent, const QString &proposedPath, const QString &filter,
                                    const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QString(), proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtFileDialogs::openFileName(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QStringList QtFileDialogs::openFileNames(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), filter);
}

} // namespace granwise
