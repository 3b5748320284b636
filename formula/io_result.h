#pragma once

namespace zt {

// The result code of the program's last file operation, as @IORESULT
// reports it: 0 for success, else the operating system's error number.
// Every module that reads or writes files records its outcome here.
void SetIoResult(int code);

// The code recorded last; reading it starts over at 0.
int TakeIoResult();

}  // namespace zt
