#include "Maintenance.h"

#include "MainWindow.h"
#include "store/CommonTexts.h"
#include "store/Database.h"
#include "store/Maintenance.h"
#include "store/TaskInfo.h"
#include "ui/DocumentOpener.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
const QString BackupFilter = u"备份文件 (*.bak)"_s;
const QString BackupSaveTitle = u"保存备份文件"_s;
const QString BackupOpenTitle = u"选择备份文件"_s;
const QString HelpFileName = u"粮食流通基础设施建设投资统计主要指标解释及填报说明.html"_s;

void showHelpViewer(QWidget &parent, const QString &path)
{
    QDialog viewer(&parent);
    viewer.setObjectName(u"HelpViewer"_s);
    viewer.setWindowTitle(u"粮食流通基础设施建设投资统计主要指标解释及填报说明"_s);
    auto *browser = new QTextBrowser(&viewer);
    browser->setOpenExternalLinks(false);
    browser->setSource(QUrl::fromLocalFile(path));
    auto *layout = new QVBoxLayout(&viewer);
    layout->addWidget(browser);
    viewer.resize(900, 700);
    viewer.exec();
}

void say(QWidget *parent, const QString &text)
{
    inform(parent, u"消息！"_s, text);
}
} // namespace

void N10Click(TFrmmain &window)
{
    const auto answer = Prompter::current().ask(&window, texts::Hint, u"系统复位将清除系统中的全部纪录，确定要操作吗？"_s,
                                                Prompter::Icon::Information, Prompter::Buttons::OkCancelSafe);
    if (answer != Prompter::Answer::Ok)
        return;
    if (!guarded(&window, [&window] { maintenance::resetDatabase(window.context().databasePath); }))
        return;
    inform(&window, u"操作提示"_s, u"系统复位完成。请选择确定，退出系统！"_s);
    window.close();
}

void N17Click(TFrmmain &window)
{
    QString proposed;
    if (!guarded(&window, [&] {
            Connection connection(window.context().databasePath);
            const std::optional<TaskInfo> info = readTaskInfo(connection);
            proposed = u"备份-"_s + (info ? info->filingUnit : QString()) + u"-"_s + (info ? info->year : QString());
        }))
        return;
    // Installed, the program folder is read-only: backups go beside the office's data.
    const AppLocations &locations = window.context().locations;
    if (!locations.besideProgram)
        proposed = locations.dataDir + proposed;
    const QString path =
        FileDialogs::current().saveFileName(&window, BackupSaveTitle, proposed, BackupFilter, u"bak"_s);
    if (path.isEmpty()) {
        say(&window, u"数据备份取消！"_s);
        return;
    }
    if (guarded(&window, [&] { maintenance::backupDatabase(window.context().databasePath, path); }))
        say(&window, u"数据备份成功！"_s);
}

void N15Click(TFrmmain &window)
{
    const auto answer = Prompter::current().ask(
        &window, texts::Message, u"数据恢复将清除系统中的全部记录，请先将数据备份后再执行本操作。确定要操作吗？"_s,
        Prompter::Icon::Question, Prompter::Buttons::YesNoSafe);
    if (answer != Prompter::Answer::Yes)
        return;
    const QString path = FileDialogs::current().openFileName(&window, BackupOpenTitle, BackupFilter);
    if (path.isEmpty()) {
        say(&window, u"文件恢复取消！"_s);
        return;
    }
    if (!path.endsWith(u"bak"_s)) { // lower case only, as always
        say(&window, u"文件类型错误，文件恢复失败！"_s);
        return;
    }
    QStringList notRestored;
    try {
        notRestored = maintenance::restoreDatabase(path, window.context().databasePath);
    } catch (const Error &e) {
        // The database stays as it was.
        say(&window, u"文件恢复出现错误，导入中断，请修改后重新导入！\n"_s + e.text());
        return;
    }
    if (notRestored.isEmpty())
        say(&window, u"文件恢复成功！"_s);
    else
        say(&window, u"文件恢复成功！\n"_s + maintenance::notRestoredText(notRestored));
}

void N18Click(TFrmmain &window)
{
    const QString path = window.context().locations.helpPath(HelpFileName);
    if (!QFileInfo::exists(path))
        return; // nothing to show, as with any missing document
    // Where the desktop cannot open it, read it inside the program.
    DocumentOpener::open(&window, path, [&window, path] { showHelpViewer(window, path); });
}

} // namespace granwise
