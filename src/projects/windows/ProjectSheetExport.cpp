#include "ProjectSheetExport.h"

#include "ProjectForm.h"
#include "projects/ProjectSheet.h"
#include "projects/ProjectSheetTexts.h"
#include "projects/ProjectTexts.h"
#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "store/ProjectColumns.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

namespace granwise {

void exportProjectSheet(TFrmInput1 &form)
{
    guarded(&form, [&] {
        const QString path = FileDialogs::current().saveFileName(
            &form, texts::SaveProjectSheetTitle, proposedSheetFileName(texts::ProjectSheetName, Clock::current().now().date()), texts::WorkbookFilter,
            texts::SheetSuffix);
        if (path.isEmpty())
            return;
        QStringList totals;
        for (int g = 0; g < investmentPrefixes().size(); ++g)
            totals << form.totalText(g);
        writeSheetWorkbook(sheetTemplatePath(form.context().locations, texts::ProjectSheetName), path, projectSheetEntries(form.values(), totals));
        inform(&form, texts::Hint, texts::SaveSucceeded);
    });
}

} // namespace granwise
