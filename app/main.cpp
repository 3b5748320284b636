#include <cstring>
#include <iostream>

#include "app/batch.h"

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << zt::BatchHelp();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--batch") == 0) {
        zt::BatchSession session(std::cout, std::cerr);
        return session.Run(std::cin);
    }
    if (argc == 3 && std::strcmp(argv[1], "--batch") == 0) {
        std::cerr << "Error:Opening worksheet files is not available yet: " << argv[2] << '\n';
        return 2;
    }
    std::cerr << "Usage: ztb32 --batch | ztb32 --help\n"
                 "The window is not available yet; batch mode reads commands from standard input.\n";
    return 2;
}
