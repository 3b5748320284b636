#pragma once
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/engine.h"
#include "platform/notify_headless.h"

namespace zt {

// The cursor and selection of batch mode, which has no window.
class BatchView : public ViewHooks {
public:
    TRange Selection(const Engine&) const override { return Selected; }
    TRange CursorCell(const Engine&) const override { return Cursor; }

    TRange Selected = kUndefinedRange;
    TRange Cursor{0, 0, 0, 0};
};

// Batch mode: reads commands one per line, writes results to `out` and the
// program's messages to `err`.
class BatchMacros;

class BatchSession {
public:
    BatchSession(std::ostream& out, std::ostream& err);
    ~BatchSession();

    // Runs every line of the input; the exit status: 1 when any command
    // reported an error, else 0.
    int Run(std::istream& in);
    // Macros and keys, made on first use.
    BatchMacros& Macros();
    // Runs one line; false when it reported an error.
    bool RunLine(std::string_view line);

    Engine& Eng() { return engine_; }
    BatchView& View() { return *view_; }

    // Result and error output of the commands, in the outside code page.
    void Print(std::string_view text);
    void Fail(std::string_view message);
    int MessagesShown() const { return notify_.Messages(); }

    // Whether opening a worksheet starts the macro of its range named
    // AUTOEXEC; a file converted or printed from the command line does not
    // run it unless asked to.
    bool StartupMacros = true;

private:
    // The next line of the input; false at its end.
    bool ReadScriptLine(std::istream& in, std::string& line);

    std::ostream& out_;
    std::ostream& err_;
    Engine engine_;
    HeadlessNotify notify_;
    BatchView* view_;
    bool failed_ = false;
    std::istream* input_ = nullptr;
    std::optional<std::string> lookahead_;  // a line read while looking for an answer
    bool afterCr_ = false;  // the last line ended with CR, which an LF may follow
    std::unique_ptr<BatchMacros> macros_;
};

// The text of `ztb32 --help`.
std::string BatchHelp();

}  // namespace zt
