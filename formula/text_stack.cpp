#include "formula/text_stack.h"

#include <utility>

namespace zt {

void TextStack::Push(std::string text)
{
    if (text.size() > kMaxFragment)
        text.resize(kMaxFragment);
    std::size_t bytes = text.size() + 1;
    if (used_ + bytes > kCapacity)
        return;
    used_ += bytes;
    fragments_.push_back(std::move(text));
}

std::string TextStack::Pop()
{
    if (fragments_.empty())
        return {};
    std::string text = std::move(fragments_.back());
    fragments_.pop_back();
    used_ -= text.size() + 1;
    if (text.size() > kMaxPopped)
        return {};
    return text;
}

}  // namespace zt
