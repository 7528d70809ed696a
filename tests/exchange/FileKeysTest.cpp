#include "exchange/FileKeys.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace granwise;
using namespace Qt::StringLiterals;

namespace {

// The prints answer alone for a key never met; a print met before is confirmed, so that the
// answer is the one a set of the keys' texts gives, however many keys grow the table.
TEST(FileKeys, AnswersAsASetOfTheKeysWouldAskingOnlyForPrintsMetBefore)
{
    QSet<ProjectKey> texts;
    int confirmations = 0;
    FileKeys keys([&](const ProjectKey &key) {
        ++confirmations;
        return texts.contains(key);
    });
    int repeats = 0;
    for (int i = 0; i < 50000; ++i) {
        // Every seventh row repeats a key of an earlier row.
        const int n = i % 7 == 6 ? i / 3 : i;
        const ProjectKey key{u"企业%1"_s.arg(n % 977), u"项目%1"_s.arg(n)};
        const bool expected = texts.contains(key);
        ASSERT_EQ(keys.seenBefore(key), expected) << i;
        repeats += expected ? 1 : 0;
        texts.insert(key);
    }
    EXPECT_GT(repeats, 0);
    EXPECT_EQ(confirmations, repeats);
}

} // namespace
