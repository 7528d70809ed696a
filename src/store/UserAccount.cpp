#include "UserAccount.h"

#include "Database.h"

#include <sodium.h>

namespace granwise::account {

using namespace Qt::StringLiterals;

namespace {
void requireSodium()
{
    if (sodium_init() < 0)
        throw Error(u"密码组件初始化失败"_s);
}
} // namespace

QString hashPassword(const QString &password)
{
    requireSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), quint64(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw Error(u"密码无法加密保存（内存不足）"_s);
    return QString::fromLatin1(hash);
}

bool passwordMatches(const QString &hash, const QString &typedPassword)
{
    requireSodium();
    const QByteArray stored = hash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray utf8 = typedPassword.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

bool exists(Connection &connection)
{
    return connection.prepare(u"select * from userinfo"_s).next();
}

QString userName(Connection &connection)
{
    Statement st = connection.prepare(u"select f2 from userinfo order by rowid limit 1"_s);
    return st.next() ? st.text(0) : QString();
}

bool verify(Connection &connection, const QString &name, const QString &typedPassword)
{
    Statement st = connection.prepare(u"select passwd from userinfo where f2 = ? order by rowid limit 1"_s);
    st.bind(1, name);
    return st.next() && passwordMatches(st.text(0), typedPassword);
}

void createFirst(Connection &connection, const QString &name, const QString &password)
{
    const QString hash = hashPassword(password);
    Transaction transaction(connection);
    connection.execute(u"delete from userinfo"_s);
    connection.execute(u"insert into userinfo (f2, passwd) values (?, ?)"_s, {name, hash});
    transaction.commit();
}

void change(Connection &connection, const QString &name, const QString &password)
{
    const QString hash = hashPassword(password.trimmed());
    Transaction transaction(connection);
    const QVariant first = connection.scalar(u"select min(rowid) from userinfo"_s);
    if (first.isValid())
        connection.execute(u"update userinfo set f2 = ?, passwd = ? where rowid = ?"_s,
                           {name.trimmed(), hash, first});
    else
        connection.execute(u"insert into userinfo (f2, passwd) values (?, ?)"_s, {name.trimmed(), hash});
    transaction.commit();
}

} // namespace granwise::account
