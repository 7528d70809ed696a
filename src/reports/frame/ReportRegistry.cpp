#include "ReportRegistry.h"

#include "store/Error.h"


#include <memory>
#include <vector>

namespace granwise {

namespace {

struct Registry {
    std::vector<std::unique_ptr<ReportDefinition>> definitions;
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

const ReportDefinition &registeredReport(const QString &name)
{
    if (const ReportDefinition *byTitleOrNumber = findReport(name))
        return *byTitleOrNumber;
    const QVector<const ReportDefinition *> ofClass = reportsOfWindow(name);
    if (ofClass.size() == 1)
        return *ofClass.front();
    throw Error(QStringLiteral("没有名为“%1”的报表").arg(name));
}

} // namespace granwise
