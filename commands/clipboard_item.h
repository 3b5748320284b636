#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"

namespace zt {

// One item of the private clipboard rendering: a cell's entry text and, for
// a cell that exists, ";" followed by its attribute list
// "F<format>,C<colors>,T<typeface>,H<font size>,S<style>" in decimal.

// The item of a cell; empty for a missing one.
std::string PrivateItem(const Engine& e, const TCell* cell);

// An item split into entry text and attribute list at its last ";". The
// attribute list never holds a ";", so an entry holding one keeps it.
struct ItemParts {
    std::string_view Entry;
    std::string_view Attributes;
    bool HasAttributes = false;
};
ItemParts SplitPrivateItem(std::string_view item);

// Sets what the attribute list names. Each element is a letter (any case)
// and a decimal number; an unknown letter, a malformed number or one outside
// the attribute's range leaves the element unapplied.
void ApplyItemAttributes(std::string_view list, TCell& cell);

// Tabs and line breaks inside a text would split a rendering's items and
// rows: each becomes a blank.
void BlankSeparators(std::string& text);

}  // namespace zt
