#include "macro/macro_key_events.h"

#include <cctype>

#include "macro/macro_codes.h"

namespace zt {

namespace {

// The virtual key of a key code of the line; 0 for a code that is none.
int KeyOfCode(char code)
{
    switch (code) {
    case kMacroKeyBigLeft: return vkBigLeft;
    case kMacroKeyCalc: return vkF9;
    case kMacroKeyRight: return vkRight;
    case kMacroKeyEdit: return vkF2;
    case kMacroKeyGoto: return vkF5;
    case kMacroKeyHome: return vkHome;
    case kMacroKeyBackspace: return vkBack;
    case kMacroKeyBigRight: return vkBigRight;
    case kMacroKeyAlt: return vkMenu;
    case kMacroKeyLeft: return vkLeft;
    case kMacroKeyEnter: return vkReturn;
    case kMacroKeyPageUp: return vkPrior;
    case kMacroKeyEnd: return vkEnd;
    case kMacroKeyDown: return vkDown;
    case kMacroKeyPageDown: return vkNext;
    case kMacroKeyInsert: return vkInsert;
    case kMacroKeyDelete: return vkDelete;
    case kMacroKeyAbs: return vkF4;
    case kMacroKeyUp: return vkUp;
    case kMacroKeyWindow: return vkF6;
    case kMacroKeyEscape: return vkEscape;
    case kMacroKeyHelp: return vkF1;
    case kMacroKeyMenu: return vkF10;
    default: return 0;
    }
}

void AddKey(std::vector<InjectedKey>& out, int key, bool shift = false)
{
    KeyEvent k{key, shift};
    out.push_back(InjectedKey{InjectedKey::Kind::Press, k, 0});
    out.push_back(InjectedKey{InjectedKey::Kind::Release, k, 0});
}

}  // namespace

std::vector<InjectedKey> KeyEventsOfBatch(std::string_view batch)
{
    std::vector<InjectedKey> out;
    for (char ch : batch) {
        unsigned char u = static_cast<unsigned char>(ch);
        if (ch == kMacroFiller || ch == kMacroCommandMarker || ch == kMacroStop)
            continue;
        if (ch == '~' || ch == kMacroKeyEnter) {
            AddKey(out, vkReturn);
        } else if (u < 32) {
            if (int key = KeyOfCode(ch))
                AddKey(out, key);
        } else if (u < 128 && std::isalnum(u)) {
            // Letters and digits are keys that type themselves (Shift for
            // capitals), as a keyboard sends them.
            AddKey(out, std::toupper(u), std::isupper(u) != 0);
        } else {
            out.push_back(InjectedKey{InjectedKey::Kind::Character, {}, ch});
        }
    }
    return out;
}

void PlayKeyBatch(KeyInjector& injector, std::string_view batch)
{
    for (const InjectedKey& k : KeyEventsOfBatch(batch)) {
        switch (k.What) {
        case InjectedKey::Kind::Press: injector.PostKey(k.Key, true); break;
        case InjectedKey::Kind::Release: injector.PostKey(k.Key, false); break;
        case InjectedKey::Kind::Character: injector.PostChar(k.Char); break;
        }
    }
}

}  // namespace zt
