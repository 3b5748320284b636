// How ztb32 starts: batch mode without Qt, the window from the library
// beside the program, and a clear refusal when that library is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace zt {
namespace {

namespace fs = std::filesystem;

// A running ztb32 with pipes to its standard input and from its standard
// output and error together.
class Child {
public:
    Child(const std::string& exe, std::vector<std::string> args, std::vector<std::string> env)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(out[1], 2);
            close(in[1]);
            close(out[0]);
            for (std::string& e : env)
                putenv(e.data());
            std::vector<char*> argv{const_cast<char*>(exe.c_str())};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(exe.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        in_ = in[1];
        out_ = out[0];
    }
    ~Child()
    {
        CloseInput();
        if (out_ >= 0)
            close(out_);
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    pid_t Pid() const { return pid_; }
    void Write(const std::string& text) { ASSERT_EQ(write(in_, text.data(), text.size()), ssize_t(text.size())); }
    void CloseInput()
    {
        if (in_ >= 0)
            close(in_);
        in_ = -1;
    }
    // Output up to and including the next newline, or to the end.
    std::string ReadLine()
    {
        std::string line;
        char c;
        while (read(out_, &c, 1) == 1) {
            line += c;
            if (c == '\n')
                break;
        }
        return line;
    }
    std::string ReadAll()
    {
        std::string all;
        char buf[512];
        for (ssize_t n; (n = read(out_, buf, sizeof buf)) > 0;)
            all.append(buf, std::size_t(n));
        return all;
    }
    // The exit status, or -1 when it did not exit normally.
    int Wait()
    {
        int status = 0;
        pid_t pid = std::exchange(pid_, -1);
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    // The files mapped into the process: its executable and shared libraries.
    std::string Maps() const
    {
        std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
        std::stringstream text;
        text << maps.rdbuf();
        return text.str();
    }

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
};

fs::path TempDir(const std::string& name)
{
    fs::path dir = fs::path(testing::TempDir()) / (name + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(StartupTest, BatchModeLoadsNoQt)
{
    Child child(ZT_BINARY, {"--batch"}, {});
    ASSERT_GT(child.Pid(), 0);
    child.Write("enter A1 2\nvalue A1\n");
    // The answer comes from main(), so every library the program links is mapped by now.
    ASSERT_EQ(child.ReadLine(), "2\n");
    std::string maps = child.Maps();
    EXPECT_NE(maps.find(fs::canonical(ZT_BINARY).string()), std::string::npos);
    EXPECT_NE(maps.find("libc.so"), std::string::npos);
    EXPECT_EQ(maps.find("libQt"), std::string::npos) << maps;
    EXPECT_EQ(maps.find("ztb32_window"), std::string::npos);
    child.CloseInput();
    EXPECT_EQ(child.Wait(), 0);
}

TEST(StartupTest, WindowComesFromTheLibraryBesideTheProgram)
{
    // A private temporary directory holds the single-instance socket, so a
    // window already running for this user does not take the start over.
    fs::path tmp = TempDir("zt_window_start");
    Child child(ZT_BINARY, {(tmp / "NEW.WKS").string()}, {"QT_QPA_PLATFORM=offscreen", "TMPDIR=" + tmp.string()});
    ASSERT_GT(child.Pid(), 0);
    fs::path socket = tmp / ("zentabular-" + std::to_string(getuid()));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(socket) && child.Running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string maps = child.Maps();
    ASSERT_TRUE(child.Running()) << child.ReadAll();
    EXPECT_TRUE(fs::exists(socket));
    EXPECT_NE(maps.find((fs::canonical(ZT_BINARY).parent_path() / "libztb32_window.so").string()), std::string::npos);
    EXPECT_NE(maps.find("libQt6Widgets"), std::string::npos);
    kill(child.Pid(), SIGTERM);
    child.Wait();
    fs::remove_all(tmp);
}

TEST(StartupTest, MissingWindowLibraryIsReported)
{
    fs::path dir = TempDir("zt_alone");
    fs::path exe = dir / "ztb32";
    fs::copy_file(ZT_BINARY, exe);
    Child window(exe, {}, {"QT_QPA_PLATFORM=offscreen"});
    std::string out = window.ReadAll();
    EXPECT_EQ(window.Wait(), 1);
    EXPECT_NE(out.find("ztb32: the window cannot start: "), std::string::npos) << out;
    EXPECT_NE(out.find((dir / "libztb32_window.so").string()), std::string::npos) << out;
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zt
