#pragma once
#include <cstdint>
#include <vector>

namespace zt {

// A 32-bit address inside the worksheet heap: page number times 8192 plus
// the offset in the page. 0 is never a block and stands for "no block".
using HeapAddr = std::uint32_t;

// The worksheet heap: 8192-byte pages, each owned by one worksheet (its heap
// number), first fit inside a page, a circular free list kept in the page.
// All pages live in one arena of reserved address space, committed page by
// page as the pages are first used, so that an address turns into a pointer
// with one addition and back with one subtraction. The arena spans what a
// 30-bit cell link addresses (1 GiB), bounded by the machine's memory.
class PageHeap {
public:
    static constexpr std::uint32_t kPageSize = 8192;
    static constexpr std::uint32_t kAnchor = 260;       // zero-sized list anchor
    static constexpr std::uint32_t kFirstBlock = 264;   // first free block of a new page
    static constexpr std::uint32_t kPageRoom = kPageSize - kFirstBlock;  // 7928
    static constexpr int kMaxPages = 131'072;
    static constexpr std::int64_t kMemoryLowMark = 16'000;
    static constexpr std::int64_t kBudgetReserve = 7'999;

    // The machine's physical memory in pages, at most kMaxPages.
    static int DefaultPageLimit();
    static std::uint32_t RoundRequest(std::uint32_t n) { return (n & ~3u) + 4; }

    explicit PageHeap(int pageLimit = DefaultPageLimit());
    ~PageHeap();
    PageHeap(const PageHeap&) = delete;
    PageHeap& operator=(const PageHeap&) = delete;

    // Makes heapNo the heap that Allocate serves and picks its current page.
    void SelectHeap(std::uint16_t heapNo);
    std::uint16_t CurrentHeap() const { return curHeap_; }

    // n bytes for the current heap; 0 when the budget or the pages run out.
    HeapAddr Allocate(std::uint32_t n);
    // Gives back a block of the size it was allocated with.
    void Release(HeapAddr a, std::uint32_t n);
    // Frees every page that belongs to heapNo.
    void ReleaseHeap(std::uint16_t heapNo);

    template <class T>
    T* At(HeapAddr a) const
    {
        return a ? reinterpret_cast<T*>(arena_ + a) : nullptr;
    }
    // Whether an address lies inside a page that is in use.
    bool Contains(HeapAddr a) const
    {
        std::uint32_t p = a / kPageSize;
        return a && p < present_.size() && present_[p] && a % kPageSize >= kFirstBlock;
    }
    HeapAddr AddrOf(const void* p) const
    {
        return p ? static_cast<HeapAddr>(static_cast<const std::uint8_t*>(p) - arena_) : 0;
    }

    // The bytes that pages may still hold: the room of every page the heap
    // may have, less the bytes in use.
    std::int64_t MemoryFree() const { return std::int64_t(pageLimit_) * kPageRoom - bytesInUse_; }
    bool MemoryLow() const { return MemoryFree() <= kMemoryLowMark; }
    std::int64_t BudgetFree() const { return budget_; }
    std::int64_t BytesInUse() const { return bytesInUse_; }
    int PageLimit() const { return pageLimit_; }
    int PagesPresent() const;
    std::uint16_t PageOwner(int page) const { return PageTouched(page) ? owner_[page] : 0; }
    std::uint32_t PageBytesInUse(int page) const { return PageTouched(page) ? inUse_[page] : 0; }
    bool PagePresent(int page) const { return PageTouched(page) && present_[page] != 0; }

private:
    bool PageTouched(int page) const { return page >= 0 && page < pagesTouched_; }
    std::uint8_t* Page(int p) const { return arena_ + std::size_t(p) * kPageSize; }
    std::uint16_t Get(int p, std::uint32_t off) const;
    void Put(int p, std::uint32_t off, std::uint32_t v);
    void InitPage(int p);
    HeapAddr CutFromPage(int p, std::uint32_t need);
    int TakeFreshPage();
    HeapAddr SearchHeapPages(std::uint32_t need);
    void PageLostOwner(int p);

    int pageLimit_;
    std::uint8_t* arena_ = nullptr;
    std::size_t arenaBytes_ = 0;
    int pagesTouched_ = 0;  // pages at and beyond it have never been used
    int firstUnowned_ = 0;  // no page before it is free for any heap
    // Per heap, a request size for which no page of the heap but its current
    // one has room; 0 when nothing is known. Releases forget it.
    std::vector<std::uint32_t> noRoomFor_;
    std::vector<std::uint8_t> present_;
    std::vector<std::uint16_t> owner_;
    std::vector<std::uint32_t> inUse_;
    std::int64_t budget_;
    std::int64_t bytesInUse_ = 0;
    std::uint16_t curHeap_ = 0;
    int curPage_ = -1;
};

}  // namespace zt
