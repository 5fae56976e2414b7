// Print jobs: a job is the bytes of its WritePrinter calls, in order. They go
// to a temporary file beside the job's output file, which takes its name
// only at EndDocPrinterW, so a job that fails part-way leaves no partial
// job file behind.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "uPrinterStore.h"

using namespace spool;

namespace {

std::atomic<unsigned long> WriteCalls{0};
// $PIXMOR_FAIL_WRITE_PRINTER=n makes the n-th WritePrinter of the process
// fail, so that tests can break a job part-way inside a program they run.
unsigned long FailAtFromEnvironment() {
  const char* value = std::getenv("PIXMOR_FAIL_WRITE_PRINTER");
  return value == nullptr ? 0 : std::strtoul(value, nullptr, 10);
}

std::atomic<unsigned long> FailWriteAt{FailAtFromEnvironment()};
std::atomic<DWORD> NextJobId{1};

void CloseJob(TPrinterHandle& printer) {
  if (printer.JobFd >= 0) close(printer.JobFd);
  printer.JobFd = -1;
  printer.JobOpen = false;
}

}  // namespace

extern "C" {

PIXMOR_EXPORT DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (Level != 1 || pDocInfo == nullptr) {
    SetLastError(ERROR_INVALID_LEVEL);
    return 0;
  }
  if (printer->JobOpen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto* info = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo);
  const DWORD id = NextJobId++;
  std::string file;
  if (info->pOutputFile != nullptr && *info->pOutputFile != 0) {
    file = Utf8(info->pOutputFile);
  } else {
    const std::string jobs = printer->Folder + "/jobs";
    if (!MakeFolders(jobs)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
    file = jobs + "/job-" + std::to_string(getpid()) + "-" + std::to_string(id) + ".bmp";
  }
  const std::string temp = file + ".part";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    return 0;
  }
  printer->JobOpen = true;
  printer->JobId = id;
  printer->JobFile = file;
  printer->JobTemp = temp;
  printer->JobFd = fd;
  return id;
}

PIXMOR_EXPORT BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf,
                                       LPDWORD pcWritten) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (pcWritten != nullptr) *pcWritten = 0;
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  if (!printer->JobOpen || (pBuf == nullptr && cbBuf != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const unsigned long call = ++WriteCalls;
  const unsigned long failAt = FailWriteAt.load();
  if (failAt != 0 && call == failAt) {
    FailWriteAt = 0;
    SetLastError(ERROR_WRITE_FAULT);
    return kFalse;
  }
  const auto* bytes = static_cast<const unsigned char*>(pBuf);
  DWORD done = 0;
  while (done < cbBuf) {
    const ssize_t n = write(printer->JobFd, bytes + done, cbBuf - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      SetLastError(ERROR_WRITE_FAULT);
      if (pcWritten != nullptr) *pcWritten = done;
      return kFalse;
    }
    done += static_cast<DWORD>(n);
  }
  if (pcWritten != nullptr) *pcWritten = done;
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI EndDocPrinterW(HANDLE hPrinter) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr || !printer->JobOpen) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  // The rename makes the job appear whole; it is not forced to the disk, as
  // a spooler's job of many megabytes per page need not be.
  const bool closed = close(printer->JobFd) == 0;
  printer->JobFd = -1;
  CloseJob(*printer);
  if (!closed || rename(printer->JobTemp.c_str(), printer->JobFile.c_str()) != 0) {
    unlink(printer->JobTemp.c_str());
    SetLastError(ERROR_WRITE_FAULT);
    return kFalse;
  }
  printer->LastJobFile = printer->JobFile;
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI AbortPrinter(HANDLE hPrinter) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr || !printer->JobOpen) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  CloseJob(*printer);
  unlink(printer->JobTemp.c_str());
  printer->LastJobFile.clear();
  return kTrue;
}

PIXMOR_EXPORT void PlatformFailNthWritePrinter(unsigned long n) {
  FailWriteAt = n == 0 ? 0 : WriteCalls.load() + n;
}

}  // extern "C"
