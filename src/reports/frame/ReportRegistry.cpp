#include "ReportRegistry.h"

#include "ReportWindow.h"
#include "store/Glob.h"

#include <QHash>
#include <memory>
#include <vector>

namespace granwise {

namespace {

struct Registry {
    std::vector<std::unique_ptr<ReportDefinition>> definitions;
    QHash<QString, ReportWindowFactory> factories;
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

void registerReport(ReportDefinition definition)
{
    for (auto &existing : registry().definitions) {
        if (existing->title == definition.title) {
            *existing = std::move(definition);
            return;
        }
    }
    registry().definitions.push_back(std::make_unique<ReportDefinition>(std::move(definition)));
}

void registerReportWindow(const QString &className, ReportWindowFactory factory)
{
    registry().factories.insert(className, std::move(factory));
}

QVector<const ReportDefinition *> reportDefinitions()
{
    QVector<const ReportDefinition *> all;
    for (const auto &d : registry().definitions)
        all << d.get();
    return all;
}

const ReportDefinition *findReport(const QString &titleOrNumber)
{
    for (const auto &d : registry().definitions)
        if (d->title == titleOrNumber || (!d->number.isEmpty() && d->number == titleOrNumber))
            return d.get();
    return nullptr;
}

QVector<const ReportDefinition *> reportsOfWindow(const QString &className)
{
    QVector<const ReportDefinition *> served;
    for (const auto &d : registry().definitions)
        if (d->className == className)
            served << d.get();
    return served;
}

const ReportDefinition *reportForWindow(const QString &className, const QString &reportTitle)
{
    const QVector<const ReportDefinition *> served = reportsOfWindow(className);
    for (const ReportDefinition *d : served)
        if (d->title == reportTitle)
            return d;
    return served.value(0, nullptr);
}

QDialog *createReportWindow(const QString &className, QWidget *parent)
{
    if (const auto factory = registry().factories.find(className); factory != registry().factories.end())
        return (*factory)(parent);
    const ReportDefinition *definition = reportForWindow(className, glob::ReportTitle);
    if (!definition)
        return nullptr;
    return new ReportWindow(*definition, parent);
}

} // namespace granwise
