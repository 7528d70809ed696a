#include "ReportWindowFactory.h"

#include "ReportWindow.h"

#include <QHash>

namespace granwise {

namespace {

QHash<QString, ReportWindowFactory> &factories()
{
    static QHash<QString, ReportWindowFactory> all;
    return all;
}

} // namespace

void registerReportWindow(const QString &className, ReportWindowFactory factory)
{
    factories().insert(className, std::move(factory));
}

QDialog *createReportWindow(const ReportDefinition &definition, const AppContext &context, QWidget *parent)
{
    if (const auto factory = factories().find(definition.className); factory != factories().end())
        return (*factory)(context, parent);
    return new ReportWindow(definition, context, parent);
}

} // namespace granwise
