// The thread's last error.
#include "uWinBase.h"

namespace {
thread_local DWORD LastError = ERROR_SUCCESS;
}

extern "C" {
PIXMOR_EXPORT DWORD WINAPI GetLastError() { return LastError; }
PIXMOR_EXPORT void WINAPI SetLastError(DWORD dwErrCode) { LastError = dwErrCode; }
}
