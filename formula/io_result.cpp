#include "formula/io_result.h"

namespace zt {

namespace {

// One value for the whole process, as there is one user-interface thread.
int lastIoResult = 0;

}  // namespace

void SetIoResult(int code) { lastIoResult = code; }

int TakeIoResult()
{
    int code = lastIoResult;
    lastIoResult = 0;
    return code;
}

}  // namespace zt
