#include "core/page_heap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace zt {

// Layout of a free block inside a page: u16 size, u16 offset of the next
// free block. The list is circular, in address order, and starts at the
// zero-sized anchor.
namespace {
constexpr std::uint32_t kSizeField = 0;
constexpr std::uint32_t kNextField = 2;
}  // namespace

int PageHeap::DefaultPageLimit()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0)
        return kMaxPages;
    long long total = static_cast<long long>(pages) * size / kPageSize;
    return static_cast<int>(std::min<long long>(total, kMaxPages));
}

// Address space only: the system commits a page when it is first written.
// Where even the address space is scarce (a limit on it), the arena shrinks
// until it can be had.
PageHeap::PageHeap(int pageLimit) : pageLimit_(std::clamp(pageLimit, 1, kMaxPages)), noRoomFor_(65536, 0)
{
    for (;;) {
        arenaBytes_ = std::size_t(pageLimit_) * kPageSize;
        void* p = mmap(nullptr, arenaBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p != MAP_FAILED) {
            arena_ = static_cast<std::uint8_t*>(p);
            break;
        }
        if (pageLimit_ == 1)
            throw std::bad_alloc();
        pageLimit_ /= 2;
    }
    budget_ = std::int64_t(pageLimit_) * kPageSize;
}

PageHeap::~PageHeap() { munmap(arena_, arenaBytes_); }

std::uint16_t PageHeap::Get(int p, std::uint32_t off) const
{
    std::uint16_t v;
    std::memcpy(&v, Page(p) + off, sizeof v);
    return v;
}

void PageHeap::Put(int p, std::uint32_t off, std::uint32_t v)
{
    auto w = static_cast<std::uint16_t>(v);
    std::memcpy(Page(p) + off, &w, sizeof w);
}

int PageHeap::PagesPresent() const
{
    return static_cast<int>(std::count(present_.begin(), present_.end(), 1));
}

void PageHeap::PageLostOwner(int p)
{
    owner_[p] = 0;
    firstUnowned_ = std::min(firstUnowned_, p);
}

void PageHeap::InitPage(int p)
{
    present_[p] = 1;
    owner_[p] = 0;
    inUse_[p] = 0;
    Put(p, kAnchor + kSizeField, 0);
    Put(p, kAnchor + kNextField, kFirstBlock);
    Put(p, kFirstBlock + kSizeField, kPageRoom);
    Put(p, kFirstBlock + kNextField, kAnchor);
}

void PageHeap::SelectHeap(std::uint16_t heapNo)
{
    curHeap_ = heapNo;
    curPage_ = -1;
    for (int p = 0; p < pagesTouched_; ++p) {
        if (!present_[p])
            continue;
        if (owner_[p] == heapNo || owner_[p] == 0) {
            owner_[p] = heapNo;
            curPage_ = p;
            return;
        }
    }
}

// First fit: the block is cut from the end of the first free block that is
// large enough; an exact fit unlinks the free block.
HeapAddr PageHeap::CutFromPage(int p, std::uint32_t need)
{
    if (kPageRoom - inUse_[p] < need)
        return 0;
    std::uint32_t prev = kAnchor;
    std::uint32_t cur = Get(p, kAnchor + kNextField);
    while (cur != kAnchor) {
        std::uint32_t size = Get(p, cur + kSizeField);
        std::uint32_t next = Get(p, cur + kNextField);
        if (size >= need) {
            std::uint32_t off;
            if (size == need) {
                Put(p, prev + kNextField, next);
                off = cur;
            } else {
                Put(p, cur + kSizeField, size - need);
                off = cur + size - need;
            }
            inUse_[p] += need;
            owner_[p] = curHeap_;
            bytesInUse_ += need;
            budget_ -= need;
            return static_cast<HeapAddr>(std::size_t(p) * kPageSize + off);
        }
        prev = cur;
        cur = next;
    }
    return 0;
}

