// Inquiries about the program, the worksheet, the machine and its files.
#include <string>

#include "core/cell_store.h"
#include "formula/function_support.h"
#include "formula/functions.h"
#include "formula/io_result.h"
#include "platform/file_info.h"
#include "platform/system_info.h"

namespace zt {

namespace {

constexpr std::uint8_t opMemAvail = 139, opDosVer = 141, opVersion = 142, opAuto = 143, opProtect = 144,
                       opQView = 145, opPath = 148, opFileInfo = 151, opIoResult = 152, opFileName = 156,
                       opOsVer = 186;

constexpr double kProgramVersion = 1.6007;

// Pushes ERR, for the functions without arguments.
void PushError(EvalMachine& m)
{
    m.PushNumber(-1.0);
    if (m.Sp > 0)
        m.Top().Error = true;
}

// Pushes a text that must arrive whole; one longer than a cell can hold is ERR.
void PushWholeText(EvalMachine& m, const std::string& s)
{
    if (s.size() > static_cast<std::size_t>(kMaxCellText))
        PushError(m);
    else
        m.PushString(s);
}

void Version(EvalMachine& m) { m.PushNumber(kProgramVersion); }

void OsVer(EvalMachine& m)
{
    double version = 0;
    if (OsVersionNumber(version))
        m.PushNumber(version);
    else
        PushError(m);
}

// @DOSVER: there is no DOS underneath.
void DosVer(EvalMachine& m) { m.PushString("N/A"); }

// @MEMAVAIL(n): 0 the free-memory figure the program shows elsewhere, 1 the
// bytes the worksheet heap may still allocate, 2 the bytes of the heap
// pages in use. Any other n is left as the result.
void MemAvail(EvalMachine& m)
{
    const PageHeap& heap = m.E.Heap;
    int n = -1;
    if (!SmallIntArg(m.Top().Value, n))
        return;
    switch (n) {
    case 0: ResultNumber(m, 1, static_cast<double>(MemoryFree(m.E))); break;
    case 1: ResultNumber(m, 1, static_cast<double>(heap.BudgetFree())); break;
    case 2: ResultNumber(m, 1, static_cast<double>(heap.PagesPresent()) * PageHeap::kPageSize); break;
    default: break;
    }
}

void Auto(EvalMachine& m) { m.PushNumber(m.E.Settings().ManualCalc ? 0 : 1); }
void Protect(EvalMachine& m) { m.PushNumber(m.E.Settings().Protect ? 1 : 0); }

// @QVIEW(n): one of the two view values the worksheet window keeps.
void QView(EvalMachine& m)
{
    int n = -1;
    if (!SmallIntArg(m.Top().Value, n) || (n != 0 && n != 1)) {
        ResultError(m, 1);
        return;
    }
    ResultNumber(m, 1, m.E.View->ViewValue(m.E, n));
}

void Path(EvalMachine& m)
{
    std::string dir;
    if (CurrentDirectory(dir))
        PushWholeText(m, dir);
    else
        PushError(m);
}

void FileName(EvalMachine& m) { PushWholeText(m, m.E.View->WindowCaption(m.E)); }

// @IORESULT: the outcome of the last file operation; asking clears it.
void IoResult(EvalMachine& m) { m.PushNumber(TakeIoResult()); }

// @FILEINFO(n, name): 1 the size, 2 whether the file can be opened (0 when
// it does not exist), 3 its attribute bits, 4 its size and modification
// time as text. A missing file has none of the others.
void FileInfo(EvalMachine& m)
{
    int n = 0;
    if (!SmallIntArg(m.Arg(1).Value, n) || n < 1 || n > 4) {
        ResultError(m, 2);
        return;
    }
    FileFacts f = InspectFile(ArgText(m, 0));
    if (n == 2) {
        ResultNumber(m, 2, f.CanOpen ? 1 : 0);
    } else if (!f.Exists) {
        ResultError(m, 2);
    } else if (n == 1) {
        ResultNumber(m, 2, f.Size);
    } else if (n == 3) {
        ResultNumber(m, 2, f.Attributes);
    } else {
        ResultString(m, 2, f.Summary);
    }
}

}  // namespace

void RegisterSystemFunctions(HandlerTable& t)
{
    t[opVersion] = Version;
    t[opOsVer] = OsVer;
    t[opDosVer] = DosVer;
    t[opMemAvail] = MemAvail;
    t[opAuto] = Auto;
    t[opProtect] = Protect;
    t[opQView] = QView;
    t[opPath] = Path;
    t[opFileName] = FileName;
    t[opIoResult] = IoResult;
    t[opFileInfo] = FileInfo;
}

}  // namespace zt
