#pragma once
// Runs the ztb32 executable with arguments and standard input, collecting
// standard output and standard error together.
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zt {

// The exit status, or -1 when the program could not be run or did not exit.
inline int RunBinary(const std::string& args, const std::string& input, std::string& out)
{
    std::string inFile = testing::TempDir() + "zt_batch_in_XXXXXX";
    int fd = mkstemp(inFile.data());
    if (fd < 0)
        return -1;
    close(fd);
    std::ofstream(inFile) << input;
    std::string cmd = std::string(ZT_BINARY) + " " + args + " < " + inFile + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    char buf[256];
    out.clear();
    while (std::fgets(buf, sizeof buf, p))
        out += buf;
    int status = pclose(p);
    std::remove(inFile.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zt
