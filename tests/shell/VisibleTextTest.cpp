#include "projects/windows/ProjectForm.h"
#include "projects/windows/ProjectListWindow.h"
#include "projects/windows/QueryDefinitionWindow.h"
#include "shell/MainMenu.h"
#include "shell/MainWindow.h"
#include "store/TaskInfo.h"
#include "ui/DocumentOpener.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

// The Latin letters a Chinese user meets on purpose: file types and extensions, the product's
// name, the return's statutory table number, units of measure and the keyboard letters of the
// standard buttons ("是(&Y)"). Anything else is an untranslated text.
const QRegularExpression Allowed(
    uR"(\*?\.(xlsx|xls|bak|pdf|png|html)\b|\b(Excel|PDF|PNG|Granwise|GL21|kW|m|m2|m3|km|t)\b|\(&[A-Z]\))"_s);
const QRegularExpression Latin(u"[A-Za-z]"_s);

// Where a window shows what the user or the machine named (paths, typed values) rather than
// the program's own words: the file dialog's folder, file name and file list.
bool showsUserData(const QWidget *w)
{
    for (const QObject *o = w; o; o = o->parent()) {
        const QString name = o->objectName();
        if (name == u"lookInCombo"_s || name == u"fileNameEdit"_s || name == u"listView"_s ||
            name == u"treeView"_s || name == u"sidebar"_s)
            return true;
    }
    return false;
}

class VisibleTexts {
public:
    void collect(QWidget &window)
    {
        const QString where = window.objectName().isEmpty() ? QString::fromLatin1(window.metaObject()->className())
                                                            : window.objectName();
        add(where, window.windowTitle());
        QList<QWidget *> widgets = window.findChildren<QWidget *>();
        for (QWidget *w : std::as_const(widgets)) {
            if (!w->isVisible() || showsUserData(w))
                continue;
            if (auto *l = qobject_cast<QLabel *>(w))
                add(where, l->text());
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                add(where, b->text());
            else if (auto *e = qobject_cast<QLineEdit *>(w))
                add(where, e->placeholderText());
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                add(where, g->title());
            if (auto *c = qobject_cast<QComboBox *>(w))
                for (int i = 0; i < c->count(); ++i)
                    add(where, c->itemText(i));
            if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model() && !qobject_cast<QTextBrowser *>(w))
                addModel(where, *v->model());
            if (auto *bar = qobject_cast<QMenuBar *>(w))
                addActions(where, bar->actions());
        }
    }
    // "window: text" for every text with a Latin letter that is not allowed.
    QStringList offending() const { return m_offending; }
    int count() const { return m_count; }

private:
    void add(const QString &where, const QString &text)
    {
        ++m_count;
        QString rest = text;
        rest.remove(Allowed);
        if (rest.contains(Latin))
            m_offending << where + u": "_s + text;
    }
    void addActions(const QString &where, const QList<QAction *> &actions)
    {
        for (QAction *a : actions) {
            add(where, a->text());
            if (a->menu())
                addActions(where, a->menu()->actions());
        }
    }
    void addModel(const QString &where, const QAbstractItemModel &model)
    {
        for (int c = 0; c < model.columnCount(); ++c)
            add(where, model.headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < std::min(model.rowCount(), 60); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                add(where, model.index(r, c).data().toString());
    }

    QStringList m_offending;
    int m_count = 0;
};

// Collects and closes every modal window that opens while it lives: the windows the menu
// opens, the message boxes and the file dialogs inside them.
class ModalCollector {
public:
    explicit ModalCollector(VisibleTexts &texts) : m_texts(texts)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(10);
    }
    QStringList seen;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || m_closing.contains(modal))
            return;
        m_closing << modal;
        seen << modal->objectName();
        m_texts.collect(*modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
    VisibleTexts &m_texts;
    QTimer m_poll;
    QList<QPointer<QWidget>> m_closing;
};

} // namespace

TEST(VisibleText, EveryWindowMessageAndFileDialogIsChinese)
{
    test::TempDatabase db;
    {
        Connection c = db.connect();
        TaskInfo info;
        info.year = u"2013"_s;
        info.level = u"省级汇总"_s;
        info.unitName = u"河南省粮食局"_s;
        info.province = u"河南省"_s;
        writeTaskInfo(c, info);
    }
    db.addProject({{u"项目名称"_s, u"一号库"_s}, {u"企业详细名称"_s, u"郑州粮库"_s}, {u"省"_s, u"河南省"_s},
                   {u"地市"_s, u"郑州市"_s}, {u"县"_s, u"中原区"_s}, {u"行政区划代码"_s, u"410102"_s},
                   {u"隶属关系"_s, u"地方企业"_s}, {u"总_建筑安装工程"_s, 12.5}});
    Prompter::install(nullptr); // the real message boxes
    FileDialogs::install(nullptr);
    const QString opener = DocumentOpener::program();
    DocumentOpener::program() = u"/nonexistent/opener"_s; // help in the program's own viewer

    // The help document, so that its viewer opens.
    const QString help = db.locations().helpPath(u"粮食流通基础设施建设投资统计主要指标解释及填报说明.html"_s);
    QDir().mkpath(QFileInfo(help).path());
    QFile helpFile(help);
    ASSERT_TRUE(helpFile.open(QIODevice::WriteOnly));
    helpFile.write("<html><body>说明</body></html>");
    helpFile.close();

    VisibleTexts texts;
    TFrmmain main(db.context());
    main.show();
    texts.collect(main);
    {
        ModalCollector collector(texts);
        // The standard buttons of each kind of question.
        Prompter::current().ask(&main, u"提示"_s, u"是否继续？"_s, Prompter::Icon::Question, Prompter::Buttons::YesNo);
        Prompter::current().ask(&main, u"提示"_s, u"是否继续？"_s, Prompter::Icon::Information,
                                Prompter::Buttons::OkCancel);
        // Every entry of the menu but 退出.
        for (const MenuEntry &entry : menuEntries()) {
            const bool leaf = std::none_of(menuEntries().begin(), menuEntries().end(),
                                           [&](const MenuEntry &e) { return e.parent == entry.name; });
            if (leaf && entry.opens != u"N6"_s)
                main.choose(entry.name);
        }
        // The windows the list opens.
        TFrmInput1 form(db.context());
        form.show();
        texts.collect(form);
        TFrmList1 list(db.context());
        TFrmDefine define(list);
        define.show();
        texts.collect(define);
        QTest::qWait(50);
        EXPECT_GE(collector.seen.size(), 40) << collector.seen.join(u' ').toStdString();
        EXPECT_TRUE(collector.seen.contains(u"HelpViewer"_s));
        EXPECT_TRUE(collector.seen.contains(u"SaveDialog"_s) || collector.seen.contains(u"OpenDialog"_s));
    }
    DocumentOpener::program() = opener;
    EXPECT_GT(texts.count(), 1000);
    EXPECT_TRUE(texts.offending().isEmpty()) << texts.offending().join(u'\n').toStdString();
}
