#pragma once
#include <string>
#include <string_view>

namespace zt {

// Attribute bits of a file, in the numbering worksheets have always used.
inline constexpr int kFileReadOnly = 1;
inline constexpr int kFileHidden = 2;
inline constexpr int kFileDirectory = 16;
inline constexpr int kFileArchive = 32;

// What the file system tells about a file or directory.
struct FileFacts {
    bool Exists = false;
    double Size = 0;
    bool CanOpen = false;  // a file (not a directory) this process may read
    int Attributes = 0;
    std::string Summary;   // its size and last modification, as text
};

// Looks a name up; the name is program text (Windows-1252). A name that
// starts with a dot counts as hidden, a regular file carries the archive
// bit, and a file this process may not write is read-only.
FileFacts InspectFile(std::string_view name);

}  // namespace zt