// The first page in page order that nobody owns, or a page slot not yet
// taken from the system.
int PageHeap::TakeFreshPage()
{
    for (int p = firstUnowned_; p < pageLimit_; ++p) {
        if (p == pagesTouched_) {
            ++pagesTouched_;
            present_.push_back(0);
            owner_.push_back(0);
            inUse_.push_back(0);
        }
        if (!present_[p])
            InitPage(p);
        else if (owner_[p] != 0)
            continue;
        firstUnowned_ = p + 1;
        return p;
    }
    firstUnowned_ = pageLimit_;
    return -1;
}

// The heap's other pages, from the one after the current page round to the
// one before it.
HeapAddr PageHeap::SearchHeapPages(std::uint32_t need)
{
    std::uint32_t& noRoom = noRoomFor_[curHeap_];
    if (noRoom != 0 && need >= noRoom)
        return 0;  // no page but the current one has room for it
    int start = std::max(curPage_, 0);
    for (int i = 1; i <= pagesTouched_; ++i) {
        int p = (start + i) % pagesTouched_;
        if (p == curPage_ || !present_[p] || owner_[p] != curHeap_)
            continue;
        if (HeapAddr a = CutFromPage(p, need)) {
            curPage_ = p;
            return a;
        }
    }
    noRoom = need;
    return 0;
}

HeapAddr PageHeap::Allocate(std::uint32_t n)
{
    if (curHeap_ == 0 || n >= kPageRoom || budget_ <= kBudgetReserve)
        return 0;
    std::uint32_t need = RoundRequest(n);
    if (curPage_ >= 0 && owner_[curPage_] == curHeap_) {
        if (HeapAddr a = CutFromPage(curPage_, need))
            return a;
    }
    if (HeapAddr a = SearchHeapPages(need))
        return a;
    int p = TakeFreshPage();
    if (p < 0)
        return 0;
    owner_[p] = curHeap_;
    curPage_ = p;
    return CutFromPage(p, need);
}

void PageHeap::Release(HeapAddr a, std::uint32_t n)
{
    int p = static_cast<int>(a / kPageSize);
    std::uint32_t off = a % kPageSize;
    std::uint32_t need = RoundRequest(n);
    if (a == 0 || p >= pagesTouched_ || !present_[p] || off < kFirstBlock || off + need > kPageSize ||
        inUse_[p] < need)
        return;
    std::uint32_t prev = kAnchor;
    std::uint32_t next = Get(p, kAnchor + kNextField);
    while (next != kAnchor && next < off) {
        prev = next;
        next = Get(p, next + kNextField);
    }
    bool insidePrev = prev != kAnchor && prev + Get(p, prev + kSizeField) > off;
    bool overlapsNext = next != kAnchor && off + need > next;
    if (insidePrev || overlapsNext)
        return;  // part of the block is free already: a second release
    Put(p, off + kSizeField, need);
    Put(p, off + kNextField, next);
    Put(p, prev + kNextField, off);
    if (next != kAnchor && off + need == next) {
        Put(p, off + kSizeField, need + Get(p, next + kSizeField));
        Put(p, off + kNextField, Get(p, next + kNextField));
    }
    if (prev != kAnchor && prev + Get(p, prev + kSizeField) == off) {
        Put(p, prev + kSizeField, Get(p, prev + kSizeField) + Get(p, off + kSizeField));
        Put(p, prev + kNextField, Get(p, off + kNextField));
    }
    inUse_[p] -= need;
    bytesInUse_ -= need;
    budget_ += need;
    noRoomFor_[owner_[p]] = 0;
    if (inUse_[p] == 0)
        PageLostOwner(p);
}

void PageHeap::ReleaseHeap(std::uint16_t heapNo)
{
    if (heapNo == 0)
        return;
    noRoomFor_[heapNo] = 0;
    for (int p = 0; p < pagesTouched_; ++p) {
        if (!present_[p] || owner_[p] != heapNo)
            continue;
        bytesInUse_ -= inUse_[p];
        budget_ += inUse_[p];
        present_[p] = 0;
        PageLostOwner(p);
        inUse_[p] = 0;
        // The memory goes back to the system; the address space stays.
        madvise(Page(p), kPageSize, MADV_DONTNEED);
        if (curPage_ == p)
            curPage_ = -1;
    }
}

}  // namespace zt
