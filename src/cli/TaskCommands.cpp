#include "Cli.h"

#include "store/TaskInfo.h"
#include "units/TaskInfoForm.h"
#include "units/TaskInfoTexts.h"

#include <QHash>
#include <algorithm>
#include <array>

namespace granwise::cli {

using namespace Qt::StringLiterals;

namespace {

using taskinfo::Box;
using taskinfo::BoxState;
using taskinfo::TaskInfoForm;

int showTask(Context &context)
{
    const std::optional<TaskInfo> info = readTaskInfo(context.databasePath);
    if (!info) {
        context.err << u"还没有设置任务信息\n"_s;
        return Refused;
    }
    const std::pair<QString, const QString *> lines[] = {
        {u"年份"_s, &info->year},          {u"隶属关系"_s, &info->affiliation}, {u"汇总级别"_s, &info->level},
        {u"省"_s, &info->province},        {u"地市"_s, &info->prefecture},      {u"县"_s, &info->county},
        {u"所属公司"_s, &info->company},   {u"分公司"_s, &info->branch},        {u"行政区划码"_s, &info->regionCode},
        {u"归属"_s, &info->unitName},
    };
    for (const auto &[name, value] : lines)
        context.out << name << u'=' << *value << u'\n';
    return Success;
}

// One option of "task set": the box it fills, its label and how the form takes the choice.
struct BoxOption {
    QString option;
    Box box;
    const QString *label;
    void (TaskInfoForm::*choose)(const QString &);
};

const std::array<BoxOption, 8> &boxOptions()
{
    namespace text = taskinfo::text;
    static const std::array<BoxOption, 8> options{{
        {u"--year"_s, Box::Year, &text::YearLabel, &TaskInfoForm::chooseYear},
        {u"--affiliation"_s, Box::Affiliation, &text::AffiliationLabel, &TaskInfoForm::chooseAffiliation},
        {u"--level"_s, Box::Level, &text::LevelLabel, &TaskInfoForm::chooseLevel},
        {u"--province"_s, Box::Province, &text::ProvinceLabel, &TaskInfoForm::chooseProvince},
        {u"--prefecture"_s, Box::Prefecture, &text::PrefectureLabel, &TaskInfoForm::choosePrefecture},
        {u"--county"_s, Box::County, &text::CountyLabel, &TaskInfoForm::chooseCounty},
        {u"--company"_s, Box::Company, &text::CompanyLabel, &TaskInfoForm::chooseCompany},
        {u"--branch"_s, Box::Branch, &text::BranchLabel, &TaskInfoForm::chooseBranch},
    }};
    return options;
}

// Chooses the values box by box, in the window's tab order, as a user would: only from the
// box's list and only in a box the level leaves open. Saves with the window's checks.
int setTask(Context &context, const QStringList &args)
{
    QHash<QString, QString> given;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const auto known = std::find_if(boxOptions().begin(), boxOptions().end(),
                                        [&](const BoxOption &o) { return o.option == args.at(i); });
        if (known == boxOptions().end() || i + 1 >= args.size() || given.contains(args.at(i)))
            return UsageError;
        given.insert(args.at(i), args.at(i + 1));
    }
    for (const QString &required : {u"--year"_s, u"--affiliation"_s, u"--level"_s})
        if (!given.contains(required))
            return UsageError;

    TaskInfoForm form{taskinfo::TaskInfoLookups(context.databasePath)};
    form.open();
    for (const BoxOption &o : boxOptions()) {
        const auto value = given.constFind(o.option);
        if (value == given.constEnd())
            continue;
        if (form.state(o.box) != BoxState::On) {
            // A box the level fixes takes its own value; any other is refused.
            if (form.state(o.box) == BoxState::Fixed && form.text(o.box) == *value)
                continue;
            context.err << u"汇总级别“%1”不填写%2\n"_s.arg(form.text(Box::Level), *o.label);
            return Refused;
        }
        if (!form.choices(o.box).contains(*value)) {
            context.err << u"“%1”不是可选的%2。可选：%3\n"_s.arg(*value, *o.label, form.choices(o.box).join(u"、"_s));
            return Refused;
        }
        (form.*o.choose)(*value);
    }
    if (const std::optional<taskinfo::SaveRefusal> refusal = form.saveRefusal()) {
        context.err << refusal->message.trimmed() << u'\n';
        return Refused;
    }
    form.save();
    context.out << u"任务信息已保存\n"_s;
    return Success;
}

int task(Context &context, const QStringList &args)
{
    if (args.size() == 1 && args.first() == u"show"_s)
        return showTask(context);
    if (!args.isEmpty() && args.first() == u"set"_s)
        return setTask(context, args.mid(1));
    return UsageError;
}

} // namespace

QVector<Command> taskCommands()
{
    return {
        {u"task"_s, u"task show | task set --year Y --affiliation 地方企业|中央企业 --level L\n"
                    u"                             [--province P] [--prefecture C] [--county X] [--company N] [--branch N]\n"
                    u"                             显示任务信息（每行 名称=值），或按任务信息窗口的规则设置它"_s,
         task},
    };
}

} // namespace granwise::cli
