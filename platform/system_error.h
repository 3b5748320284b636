#pragma once
#include <string>

namespace zt {

// The system's words for an error number, as program text (Windows-1252),
// for messages that say why a file operation failed.
std::string SystemErrorText(int error);

}  // namespace zt
