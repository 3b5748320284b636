#include "platform/system_error.h"

#include <system_error>

#include "platform/codepage.h"

namespace zt {

std::string SystemErrorText(int error)
{
    // The words follow the user's language once the window has set the
    // locale; a language that code page cannot show gives the number.
    std::string text;
    if (!Cp1252FromUtf8(std::generic_category().message(error), text))
        text = "system error " + std::to_string(error);
    return text;
}

}  // namespace zt
