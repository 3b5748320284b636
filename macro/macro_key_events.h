#pragma once
#include <string_view>
#include <vector>

#include "platform/key_injector.h"

namespace zt {

// The key events that a batch of macro keystrokes stands for, in order:
// letters and digits are keys going down and up (their press types them,
// as on a keyboard); other characters are typed as characters.
// Key codes of the line become their keys (13 Enter, 16 Down, 2 and 9 a
// screen width left and right, ...); fillers, markers and the stop
// sentinel play nothing.
std::vector<InjectedKey> KeyEventsOfBatch(std::string_view batch);

// Posts them, in order, to whatever will have the keyboard.
void PlayKeyBatch(KeyInjector& injector, std::string_view batch);

}  // namespace zt
