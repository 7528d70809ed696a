#include "store/AppLocations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

void makeFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// A folder tree of the three shapes the program meets: its build (or an unpacked copy), an
// installation under a prefix, and an unpacked copy on a folder the user cannot write.
class AppLocationsTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString at(const QString &relative) const { return root.filePath(relative) + u'/'; }
};

TEST_F(AppLocationsTest, BuildOrUnpackedFolderKeepsEverythingBesideTheProgram)
{
    makeFile(root.filePath(u"bin/templet/out.xlsx"_s));
    const AppLocations l = AppLocations::resolve(root.filePath(u"bin"_s), at(u"home/data"_s));
    EXPECT_TRUE(l.besideProgram);
    EXPECT_EQ(l.programDir, at(u"bin"_s));
    EXPECT_EQ(l.dataDir, at(u"bin"_s));
    EXPECT_EQ(l.databasePath(), at(u"bin"_s) + u"ledger.db"_s);
    EXPECT_EQ(l.templatePath(u"out.xlsx"_s), at(u"bin"_s) + u"templet/out.xlsx"_s);
    EXPECT_EQ(l.helpPath(u"a.html"_s), at(u"bin"_s) + u"help/a.html"_s);
}

TEST_F(AppLocationsTest, InstalledProgramKeepsDataInTheUserFolderAndPrefersTheUsersTemplates)
{
    makeFile(root.filePath(u"usr/bin/granwise"_s));
    makeFile(root.filePath(u"usr/share/granwise/templet/out.xlsx"_s));
    makeFile(root.filePath(u"usr/share/granwise/templet/表1-1.xlsx"_s));
    makeFile(root.filePath(u"home/data/templet/表1-1.xlsx"_s)); // the office's own
    const AppLocations l = AppLocations::resolve(root.filePath(u"usr/bin"_s), root.filePath(u"home/data"_s));
    EXPECT_FALSE(l.besideProgram);
    EXPECT_EQ(l.sharedDir, at(u"usr/share/granwise"_s));
    EXPECT_EQ(l.dataDir, at(u"home/data"_s));
    EXPECT_EQ(l.databasePath(), at(u"home/data"_s) + u"ledger.db"_s);
    EXPECT_EQ(l.templatePath(u"out.xlsx"_s), at(u"usr/share/granwise"_s) + u"templet/out.xlsx"_s);
    EXPECT_EQ(l.templatePath(u"表1-1.xlsx"_s), at(u"home/data"_s) + u"templet/表1-1.xlsx"_s);
    EXPECT_EQ(l.helpPath(u"a.html"_s), at(u"usr/share/granwise"_s) + u"help/a.html"_s);
}

TEST_F(AppLocationsTest, ReadOnlyUnpackedFolderReadsItsTemplatesAndWritesToTheUserFolder)
{
    makeFile(root.filePath(u"ro/templet/out.xlsx"_s));
    QFile::setPermissions(root.filePath(u"ro"_s), QFile::ReadOwner | QFile::ExeOwner);
    const AppLocations l = AppLocations::resolve(root.filePath(u"ro"_s), root.filePath(u"home/data"_s));
    QFile::setPermissions(root.filePath(u"ro"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (l.besideProgram)
        GTEST_SKIP() << "running as root: every folder is writable";
    EXPECT_EQ(l.sharedDir, at(u"ro"_s));
    EXPECT_EQ(l.databasePath(), at(u"home/data"_s) + u"ledger.db"_s);
    EXPECT_EQ(l.templatePath(u"out.xlsx"_s), at(u"ro"_s) + u"templet/out.xlsx"_s);
}

} // namespace
} // namespace granwise
