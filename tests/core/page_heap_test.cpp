#include "core/page_heap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <set>
#include <vector>

namespace zt {
namespace {

constexpr std::uint32_t kPage = PageHeap::kPageSize;

int PageOf(HeapAddr a) { return static_cast<int>(a / kPage); }
std::uint32_t OffsetOf(HeapAddr a) { return a % kPage; }

// A request size that takes exactly `need` bytes of a page.
std::uint32_t RequestFor(std::uint32_t need) { return need - 4; }

TEST(PageHeapRounding, RequestsTakeTheSizeWithoutTheLowTwoBitsPlusFour)
{
    EXPECT_EQ(PageHeap::RoundRequest(33), 36u);
    EXPECT_EQ(PageHeap::RoundRequest(8), 12u);
    EXPECT_EQ(PageHeap::RoundRequest(0), 4u);
    EXPECT_EQ(PageHeap::RoundRequest(3), 4u);
    EXPECT_EQ(PageHeap::RoundRequest(7924), 7928u);
    EXPECT_EQ(PageHeap::RoundRequest(7927), 7928u);

    PageHeap h(4);
    h.SelectHeap(1);
    HeapAddr a = h.Allocate(33);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(h.BytesInUse(), 36);
    HeapAddr b = h.Allocate(8);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(h.BytesInUse(), 48);
    // Blocks are packed back to back downwards from the end of the page.
    EXPECT_EQ(OffsetOf(a), kPage - 36);
    EXPECT_EQ(OffsetOf(b), kPage - 48);
    EXPECT_EQ(h.PageBytesInUse(PageOf(a)), 48u);
}

TEST(PageHeapLayout, NewPageOffersOneBlockOf7928Bytes)
{
    PageHeap h(4);
    h.SelectHeap(1);
    EXPECT_EQ(h.Allocate(7928), 0u) << "7928 rounds to 7932, more than a page offers";
    EXPECT_EQ(h.PagesPresent(), 0);

    HeapAddr whole = h.Allocate(7927);
    ASSERT_NE(whole, 0u);
    EXPECT_EQ(OffsetOf(whole), PageHeap::kFirstBlock);
    EXPECT_EQ(h.PageBytesInUse(PageOf(whole)), 7928u);

    // The page is full: even the smallest request needs another page.
    HeapAddr tiny = h.Allocate(0);
    ASSERT_NE(tiny, 0u);
    EXPECT_NE(PageOf(tiny), PageOf(whole));
    EXPECT_EQ(OffsetOf(tiny), kPage - 4);
    EXPECT_EQ(h.PagesPresent(), 2);
}

TEST(PageHeapLayout, FirstFitCutsFromTheEndOfTheFirstBlockLargeEnough)
{
    PageHeap h(4);
    h.SelectHeap(1);
    HeapAddr top = h.Allocate(RequestFor(4000));
    HeapAddr mid = h.Allocate(RequestFor(3728));
    ASSERT_EQ(OffsetOf(top), 4192u);
    ASSERT_EQ(OffsetOf(mid), 464u);
    // Free blocks now: [264, 464) of 200 bytes and, after this, [4192, 8192).
    h.Release(top, RequestFor(4000));

    HeapAddr a = h.Allocate(RequestFor(300));  // too big for the first block
    EXPECT_EQ(OffsetOf(a), kPage - 300);
    HeapAddr b = h.Allocate(RequestFor(200));  // exact fit of the first block
    EXPECT_EQ(OffsetOf(b), 264u);
    HeapAddr c = h.Allocate(RequestFor(100));  // the exact fit left the list
    EXPECT_EQ(OffsetOf(c), kPage - 400);
    for (HeapAddr x : {a, b, c})
        EXPECT_EQ(PageOf(x), PageOf(mid));
    EXPECT_EQ(h.PagesPresent(), 1);
}

// Four blocks fill a page exactly; whatever order they come back in, the
// page must end up as one free block again.
TEST(PageHeapRelease, EveryReleaseOrderCoalescesTheWholePage)
{
    const std::array<std::uint32_t, 4> needs{1000, 2000, 1928, 3000};
    std::array<int, 4> order{0, 1, 2, 3};
    int orders = 0;
    do {
        SCOPED_TRACE(::testing::Message() << "order " << order[0] << order[1] << order[2] << order[3]);
        PageHeap h(4);
        h.SelectHeap(1);
        std::array<HeapAddr, 4> blocks{};
        for (int i = 0; i < 4; ++i) {
            blocks[i] = h.Allocate(RequestFor(needs[i]));
            ASSERT_EQ(PageOf(blocks[i]), 0);
        }
        ASSERT_EQ(h.PageBytesInUse(0), PageHeap::kPageRoom);

        std::uint32_t inUse = PageHeap::kPageRoom;
        for (int i : order) {
            h.Release(blocks[i], RequestFor(needs[i]));
            inUse -= needs[i];
            EXPECT_EQ(h.PageBytesInUse(0), inUse);
        }
        EXPECT_EQ(h.BytesInUse(), 0);
        EXPECT_EQ(h.PageOwner(0), 0);

        h.SelectHeap(1);
        HeapAddr whole = h.Allocate(RequestFor(PageHeap::kPageRoom));
        EXPECT_EQ(PageOf(whole), 0);
        EXPECT_EQ(OffsetOf(whole), PageHeap::kFirstBlock);
        EXPECT_EQ(h.PagesPresent(), 1);
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 24);
}

TEST(PageHeapRelease, ABlockBetweenTwoFreeBlocksJoinsBothOfThem)
{
    PageHeap h(4);
    h.SelectHeap(1);
    const std::array<std::uint32_t, 5> needs{1500, 1200, 800, 2428, 2000};
    std::array<HeapAddr, 5> b{};
    for (int i = 0; i < 5; ++i)
        b[i] = h.Allocate(RequestFor(needs[i]));
    ASSERT_EQ(h.PageBytesInUse(0), PageHeap::kPageRoom);

    h.Release(b[1], RequestFor(needs[1]));
    h.Release(b[3], RequestFor(needs[3]));
    h.Release(b[2], RequestFor(needs[2]));
    const std::uint32_t joined = needs[1] + needs[2] + needs[3];

    // Nothing bigger than the joined block fits on page 0 ...
    HeapAddr tooBig = h.Allocate(RequestFor(joined + 4));
    EXPECT_EQ(PageOf(tooBig), 1);
    h.Release(tooBig, RequestFor(joined + 4));
    // ... and the joined block itself is an exact fit starting at the lowest piece.
    h.SelectHeap(1);
    HeapAddr fit = h.Allocate(RequestFor(joined));
    EXPECT_EQ(fit, b[3]);
    EXPECT_EQ(h.PageBytesInUse(0), PageHeap::kPageRoom);
}

TEST(PageHeapOwnership, AnEmptiedPageLosesItsOwnerAndAnotherHeapTakesIt)
{
    PageHeap h(8);
    h.SelectHeap(1);
    HeapAddr a = h.Allocate(100);
    ASSERT_EQ(PageOf(a), 0);
    EXPECT_EQ(h.PageOwner(0), 1);

    h.SelectHeap(2);  // page 0 belongs to heap 1: heap 2 gets a page of its own
    HeapAddr b = h.Allocate(100);
    ASSERT_EQ(PageOf(b), 1);
    EXPECT_EQ(h.PageOwner(1), 2);

    h.Release(a, 100);
    EXPECT_EQ(h.PageBytesInUse(0), 0u);
    EXPECT_EQ(h.PageOwner(0), 0);

    // Selecting heap 2 again makes the first page it owns or nobody owns current.
    h.SelectHeap(2);
    EXPECT_EQ(h.PageOwner(0), 2);
    HeapAddr c = h.Allocate(100);
    EXPECT_EQ(PageOf(c), 0);

    h.SelectHeap(1);
    HeapAddr d = h.Allocate(100);
    EXPECT_EQ(PageOf(d), 2);
    EXPECT_EQ(h.PageOwner(2), 1);
}

TEST(PageHeapOwnership, AFullHeapTakesAnUnownedPageBeforeANewOne)
{
    PageHeap h(8);
    h.SelectHeap(1);
    HeapAddr a = h.Allocate(100);
    h.SelectHeap(2);
    HeapAddr full = h.Allocate(RequestFor(PageHeap::kPageRoom));
    ASSERT_EQ(PageOf(a), 0);
    ASSERT_EQ(PageOf(full), 1);
    h.Release(a, 100);
    ASSERT_EQ(h.PageOwner(0), 0);

    HeapAddr b = h.Allocate(100);  // heap 2 still current, its page is full
    EXPECT_EQ(PageOf(b), 0);
    EXPECT_EQ(h.PageOwner(0), 2);
    EXPECT_EQ(h.PagesPresent(), 2);
}

TEST(PageHeapOwnership, TheLastUsedPageIsTriedFirstThenTheHeapsOtherPages)
{
    PageHeap h(8);
    h.SelectHeap(1);
    HeapAddr x = h.Allocate(RequestFor(7000));
    HeapAddr y = h.Allocate(RequestFor(928));
    HeapAddr z = h.Allocate(RequestFor(104));
    ASSERT_EQ(PageOf(x), 0);
    ASSERT_EQ(PageOf(y), 0);
    ASSERT_EQ(PageOf(z), 1);
    h.Release(y, RequestFor(928));  // page 0 has room again and still belongs to heap 1

    HeapAddr big = h.Allocate(RequestFor(7800));
    EXPECT_EQ(PageOf(big), 1) << "page 1 was used last";
    HeapAddr other = h.Allocate(RequestFor(500));  // page 1 has 24 bytes left
    EXPECT_EQ(PageOf(other), 0);
    HeapAddr small = h.Allocate(0);
    EXPECT_EQ(PageOf(small), 0) << "page 0 is now the last used";
    EXPECT_EQ(h.PagesPresent(), 2);
}

TEST(PageHeapOwnership, ReleaseHeapFreesOnlyThatHeapsPages)
{
    PageHeap h(16);
    struct Block { HeapAddr a; std::uint32_t n; std::uint8_t fill; };
    std::array<std::vector<Block>, 4> blocks;
    for (int round = 0; round < 3; ++round) {
        for (std::uint16_t heap = 1; heap <= 3; ++heap) {
            h.SelectHeap(heap);
            std::uint32_t n = 3000 + 100 * heap;
            HeapAddr a = h.Allocate(n);
            ASSERT_NE(a, 0u);
            auto fill = static_cast<std::uint8_t>(heap * 16 + round);
            std::memset(h.At<std::uint8_t>(a), fill, n);
            blocks[heap].push_back({a, n, fill});
        }
    }
    std::int64_t heap2Bytes = 0;
    std::set<int> heap2Pages;
    for (const Block& b : blocks[2]) {
        heap2Bytes += PageHeap::RoundRequest(b.n);
        heap2Pages.insert(PageOf(b.a));
    }
    const std::int64_t before = h.BytesInUse();

    h.ReleaseHeap(2);

    EXPECT_EQ(h.BytesInUse(), before - heap2Bytes);
    EXPECT_EQ(h.MemoryFree(), std::int64_t(h.PageLimit()) * PageHeap::kPageRoom - h.BytesInUse());
    for (int p : heap2Pages)
        EXPECT_FALSE(h.PagePresent(p)) << "page " << p;
    for (std::uint16_t heap : {1, 3}) {
        for (const Block& b : blocks[heap]) {
            EXPECT_TRUE(h.PagePresent(PageOf(b.a)));
            EXPECT_EQ(h.PageOwner(PageOf(b.a)), heap);
            const std::uint8_t* p = h.At<std::uint8_t>(b.a);
            EXPECT_TRUE(std::all_of(p, p + b.n, [&](std::uint8_t v) { return v == b.fill; }));
        }
    }

    // Heap 2 starts over on the pages it gave back.
    h.SelectHeap(2);
    HeapAddr again = h.Allocate(100);
    ASSERT_NE(again, 0u);
    EXPECT_TRUE(heap2Pages.count(PageOf(again)));
}

TEST(PageHeapBudget, FailsWhenTheFreeBudgetIs7999BytesOrLess)
{
    PageHeap h(1);
    h.SelectHeap(1);
    ASSERT_EQ(h.BudgetFree(), 8192);
    HeapAddr a = h.Allocate(RequestFor(192));
    ASSERT_NE(a, 0u);
    ASSERT_EQ(h.BudgetFree(), 8000);
    HeapAddr b = h.Allocate(0);  // 8000 is still enough to try
    ASSERT_NE(b, 0u);
    EXPECT_EQ(h.BudgetFree(), 7996);
    EXPECT_EQ(h.Allocate(0), 0u);
    EXPECT_EQ(h.BytesInUse(), 196);

    h.Release(b, 0);
    EXPECT_EQ(h.BudgetFree(), 8000);
    EXPECT_NE(h.Allocate(0), 0u);
}

TEST(PageHeapBudget, FailsWhenThePagesRunOutWhileBudgetRemains)
{
    // 31 full pages leave 31 * 264 = 8184 bytes of budget, above the reserve.
    PageHeap h(31);
    h.SelectHeap(1);
    for (int i = 0; i < 31; ++i)
        ASSERT_NE(h.Allocate(RequestFor(PageHeap::kPageRoom)), 0u) << "page " << i;
    EXPECT_EQ(h.PagesPresent(), 31);
    EXPECT_GT(h.BudgetFree(), PageHeap::kBudgetReserve);
    EXPECT_EQ(h.Allocate(0), 0u);
    EXPECT_EQ(h.PagesPresent(), 31);
    EXPECT_EQ(h.BytesInUse(), 31 * 7928);
}

// The free figure is the room of every page the heap may have, less what is
// in use: it reaches the low mark as the heap fills, before the last pages go.
TEST(PageHeapBudget, MemoryFreeIsTheRoomLeftAndTurnsLowAsTheHeapFills)
{
    PageHeap h(8);
    const std::int64_t room = 8 * 7928;
    EXPECT_EQ(h.MemoryFree(), room);
    h.SelectHeap(1);
    HeapAddr a = h.Allocate(33);
    HeapAddr b = h.Allocate(1000);
    EXPECT_EQ(h.MemoryFree(), room - 36 - 1004);
    h.Release(a, 33);
    EXPECT_EQ(h.MemoryFree(), room - 1004);
    h.Release(b, 1000);
    EXPECT_EQ(h.MemoryFree(), room);
    EXPECT_FALSE(h.MemoryLow());

    while (!h.MemoryLow())
        ASSERT_NE(h.Allocate(1000), 0u) << "the heap ran out before it was seen to be low";
    EXPECT_LE(h.MemoryFree(), PageHeap::kMemoryLowMark);
}

// The largest heap spans what a 30-bit link addresses, as address space
// only: making one commits nothing, and releasing a heap gives its pages back.
TEST(PageHeapBudget, TheLargestHeapSpansAGibibyteOfAddresses)
{
    PageHeap h(PageHeap::kMaxPages + 1);
    EXPECT_EQ(std::int64_t(h.PageLimit()) * PageHeap::kPageSize, std::int64_t(1) << 30);
    EXPECT_EQ(h.PagesPresent(), 0);
    h.SelectHeap(1);
    for (int i = 0; i < 100; ++i)
        ASSERT_NE(h.Allocate(RequestFor(PageHeap::kPageRoom)), 0u);
    EXPECT_EQ(h.PagesPresent(), 100);
    h.ReleaseHeap(1);
    EXPECT_EQ(h.PagesPresent(), 0);
    EXPECT_EQ(h.MemoryFree(), std::int64_t(PageHeap::kMaxPages) * 7928);
}

// Random allocations and releases over three heaps, checked after every few
// steps against a list of the live blocks.
TEST(PageHeapRandom, LiveBlocksNeverOverlapAndKeepTheirContents)
{
    constexpr int kLimit = 256;
    PageHeap h(kLimit);
    std::mt19937 rng(20240611);
    struct Block { HeapAddr a; std::uint32_t n; std::uint16_t heap; std::uint8_t seed; };
    std::vector<Block> live;
    std::uint8_t nextSeed = 1;

    auto pattern = [](const Block& b, std::uint32_t i) { return static_cast<std::uint8_t>(b.seed + i * 7); };
    auto intact = [&](const Block& b) {
        const std::uint8_t* p = h.At<std::uint8_t>(b.a);
        for (std::uint32_t i = 0; i < b.n; ++i)
            if (p[i] != pattern(b, i))
                return false;
        return true;
    };
    auto checkAll = [&](int step) {
        SCOPED_TRACE(::testing::Message() << "step " << step);
        std::vector<Block> sorted = live;
        std::sort(sorted.begin(), sorted.end(), [](const Block& x, const Block& y) { return x.a < y.a; });
        std::vector<std::uint32_t> pageBytes(kLimit, 0);
        std::int64_t total = 0;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const Block& b = sorted[i];
            std::uint32_t need = PageHeap::RoundRequest(b.n);
            ASSERT_GE(OffsetOf(b.a), PageHeap::kFirstBlock);
            ASSERT_LE(OffsetOf(b.a) + need, kPage);
            if (i + 1 < sorted.size()) {
                ASSERT_LE(b.a + need, sorted[i + 1].a) << "blocks overlap";
            }
            ASSERT_EQ(h.PageOwner(PageOf(b.a)), b.heap);
            ASSERT_TRUE(intact(b));
            pageBytes[PageOf(b.a)] += need;
            total += need;
        }
        for (int p = 0; p < kLimit; ++p) {
            if (h.PagePresent(p)) {
                ASSERT_EQ(h.PageBytesInUse(p), pageBytes[p]) << "page " << p;
            }
        }
        ASSERT_EQ(h.BytesInUse(), total);
        ASSERT_EQ(h.MemoryFree(), std::int64_t(h.PageLimit()) * PageHeap::kPageRoom - total);
        ASSERT_EQ(h.BudgetFree(), std::int64_t(kLimit) * kPage - total);
    };

