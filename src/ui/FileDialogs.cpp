#include "FileDialogs.h"

#include <QFileDialog>

namespace granwise {

using namespace Qt::StringLiterals;

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

QString QtFileDialogs::saveFileName(QWidget *parent, const QString &title, const QString &proposedPath,
                                    const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, title, proposedPath, filter);
    dialog.setObjectName(u"SaveDialog"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtFileDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return openFileNames(parent, title, filter, QFileDialog::ExistingFile).value(0);
}

QStringList QtFileDialogs::openFileNames(QWidget *parent, const QString &title, const QString &filter)
{
    return openFileNames(parent, title, filter, QFileDialog::ExistingFiles);
}

QStringList QtFileDialogs::openFileNames(QWidget *parent, const QString &title, const QString &filter,
                                         QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setObjectName(u"OpenDialog"_s);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace granwise
