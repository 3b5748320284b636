#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace zt {

// The fragment stack of the formula display: short strings that together
// take at most 999 bytes, each counted with its length byte. A push that
// does not fit is dropped; popping an empty stack, or a fragment of 240
// characters or more, gives the empty text.
class TextStack {
public:
    static constexpr std::size_t kCapacity = 999;
    static constexpr std::size_t kMaxFragment = 255;  // a short string's length
    static constexpr std::size_t kMaxPopped = 239;

    void Push(std::string text);
    std::string Pop();
    bool Empty() const { return fragments_.empty(); }
    std::size_t Size() const { return fragments_.size(); }
    std::size_t BytesUsed() const { return used_; }

private:
    std::vector<std::string> fragments_;
    std::size_t used_ = 0;
};

}  // namespace zt
