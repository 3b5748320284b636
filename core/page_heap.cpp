#include "core/page_heap.h"

#include <algorithm>
#include <cstring>
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

PageHeap::PageHeap(int pageLimit)
    : pageLimit_(std::clamp(pageLimit, 1, kMaxPages)),
      arena_(std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(pageLimit_) * kPageSize)),
      present_(pageLimit_, 0),
      owner_(pageLimit_, 0),
      inUse_(pageLimit_, 0),
      budget_(std::int64_t(pageLimit_) * kPageSize)
{
}

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
    for (int p = 0; p < pageLimit_; ++p) {
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
    for (int p = 0; p < pageLimit_; ++p) {
        if (!present_[p]) {
            InitPage(p);
            return p;
        }
        if (owner_[p] == 0)
            return p;
    }
    return -1;
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
    // The search goes on from the current page: the pages before it were
    // found full the last time round.
    for (int i = 1; i <= pageLimit_; ++i) {
        int p = (std::max(curPage_, 0) + i) % pageLimit_;
        if (p == curPage_ || !present_[p] || owner_[p] != curHeap_)
            continue;
        if (HeapAddr a = CutFromPage(p, need)) {
            curPage_ = p;
            return a;
        }
    }
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
    if (a == 0 || p >= pageLimit_ || !present_[p] || off < kFirstBlock || off + need > kPageSize ||
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
    if (inUse_[p] == 0)
        owner_[p] = 0;
}

void PageHeap::ReleaseHeap(std::uint16_t heapNo)
{
    if (heapNo == 0)
        return;
    for (int p = 0; p < pageLimit_; ++p) {
        if (!present_[p] || owner_[p] != heapNo)
            continue;
        bytesInUse_ -= inUse_[p];
        budget_ += inUse_[p];
        present_[p] = 0;
        owner_[p] = 0;
        inUse_[p] = 0;
        if (curPage_ == p)
            curPage_ = -1;
    }
}

}  // namespace zt
