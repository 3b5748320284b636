#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/desktop.h"

namespace {

// The command line of batch mode, turned into the batch commands it stands for.
struct BatchLine {
    std::vector<std::string> Commands;
    bool ReadInput = true;
    bool Macros = false;  // --macros: the file's start-up macro runs
};

bool ParseBatchLine(int argc, char** argv, BatchLine& line)
{
    int i = 2;
    if (i < argc && std::strncmp(argv[i], "--", 2) != 0)
        line.Commands.push_back(std::string("open ") + argv[i++]);
    for (; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--recalc") {
            line.Commands.push_back("recalc");
        } else if (option == "--macros") {
            line.Macros = true;
        } else if ((option == "--print" || option == "--save") && i + 1 < argc) {
            line.Commands.push_back(option.substr(2) + " " + argv[++i]);
            line.ReadInput = false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << zt::BatchHelp();
        return 0;
    }
    BatchLine line;
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0 && ParseBatchLine(argc, argv, line)) {
        // The file named here is opened without its start-up macro unless
        // asked for: converting or printing someone's file must be safe. The
        // first command that fails ends the run: nothing is saved or printed
        // after the input could not be read whole.
        zt::BatchSession session(std::cout, std::cerr);
        session.StartupMacros = line.Macros;
        for (const std::string& command : line.Commands)
            if (!session.RunLine(command))
                return 1;
        session.StartupMacros = true;
        int status = line.ReadInput ? session.Run(std::cin) : 0;
        std::cout.flush();
        return status;
    }
    if (argc >= 2 && argv[1][0] == '-') {
        std::cerr << "Usage: ztb32 [FILE] | ztb32 --batch [FILE] [--macros] [--recalc] [--print RANGE|all] [--save OUT] | ztb32 --help\n";
        return 2;
    }
    return zt::StartDesktop(argc, argv);
}
