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

QDialog *createReportWindow(const ReportDefinition &definition, QWidget *parent)
{
    if (const auto factory = factories().find(definition.className); factory != factories().end())
        return (*factory)(parent);
    return new ReportWindow(definition, parent);
}

} // namespace granwise
