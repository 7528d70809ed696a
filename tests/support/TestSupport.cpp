#include "TestSupport.h"

#include "store/DatabaseSetup.h"
#include "store/ProjectColumns.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace granwise::test {

using namespace Qt::StringLiterals;

TempDatabase::TempDatabase()
{
    m_context = AppContext::forProgramFolder(m_dir.path());
    m_path = m_context.databasePath;
    createDatabase(m_path);
}

TempDatabase::~TempDatabase() = default;

void TempDatabase::addProject(const QVariantMap &values) const
{
    QStringList names;
    QStringList marks;
    QVariantList bound;
    for (const ProjectColumn &c : projectColumns()) {
        if (c.kind == ColumnKind::AutoNumber)
            continue;
        QVariant v = values.value(c.name);
        if (!values.contains(c.name) && c.isNumber())
            v = 0.0;
        names << c.name;
        marks << u"?"_s;
        bound << v;
    }
    Connection connection(m_path);
    connection.execute(u"insert into TZ_XIANGMU (%1) values (%2)"_s.arg(names.join(u','), marks.join(u',')), bound);
}

int TempDatabase::count(const QString &table) const
{
    Connection connection(m_path);
    return connection.scalar(u"select count(*) from "_s + table).toInt();
}

QString fixture(const QString &name)
{
    return QStringLiteral(GRANWISE_FIXTURES) + u'/' + name;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    m_previous[0] = previous.rlim_cur;
    m_previous[1] = previous.rlim_max;
    // A write past the limit then fails with EFBIG instead of ending the process.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit previous{};
    previous.rlim_cur = rlim_t(m_previous[0]);
    previous.rlim_max = rlim_t(m_previous[1]);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

} // namespace granwise::test
