#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace zt {

// A 32-bit address inside the worksheet heap: page number times 8192 plus
// the offset in the page. 0 is never a block and stands for "no block".
using HeapAddr = std::uint32_t;

// The worksheet heap: 8192-byte pages, each owned by one worksheet (its heap
// number), first fit inside a page, a circular free list kept in the page.
// All pages live in one reserved arena so that an address turns into a
// pointer with one addition and back with one subtraction.
class PageHeap {
public:
    static constexpr std::uint32_t kPageSize = 8192;
    static constexpr std::uint32_t kAnchor = 260;       // zero-sized list anchor
    static constexpr std::uint32_t kFirstBlock = 264;   // first free block of a new page
    static constexpr std::uint32_t kPageRoom = kPageSize - kFirstBlock;  // 7928
    static constexpr int kMaxPages = 4080;
    static constexpr std::int64_t kMemoryFreeBase = 66'842'640;
    static constexpr std::int64_t kMemoryLowMark = 16'000;
    static constexpr std::int64_t kBudgetReserve = 7'999;

    // The machine's physical memory in pages, at most kMaxPages.
    static int DefaultPageLimit();
    static std::uint32_t RoundRequest(std::uint32_t n) { return (n & ~3u) + 4; }

    explicit PageHeap(int pageLimit = DefaultPageLimit());

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
        return a ? reinterpret_cast<T*>(arena_.get() + a) : nullptr;
    }
    // Whether an address lies inside a page that is in use.
    bool Contains(HeapAddr a) const
    {
        std::uint32_t p = a / kPageSize;
        return a && p < std::uint32_t(pageLimit_) && present_[p] && a % kPageSize >= kFirstBlock;
    }
    HeapAddr AddrOf(const void* p) const
    {
        return p ? static_cast<HeapAddr>(static_cast<const std::uint8_t*>(p) - arena_.get()) : 0;
    }

    std::int64_t MemoryFree() const { return kMemoryFreeBase - bytesInUse_; }
    bool MemoryLow() const { return MemoryFree() <= kMemoryLowMark; }
    std::int64_t BudgetFree() const { return budget_; }
    std::int64_t BytesInUse() const { return bytesInUse_; }
    int PageLimit() const { return pageLimit_; }
    int PagesPresent() const;
    std::uint16_t PageOwner(int page) const { return owner_[page]; }
    std::uint32_t PageBytesInUse(int page) const { return inUse_[page]; }
    bool PagePresent(int page) const { return present_[page] != 0; }

private:
    std::uint8_t* Page(int p) const { return arena_.get() + std::size_t(p) * kPageSize; }
    std::uint16_t Get(int p, std::uint32_t off) const;
    void Put(int p, std::uint32_t off, std::uint32_t v);
    void InitPage(int p);
    HeapAddr CutFromPage(int p, std::uint32_t need);
    int TakeFreshPage();

    int pageLimit_;
    std::unique_ptr<std::uint8_t[]> arena_;
    std::vector<std::uint8_t> present_;
    std::vector<std::uint16_t> owner_;
    std::vector<std::uint32_t> inUse_;
    std::int64_t budget_;
    std::int64_t bytesInUse_ = 0;
    std::uint16_t curHeap_ = 0;
    int curPage_ = -1;
};

}  // namespace zt
