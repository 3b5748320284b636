#include "app/batch.h"

#include <istream>
#include <ostream>

#include "app/batch_args.h"
#include "app/batch_commands.h"
#include "app/batch_macros.h"
#include "core/cell_store.h"
#include "files/external_sheets.h"
#include "formula/formula_engine.h"
#include "platform/codepage.h"

namespace zt {

BatchSession::BatchSession(std::ostream& out, std::ostream& err)
    : out_(out), err_(err), notify_([this](std::string_view text) {
          failed_ = true;
          err_ << Utf8FromCp1252(text) << '\n';
      })
{
    auto view = std::make_unique<BatchView>();
    view_ = view.get();
    engine_.View = std::move(view);
    engine_.Notifier = &notify_;
    InstallFormulaEngine(engine_);
    InstallFileHooks(engine_);
    RestoreContext(engine_, OpenSheet(engine_, "UNTITLED"));
}

// Lines end with LF, CR LF or CR. The LF of a CR LF is passed over when the
// next line is read rather than waited for after the CR, so that a program
// that ends its commands with CR alone gets each answer at once.
bool BatchSession::ReadScriptLine(std::istream& in, std::string& line)
{
    using Traits = std::istream::traits_type;
    line.clear();
    // The sentry flushes the output first, so that a program driving batch
    // mode line by line sees each answer before it sends the next command.
    std::istream::sentry ready(in, true);
    if (!ready)
        return false;
    std::streambuf* buf = in.rdbuf();
    Traits::int_type c = buf->sbumpc();
    if (afterCr_ && c == '\n')
        c = buf->sbumpc();
    afterCr_ = false;
    for (; !Traits::eq_int_type(c, Traits::eof()); c = buf->sbumpc()) {
        if (c == '\n' || c == '\r') {
            afterCr_ = c == '\r';
            return true;
        }
        line.push_back(Traits::to_char_type(c));
    }
    in.setstate(std::ios::eofbit);
    return !line.empty();
}

void BatchSession::Print(std::string_view text) { out_ << Utf8FromCp1252(text) << '\n'; }

void BatchSession::Fail(std::string_view message) { notify_.ShowMessage("Error:" + std::string(message)); }

bool BatchSession::RunLine(std::string_view raw)
{
    if (!raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    std::string line;
    if (!Cp1252FromUtf8(raw, line)) {
        Fail("Invalid Character");
        return false;
    }
    std::string_view rest = line;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    if (rest.empty() || rest.front() == '#')
        return true;
    std::size_t end = rest.find(' ');
    std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);

    failed_ = false;
    for (const BatchCommand& c : BatchCommands()) {
        if (SameWord(c.Name, name)) {
            c.Run(*this, rest);
            return !failed_;
        }
    }
    Fail("Unknown Command: " + std::string(name));
    return false;
}

BatchSession::~BatchSession() = default;

int BatchSession::Run(std::istream& in)
{
    bool anyFailed = false;
    input_ = &in;
    std::string line;
    for (;;) {
        if (lookahead_) {
            line = std::move(*lookahead_);
            lookahead_.reset();
        } else if (!ReadScriptLine(in, line)) {
            break;
        }
        if (!RunLine(line))
            anyFailed = true;
    }
    input_ = nullptr;
    out_.flush();
    return anyFailed ? 1 : 0;
}

BatchMacros& BatchSession::Macros()
{
    if (!macros_) {
        macros_ = std::make_unique<BatchMacros>(engine_, *view_);
        // An input command of a running macro takes the next line when it
        // reads "answer TEXT"; any other line waits for its turn.
        macros_->NextInputAnswer = [this](std::string& answer) {
            constexpr std::string_view kAnswer = "answer ";
            std::string line;
            if (lookahead_)
                line = *lookahead_;
            else if (!input_ || !ReadScriptLine(*input_, line))
                return false;
            if (line.rfind(kAnswer, 0) != 0) {
                lookahead_ = line;
                return false;
            }
            lookahead_.reset();
            std::string text;
            if (!Cp1252FromUtf8(std::string_view(line).substr(kAnswer.size()), text))
                return false;
            answer = text;
            return true;
        };
    }
    return *macros_;
}

std::string BatchHelp()
{
    std::string text =
        "Usage: ztb32 [FILE]\n"
        "       ztb32 --batch [FILE] [--macros] [--recalc] [--print RANGE|all] [--save OUT]\n"
        "Without --batch the window opens on FILE, or on AUTOEXEC.WKS beside the\n"
        "program. With --batch there is no window: commands are read from standard\n"
        "input, one per line, and one result line per query goes to standard\n"
        "output; errors go to standard error.\n"
        "FILE is opened first, without running its start-up macro (the range named\n"
        "AUTOEXEC) unless --macros is given; when it cannot be read whole, nothing\n"
        "else is done. --recalc recalculates, --print lists the values of a range\n"
        "and --save saves under OUT; with --print or --save nothing is read from\n"
        "standard input (ztb32 --batch IN --save OUT converts a file). The open\n"
        "command runs a file's start-up macro. Macro delays take no time here, and\n"
        "a macro is broken off after two million steps.\n"
        "Addresses and ranges are written as in the program (A1, $B$7, A1..C10,\n"
        "range names), in any case. Lines starting with # are comments.\n"
        "Exit status: 0 when all went well, 1 when a command reported an error,\n"
        "2 for a malformed command line.\n\nCommands:\n";
    for (const BatchCommand& c : BatchCommands()) {
        std::string head = "  " + std::string(c.Name);
        if (!c.Args.empty())
            head += " " + std::string(c.Args);
        if (head.size() < 28)
            head.resize(28, ' ');
        else
            head += "\n" + std::string(28, ' ');
        text += head + std::string(c.Help) + "\n";
    }
    return text;
}

}  // namespace zt
