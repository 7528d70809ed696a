#include "TestSupport.h"

#include "store/DatabaseSetup.h"
#include "store/Glob.h"
#include "store/ProjectColumns.h"


namespace granwise::test {

using namespace Qt::StringLiterals;

TempDatabase::TempDatabase()
{
    glob::setProgramDirectory(m_dir.path());
    m_path = glob::ConnectionString;
    createDatabase(m_path);
}

TempDatabase::~TempDatabase()
{
    glob::AppDir.clear();
    glob::ConnectionString.clear();
}

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

} // namespace granwise::test
