#include "UploadWindows.h"

#include "exchange/ExchangeTexts.h"
#include "exchange/UploadFile.h"
#include "exchange/UploadImport.h"
#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "store/Database.h"
#include "store/TaskInfo.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

// The main window's progress bar; the window is kept painted while the work runs.
class BarProgress : public Progress {
public:
    explicit BarProgress(QProgressBar *bar) : m_bar(bar) {}

    void start(int maximum) override
    {
        if (!m_bar)
            return;
        m_bar->setRange(0, maximum);
        m_bar->setValue(0);
        m_bar->show();
        repaint();
    }
    void advance(int steps) override
    {
        if (!m_bar)
            return;
        m_bar->setValue(std::min(m_bar->value() + steps, m_bar->maximum()));
        if (m_sinceRepaint.elapsed() > 100)
            repaint();
    }
    void finish() override
    {
        if (m_bar)
            m_bar->hide();
    }

private:
    void repaint()
    {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.restart();
    }
    QPointer<QProgressBar> m_bar;
    QElapsedTimer m_sinceRepaint;
};

} // namespace

void makeUploadFile(QWidget *mainWindow, QProgressBar *bar, const AppContext &context)
{
    guarded(mainWindow, [&] {
        QString unitName;
        {
            Connection connection(context.databasePath);
            if (unvalidatedProjectCount(connection) > 0) {
                inform(mainWindow, texts::Message, exchange::NotValidated);
                return;
            }
            if (const auto info = readTaskInfo(connection))
                unitName = info->unitName;
        }
        const QString proposed = defaultUploadFileName(unitName, Clock::current().now().date());
        const QString path =
            FileDialogs::current().saveFileName(mainWindow, exchange::SaveDialogTitle, proposed,
                                                texts::WorkbookFilter, u"xlsx"_s);
        if (path.isEmpty())
            return;
        if (mainWindow)
            mainWindow->repaint();
        BarProgress progress(bar);
        makeUploadWorkbook(context.databasePath, uploadTemplatePath(context.locations), path, progress);
        inform(mainWindow, texts::Message, exchange::Exported);
    });
}

void importUploadFiles(QWidget *mainWindow, QProgressBar *bar, const AppContext &context)
{
    guarded(mainWindow, [&] {
        const QStringList paths =
            FileDialogs::current().openFileNames(mainWindow, exchange::OpenDialogTitle, exchange::ImportFilter);
        if (paths.isEmpty())
            return;
        if (paths.size() == 1 && !hasUploadFileExtension(paths.first())) {
            inform(mainWindow, texts::Message, exchange::WrongFileType);
            return;
        }
        if (mainWindow)
            mainWindow->repaint();
        BarProgress progress(bar);
        // The files are read, checked and taken in once, inside one transaction; what they did
        // is shown, and only the office's Yes commits it.
        UploadIntake session(context.databasePath);
        for (const QString &path : paths)
            session.take(path, progress);
        // With nothing to take in there is nothing to decide: say why and stop.
        if (std::all_of(session.files().begin(), session.files().end(),
                        [](const FileIntake &f) { return f.refused(); })) {
            inform(mainWindow, exchange::PreviewCaption,
                   exchange::NothingToImport + u"\n\n"_s + previewLines(session.files()).join(u'\n'));
            return;
        }
        const Prompter::Answer answer = Prompter::current().ask(
            mainWindow, exchange::PreviewCaption,
            exchange::PreviewQuestion + u"\n\n"_s + previewLines(session.files()).join(u'\n'), Prompter::Icon::Question,
            Prompter::Buttons::YesNo);
        if (answer != Prompter::Answer::Yes)
            return;
        const QString regionQuestion = regionReplacementQuestion(session.files());
        if (!regionQuestion.isEmpty()
            && Prompter::current().ask(mainWindow, exchange::PreviewCaption, regionQuestion, Prompter::Icon::Question,
                                       Prompter::Buttons::YesNoSafe)
                   == Prompter::Answer::Yes)
            session.replaceRegions();
        session.commit();
        bool allImported = true;
        QStringList lines;
        for (const FileIntake &f : session.files()) {
            allImported &= !f.refused();
            lines << importSummaryLine(importOutcome(f));
        }
        const QString headline = allImported ? exchange::Imported : exchange::ImportFailed;
        inform(mainWindow, texts::Message, headline + u"\n\n"_s + lines.join(u'\n'));
    });
}

} // namespace granwise
