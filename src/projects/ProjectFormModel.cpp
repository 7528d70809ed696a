#include "ProjectFormModel.h"

#include "FormFigures.h"
#include "LevelRule.h"
#include "RegionLists.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "store/TaskInfo.h"

#include <utility>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

using Failures = std::vector<std::exception_ptr>;

constexpr int kPreviousYearGroup = 1; // the investment row "二、上年累计完成投资"

const QStringList &yearChoices()
{
    static const QStringList years{u"2010"_s, u"2011"_s, u"2012"_s, u"2013"_s, u"2014"_s, u"2015"_s};
    return years;
}

// A column the form shows as a group of radio buttons, one per choice.
bool isRadioColumn(const ProjectColumn &c)
{
    return c.control.isEmpty() && !c.choices.isEmpty();
}

// The investment and scale figures: blank when 0, summed into the derived figures.
bool isFigureColumn(const ProjectColumn &c)
{
    return c.group == ColumnGroup::Investment || c.group == ColumnGroup::Scale;
}

bool isPreviousYearColumn(const QString &column)
{
    for (int p = 0; p < investmentParts().size(); ++p)
        if (column == investmentColumn(kPreviousYearGroup, p))
            return true;
    return false;
}

const QHash<QString, QString> &columnOfControl()
{
    static const QHash<QString, QString> columns = [] {
        QHash<QString, QString> byControl;
        for (const ProjectColumn &c : projectColumns())
            if (!c.control.isEmpty())
                byControl.insert(c.control, c.name);
        return byControl;
    }();
    return columns;
}

QString blankIfZero(const QString &text)
{
    return text == u"0"_s ? QString() : text;
}

// Runs one step of a longer operation; a failure is kept and the operation goes on.
template <typename Step>
bool attempt(Failures &failures, Step &&step)
{
    try {
        step();
        return true;
    } catch (...) {
        failures.push_back(std::current_exception());
        return false;
    }
}

} // namespace

ProjectFormModel::ProjectFormModel(QString databasePath, SaveTarget target)
    : m_path(std::move(databasePath)), m_target(std::move(target)), m_totals(int(investmentPrefixes().size()))
{
    for (const ProjectColumn &c : projectColumns()) {
        if (c.group == ColumnGroup::Bookkeeping)
            continue;
        QString text;
        if (c.name == col::Affiliation)
            text = LocalEnterprise;
        else if (c.name == col::StartedThisYear)
            text = c.choices.value(1);
        else if (isRadioColumn(c))
            text = c.choices.value(0);
        m_values.insert(c.name, text);
    }
    m_choices.insert(col::Company, findProjectColumn(col::Company)->choices);
    m_choices.insert(col::Year, yearChoices());
}

std::vector<std::exception_ptr> ProjectFormModel::open()
{
    Failures failures;
    std::optional<TaskInfo> task;
    attempt(failures, [&] {
        Connection connection(m_path);
        m_choices[col::Province] = provinceNames(connection);
        task = readTaskInfo(connection);
    });
    applyPreset(levelPreset(task.value_or(TaskInfo{})), failures);
    if (!m_target.projectName.isEmpty())
        load(failures);
    if (!text(col::Company).isEmpty())
        attempt(failures, [&] { listBranches(); });
    return failures;
}

void ProjectFormModel::applyPreset(const FormPreset &preset, Failures &failures)
{
    for (auto it = preset.texts.cbegin(); it != preset.texts.cend(); ++it)
        setText(it.key(), it.value());
    if (preset.fillPrefectures)
        attempt(failures, [&] { listPrefectures(); });
    if (preset.fillCounties)
        attempt(failures, [&] { listCounties(); });
    if (preset.lookupRegionCode)
        attempt(failures, [&] { lookUpRegionCode(); });
    m_locked.unite(preset.locked);
    // Set without the effect of a choice: the preset says itself whether the company shows.
    m_values[col::Affiliation] = preset.central ? CentralEnterprise : LocalEnterprise;
    m_companyVisible = preset.companyVisible;
}

void ProjectFormModel::load(Failures &failures)
{
    std::optional<ProjectValues> stored;
    const bool read = attempt(failures, [&] {
        Connection connection(m_path);
        stored = loadProject(connection, m_target.projectName, m_target.enterpriseName);
    });
    if (!read || !stored)
        return;
    for (const ProjectColumn &c : projectColumns())
        if (c.group != ColumnGroup::Bookkeeping && c.name != col::RegionCode)
            setText(c.name, stored->value(c.name));
    m_id = stored->value(col::Id);
    m_values[col::RegionCode] = stored->value(col::RegionCode);

    if (!text(col::Province).isEmpty())
        attempt(failures, [&] { listPrefectures(); });
    if (!text(col::Prefecture).isEmpty())
        attempt(failures, [&] { listCounties(); });
    if (!text(col::County).isEmpty())
        attempt(failures, [&] { lookUpRegionCode(); });
    recompute();
}

