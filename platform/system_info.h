#pragma once
#include <string>

namespace zt {

// The operating system's version as major + minor / 1000 (a 6.5 kernel
// gives 6.005); false when the system does not say.
bool OsVersionNumber(double& version);

// The current directory as program text (Windows-1252); false when it
// cannot be had or holds characters that code page lacks.
bool CurrentDirectory(std::string& path);

}  // namespace zt
