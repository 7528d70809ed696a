#include "sheets/CopyTemplateFile.h"
#include "store/Error.h"

#include <QDir>
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

TEST(WriteFromTemplate, OnlyACompleteWorkbookReachesTheTarget)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(u"template.xlsx"_s);
    writeAll(source, "template");
    const QString target = dir.filePath(u"out.xlsx"_s);

    // The fill fails: nothing is left at the target, nor beside it.
    EXPECT_EQ(errorOf([&] {
                  writeFromTemplate(source, target, [&](const QString &copy) {
                      EXPECT_EQ(readAll(copy), "template");
                      EXPECT_FALSE(QFile::exists(target));
                      throw Error(u"磁盘已满"_s);
                  });
              }),
              u"磁盘已满"_s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"template.xlsx"_s});

    writeFromTemplate(source, target, [](const QString &copy) { writeAll(copy, "filled"); });
    EXPECT_EQ(readAll(target), "filled");

    // Over an existing file: it stays until the new one is complete, and after a failure.
    EXPECT_THROW(writeFromTemplate(source, target, [](const QString &) { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_EQ(readAll(target), "filled");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{u"out.xlsx"_s, u"template.xlsx"_s}));

    // A template saved over itself is filled too (the copy is never the template).
    writeFromTemplate(source, source, [](const QString &copy) { writeAll(copy, "filled template"); });
    EXPECT_EQ(readAll(source), "filled template");
}
