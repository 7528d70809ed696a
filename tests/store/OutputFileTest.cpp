#include "TestSupport.h"

#include "store/Error.h"
#include "store/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {
QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}
} // namespace

TEST(OutputFile, TheTargetIsTheOldFileUntilTheNewOneIsComplete)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"表.xlsx"_s);
    write(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    {
        OutputFile out(target);
        EXPECT_EQ(QFileInfo(out.path()).absolutePath(), dir.path()); // beside the target: the rename stays on one disk
        write(out.path(), "new");
        write(out.path() + u"-journal"_s, "journal");
        EXPECT_EQ(bytes(target), "old");
        out.commit();
    }
    EXPECT_EQ(bytes(target), "new");
    const QFile::Permissions ownerGroupOther{0x7000 | 0x0070 | 0x0007}; // leaves out the "user" bits
    EXPECT_EQ(QFile::permissions(target) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(test::namesIn(dir.path()), QStringList{u"表.xlsx"_s});

    {
        OutputFile dropped(target); // a writer that failed or was stopped
        write(dropped.path(), "half");
        write(dropped.path() + u"-journal"_s, "journal");
    }
    EXPECT_EQ(bytes(target), "new");
    EXPECT_EQ(test::namesIn(dir.path()), QStringList{u"表.xlsx"_s});

    writeFileAtomically(dir.filePath(u"新.pdf"_s), "pdf");
    EXPECT_EQ(bytes(dir.filePath(u"新.pdf"_s)), "pdf");
    EXPECT_EQ(test::namesIn(dir.path()), (QStringList{u"新.pdf"_s, u"表.xlsx"_s}));
}

TEST(OutputFile, AFolderThatTakesNoFileIsNamed)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"没有/表.xlsx"_s);
    try {
        OutputFile out(target);
        FAIL() << "a file in a missing folder";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), u"Cannot create file "_s + target);
    }
    const QString folder = dir.filePath(u"文件夹"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    OutputFile onto(folder); // a folder cannot be replaced by a file
    EXPECT_THROW(onto.commit(), Error);
    EXPECT_EQ(test::namesIn(dir.path()), QStringList{u"文件夹"_s});
}
