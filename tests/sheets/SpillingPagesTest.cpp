#include "sheets/SpillingPages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace granwise::sheets;

namespace {

constexpr qint64 kPage = 16;

// Page i holds its number in every byte.
SpillingPages filled(size_t pages, size_t resident, size_t recent)
{
    SpillingPages table(kPage, resident, recent);
    for (size_t i = 0; i < pages; ++i)
        std::memset(table.begin(), int('a' + i), size_t(kPage));
    return table;
}

std::string bytesOf(const SpillingPages &table, size_t page, qint64 offset, qint64 size)
{
    std::string out(size_t(size), '\0');
    if (const char *bytes = table.page(page))
        std::memcpy(out.data(), bytes + offset, size_t(size));
    else
        table.read(page, offset, out.data(), size);
    return out;
}

TEST(SpillingPages, EveryPageReadsBackWhereverItIsHeld)
{
    // Two pages stay in memory, the others go to the file; one is read back at a time.
    const SpillingPages table = filled(10, 2, 1);
    ASSERT_EQ(table.count(), 10u);
    // Forward: the resident pages, then each spilled one read back in turn.
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(bytesOf(table, i, 3, 5), std::string(5, char('a' + i))) << "page " << i;
    // Pages left behind are no longer read back whole, but their bytes are still there.
    EXPECT_EQ(table.page(4), nullptr);
    for (const size_t i : {5u, 2u, 8u, 0u, 9u, 3u})
        EXPECT_EQ(bytesOf(table, i, 0, kPage), std::string(size_t(kPage), char('a' + i))) << "page " << i;
}

TEST(SpillingPages, APageBeingFilledStaysInMemory)
{
    SpillingPages table(kPage, 1, 1);
    std::memset(table.begin(), 'a', size_t(kPage));
    std::memset(table.begin(), 'b', size_t(kPage));
    char *third = table.begin();
    std::memset(third, 'c', 8);
    EXPECT_EQ(table.last(), third);
    EXPECT_EQ(bytesOf(table, 1, 0, kPage), std::string(size_t(kPage), 'b')); // spilled when the third began
    std::memset(third + 8, 'd', 8);
    EXPECT_EQ(bytesOf(table, 2, 0, kPage), std::string(8, 'c') + std::string(8, 'd'));
}

} // namespace