void ProjectFormModel::chooseProvince(const QString &province)
{
    m_values[col::Province] = province;
    m_values[col::Prefecture].clear();
    m_values[col::County].clear();
    listPrefectures();
}

void ProjectFormModel::choosePrefecture(const QString &prefecture)
{
    m_values[col::Prefecture] = prefecture;
    m_values[col::County].clear();
    listCounties();
}

void ProjectFormModel::chooseCounty(const QString &county)
{
    m_values[col::County] = county;
    lookUpRegionCode();
}

void ProjectFormModel::chooseCompany(const QString &company)
{
    m_values[col::Company] = company;
    listBranches();
}

void ProjectFormModel::listPrefectures()
{
    Connection connection(m_path);
    m_choices[col::County].clear();
    m_choices[col::Prefecture] = prefectureNames(connection, text(col::Province));
}

void ProjectFormModel::listCounties()
{
    Connection connection(m_path);
    const QStringList counties = countyNames(connection, text(col::Province), text(col::Prefecture));
    m_choices[col::County] = counties;
    if (!counties.isEmpty())
        m_locked.remove(col::County);
}

void ProjectFormModel::lookUpRegionCode()
{
    Connection connection(m_path);
    m_values[col::RegionCode] =
        granwise::regionCode(connection, text(col::Province), text(col::Prefecture), text(col::County));
}

void ProjectFormModel::listBranches()
{
    const QString company = text(col::Company);
    if (company.isEmpty())
        return;
    m_choices[col::Branch].clear();
    Connection connection(m_path);
    m_choices[col::Branch] = branchNames(connection, company);
}

void ProjectFormModel::setText(const QString &column, const QString &text)
{
    const ProjectColumn *c = findProjectColumn(column);
    if (!c || (c->control.isEmpty() && !isRadioColumn(*c)))
        return; // the bookkeeping columns and the region code are never set by hand
    if (column == col::Affiliation) {
        const QString chosen = text == CentralEnterprise ? CentralEnterprise : LocalEnterprise;
        if (chosen != m_values.value(column)) {
            m_values[column] = chosen;
            m_companyVisible = chosen == CentralEnterprise;
        }
    } else if (column == col::StartedThisYear) {
        const QStringList &yesNo = c->choices;
        m_values[column] = text == yesNo.value(0) ? yesNo.value(0) : yesNo.value(1);
    } else if (isRadioColumn(*c)) {
        if (c->choices.contains(text))
            m_values[column] = text;
    } else {
        m_values[column] = text;
    }
}

FilteredInput ProjectFormModel::typeNumber(const QString &column, const QString &text)
{
    const ProjectColumn *c = findProjectColumn(column);
    if (!c || !c->isNumber() || c->derived) {
        setText(column, text);
        return {text, -1};
    }
    FilteredInput filtered = filterNumberInput(text);
    if (filtered.removedAt < 0)
        filtered.text = text;
    m_values[column] = filtered.text;
    recompute();
    return filtered;
}

void ProjectFormModel::recompute()
{
    const QHash<QString, QString> figures = recomputeFigures(
        [this](const QString &control) { return m_values.value(columnOfControl().value(control)); });
    for (int g = 0; g < m_totals.size(); ++g)
        m_totals[g] = blankIfZero(figures.value(investmentTotalControl(g)));
    for (const DerivedFigure &figure : derivedFigures())
        if (!figure.column.isEmpty())
            m_values[figure.column] = figures.value(figure.control);
    for (const ProjectColumn &c : projectColumns())
        if (isFigureColumn(c))
            m_values[c.name] = blankIfZero(m_values.value(c.name));
}

bool ProjectFormModel::isEnabled(const QString &column) const
{
    if (m_locked.contains(column))
        return false;
    // A project started this year has no investment up to the year before.
    const bool startedThisYear = text(col::StartedThisYear) == findProjectColumn(col::StartedThisYear)->choices.value(0);
    return !startedThisYear || !isPreviousYearColumn(column);
}

QString ProjectFormModel::regionCode() const
{
    return text(col::RegionCode);
}

SaveOutcome ProjectFormModel::save(const ValidationQuestion &validate, const QDateTime &now)
{
    ProjectValues values = m_values;
    for (const ProjectColumn &c : projectColumns())
        if (isFigureColumn(c) && values.value(c.name).isEmpty())
            values[c.name] = u"0"_s;
    const SaveOutcome outcome = saveProject(m_path, values, m_target, validate, now);
    if (outcome.saved)
        m_saved = SavedProject{outcome.id, values.value(col::ProjectName), values.value(col::EnterpriseName)};
    return outcome;
}

} // namespace granwise
