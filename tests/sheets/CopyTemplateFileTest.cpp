#include "sheets/CopyTemplateFile.h"
#include "store/Error.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

} // namespace

TEST(CopyTemplateFile, CopiesEveryByteOverALongerExistingFile)
{
    QTemporaryDir dir;
    QByteArray bytes(200 * 1024 + 17, '\0');
    QRandomGenerator generator(7);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    const QString source = dir.filePath(u"模板.xlsx"_s);
    const QString destination = dir.filePath(u"保存.xlsx"_s);
    writeAll(source, bytes);
    writeAll(destination, QByteArray(400 * 1024, 'x'));

    CopyTemplateFile(source, destination);

    EXPECT_EQ(readAll(destination), bytes);
    EXPECT_EQ(readAll(source), bytes);
}

TEST(CopyTemplateFile, ReportsTheFileItCannotOpenOrCreate)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(u"t.xlsx"_s);
    writeAll(source, "abc");
    const QString missing = dir.filePath(u"没有.xlsx"_s);
    const QString unwritable = dir.filePath(u"no/such/folder/out.xlsx"_s);

    EXPECT_EQ(errorOf([&] { CopyTemplateFile(missing, dir.filePath(u"x.xlsx"_s)); }), u"Cannot open file "_s + missing);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"x.xlsx"_s)));
    EXPECT_EQ(errorOf([&] { CopyTemplateFile(source, unwritable); }), u"Cannot create file "_s + unwritable);
}

TEST(CopyTemplateFile, CopyingAFileOntoItselfKeepsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"t.xlsx"_s);
    writeAll(path, "template bytes");
    CopyTemplateFile(path, path);
    EXPECT_EQ(readAll(path), QByteArray("template bytes"));
}
