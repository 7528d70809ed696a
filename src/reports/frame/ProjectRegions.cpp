#include "ProjectRegions.h"

#include "store/Database.h"

namespace granwise {

using namespace Qt::StringLiterals;

QStringList provincesPresent(const QString &databasePath)
{
    Connection connection(databasePath);
    Statement st(connection, u"select 省 from TZ_XIANGMU group by 省"_s);
    QStringList provinces;
    while (st.next())
        provinces << st.text(0).trimmed();
    return provinces;
}

QStringList prefecturesOf(const QString &databasePath, const QString &province)
{
    Connection connection(databasePath);
    Statement st(connection, u"select 地市 from TZ_XIANGMU where 省 = ? group by 地市"_s);
    st.bind(1, province);
    QStringList prefectures;
    while (st.next())
        prefectures << st.text(0).trimmed();
    return prefectures;
}

} // namespace granwise
