// A stand-in for winspool.drv under Wine: WritePrinter appends to one job
// in memory, which the test reads back.
#include <vector>

#include "uPrintOem.h"

namespace {
std::vector<BYTE> Job;
}

extern "C" {

BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
  if (hPrinter == nullptr || pBuf == nullptr) return 0;
  const auto* bytes = static_cast<const BYTE*>(pBuf);
  Job.insert(Job.end(), bytes, bytes + cbBuf);
  if (pcWritten != nullptr) *pcWritten = cbBuf;
  return -1;
}

const BYTE* WINAPI StandInJob(DWORD* size) {
  *size = static_cast<DWORD>(Job.size());
  return Job.data();
}

}  // extern "C"