    // The live set grows for the first half and shrinks in the second; a
    // whole heap goes away now and then.
    std::uniform_int_distribution<int> permille(0, 999);
    for (int step = 0; step < 4000; ++step) {
        const int allocateBelow = step < 2000 ? 600 : 420;
        const int roll = permille(rng);
        if (roll < allocateBelow || live.empty()) {
            auto heap = static_cast<std::uint16_t>(1 + rng() % 3);
            if (heap != h.CurrentHeap())
                h.SelectHeap(heap);
            const int kind = permille(rng);
            std::uint32_t n = kind < 700 ? 1 + rng() % 64 : kind < 970 ? 65 + rng() % 1500 : 7000 + rng() % 928;
            HeapAddr a = h.Allocate(n);
            ASSERT_NE(a, 0u) << "step " << step << " n " << n;
            ASSERT_EQ(h.PageOwner(PageOf(a)), heap);
            Block b{a, n, heap, nextSeed++};
            std::uint8_t* p = h.At<std::uint8_t>(a);
            for (std::uint32_t i = 0; i < n; ++i)
                p[i] = pattern(b, i);
            live.push_back(b);
        } else if (roll < 998) {
            std::size_t i = rng() % live.size();
            ASSERT_TRUE(intact(live[i])) << "step " << step;
            h.Release(live[i].a, live[i].n);
            live[i] = live.back();
            live.pop_back();
        } else {
            auto heap = static_cast<std::uint16_t>(1 + rng() % 3);
            h.ReleaseHeap(heap);
            std::erase_if(live, [&](const Block& b) { return b.heap == heap; });
        }
        if (step % 25 == 0)
            checkAll(step);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    checkAll(-1);

    std::shuffle(live.begin(), live.end(), rng);
    for (const Block& b : live)
        h.Release(b.a, b.n);
    EXPECT_EQ(h.BytesInUse(), 0);
    for (int p = 0; p < kLimit; ++p) {
        EXPECT_EQ(h.PageBytesInUse(p), 0u);
        EXPECT_EQ(h.PageOwner(p), 0);
    }

    // Every page, used before or not, serves one whole-page block again.
    h.SelectHeap(1);
    std::set<int> pages;
    for (int i = 0; i < kLimit; ++i) {
        HeapAddr a = h.Allocate(RequestFor(PageHeap::kPageRoom));
        ASSERT_NE(a, 0u) << "block " << i;
        EXPECT_EQ(OffsetOf(a), PageHeap::kFirstBlock);
        pages.insert(PageOf(a));
    }
    EXPECT_EQ(pages.size(), std::size_t(kLimit));
    EXPECT_EQ(h.Allocate(0), 0u);
}

}  // namespace
}  // namespace zt
