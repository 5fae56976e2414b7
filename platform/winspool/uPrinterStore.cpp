#include "uUtf.h"
#include "uPrinterStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace spool {

namespace {

constexpr std::uint32_t kHandleMagic = 0x5053504Cu;

std::mutex StateLock;
std::string FolderOverride;  // set by PlatformSetSpoolFolder
std::string UserOverride;    // set by PlatformSetSpoolUser
std::string FolderText;      // what PlatformSpoolFolder last returned

// Keeps a printer name safe as one folder name: letters, digits and a few
// marks as they are, everything else as %XX of its UTF-8 bytes.
std::string FolderNameOf(const std::u16string& name) {
  std::string out;
  for (unsigned char c : Utf8(name)) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == ' ') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  if (out == "." || out == "..") out = "%2E" + out.substr(1);
  return out;
}

std::u16string NameOfFolder(const std::string& folder) {
  std::string bytes;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] == '%' && i + 2 < folder.size()) {
      bytes.push_back(static_cast<char>(std::strtol(folder.substr(i + 1, 2).c_str(), nullptr, 16)));
      i += 2;
    } else {
      bytes.push_back(folder[i]);
    }
  }
  return Utf16(bytes);
}

std::string ConfigPath(const std::string& folder) { return folder + "/printer.conf"; }

bool ReadConfig(const std::string& folder, std::string& driver, std::string& config) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(ConfigPath(folder), bytes)) return false;
  std::string text(bytes.begin(), bytes.end());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.rfind("driver=", 0) == 0) driver = line.substr(7);
    if (line.rfind("config=", 0) == 0) config = line.substr(7);
    start = end + 1;
  }
  return !driver.empty() && !config.empty();
}

}  // namespace

// The handles OpenPrinterW handed out and ClosePrinter has not taken back;
// anything else is refused without being read.
std::set<HANDLE>& OpenHandles() {
  static auto* handles = new std::set<HANDLE>;  // lives as long as the process
  return *handles;
}

TPrinterHandle* HandleOf(HANDLE handle) {
  {
    std::lock_guard<std::mutex> guard(StateLock);
    if (handle == nullptr || OpenHandles().count(handle) == 0) return nullptr;
  }
  auto* printer = static_cast<TPrinterHandle*>(handle);
  return printer->Magic == kHandleMagic ? printer : nullptr;
}

std::string SpoolFolder() {
  std::lock_guard<std::mutex> guard(StateLock);
  if (!FolderOverride.empty()) return FolderOverride;
  if (const char* env = std::getenv("PIXMOR_SPOOL_DIR"); env != nullptr && *env != 0) return env;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != 0) {
    return std::string(xdg) + "/pixmor";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == 0) {
    const passwd* pw = getpwuid(getuid());
    home = pw != nullptr ? pw->pw_dir : "/tmp";
  }
  return std::string(home) + "/.local/share/pixmor";
}

std::string PrinterFolder(const std::u16string& name) {
  return SpoolFolder() + "/printers/" + FolderNameOf(name);
}

std::string CurrentUser() {
  {
    std::lock_guard<std::mutex> guard(StateLock);
    if (!UserOverride.empty()) return UserOverride;
  }
  const passwd* pw = getpwuid(getuid());
  if (pw != nullptr && pw->pw_name != nullptr) return pw->pw_name;
  return "uid" + std::to_string(getuid());
}

std::string Utf8(const std::u16string& text) { return utf::ToUtf8(text); }

std::u16string Utf16(const std::string& text) { return utf::ToUtf16(text); }

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return !error && std::filesystem::is_directory(path, error);
}

bool WriteFileAtomic(const std::string& path, const void* data, std::size_t size) {
  const std::string temp = path + ".tmp." + std::to_string(getpid());
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0 || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  out.clear();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  unsigned char chunk[8192];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    out.insert(out.end(), chunk, chunk + n);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

std::string PrinterDevModePath(const TPrinterHandle& printer) {
  return printer.Folder + "/devmode-printer.bin";
}

std::string UserDevModePath(const TPrinterHandle& printer) {
  std::string user;
  for (char c : CurrentUser()) user.push_back(c == '/' ? '_' : c);
  return printer.Folder + "/devmode-user-" + user + ".bin";
}

}  // namespace spool

using namespace spool;

extern "C" {

PIXMOR_EXPORT void PlatformSetSpoolFolder(const char* path) {
  std::lock_guard<std::mutex> guard(StateLock);
  FolderOverride = path == nullptr ? "" : path;
}

PIXMOR_EXPORT const char* PlatformSpoolFolder() {
  std::string folder = SpoolFolder();
  std::lock_guard<std::mutex> guard(StateLock);
  FolderText = folder;
  return FolderText.c_str();
}

PIXMOR_EXPORT void PlatformSetSpoolUser(const char* user) {
  std::lock_guard<std::mutex> guard(StateLock);
  UserOverride = user == nullptr ? "" : user;
}

PIXMOR_EXPORT BOOL PlatformAddPrinter(LPCWSTR name, LPCWSTR driverModule, LPCWSTR configModule) {
  if (name == nullptr || *name == 0 || driverModule == nullptr || configModule == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const std::string folder = PrinterFolder(name);
  std::string driver, config;
  if (ReadConfig(folder, driver, config)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return kFalse;
  }
  const std::string text = "driver=" + Utf8(driverModule) + "\nconfig=" + Utf8(configModule) + "\n";
  if (!MakeFolders(folder) || !WriteFileAtomic(ConfigPath(folder), text.data(), text.size())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return kFalse;
  }
  return kTrue;
}

PIXMOR_EXPORT BOOL PlatformDeletePrinter(LPCWSTR name) {
  if (name == nullptr || *name == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  const std::string folder = PrinterFolder(name);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return kFalse;
  }
  while (dirent* entry = readdir(dir)) {
    const std::string file = entry->d_name;
    if (file != "." && file != "..") unlink((folder + "/" + file).c_str());
  }
  closedir(dir);
  if (rmdir(folder.c_str()) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return kFalse;
  }
  return kTrue;
}

PIXMOR_EXPORT DWORD PlatformListPrinters(LPWSTR buffer, DWORD units) {
  std::u16string all;
  const std::string root = SpoolFolder() + "/printers";
  if (DIR* dir = opendir(root.c_str())) {
    std::map<std::u16string, bool> names;  // sorted
    while (dirent* entry = readdir(dir)) {
      const std::string file = entry->d_name;
      std::string driver, config;
      if (file != "." && file != ".." && ReadConfig(root + "/" + file, driver, config)) {
        names[NameOfFolder(file)] = true;
      }
    }
    closedir(dir);
    for (const auto& [name, unused] : names) {
      all += name;
      all.push_back(0);
    }
  }
  all.push_back(0);
  const auto needed = static_cast<DWORD>(all.size());
  if (buffer != nullptr && units >= needed) std::memcpy(buffer, all.data(), needed * sizeof(WCHAR));
  return needed;
}

PIXMOR_EXPORT BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, HANDLE* phPrinter, PRINTER_DEFAULTSW*) {
  if (phPrinter == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kFalse;
  }
  *phPrinter = nullptr;
  if (pPrinterName == nullptr || *pPrinterName == 0) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return kFalse;
  }
  auto printer = std::make_unique<TPrinterHandle>();
  printer->Magic = kHandleMagic;
  printer->Name = pPrinterName;
  printer->Folder = PrinterFolder(printer->Name);
  if (!ReadConfig(printer->Folder, printer->DriverModule, printer->ConfigModule)) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return kFalse;
  }
  *phPrinter = printer.release();
  std::lock_guard<std::mutex> guard(StateLock);
  OpenHandles().insert(*phPrinter);
  return kTrue;
}

PIXMOR_EXPORT BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  if (printer->JobOpen) AbortPrinter(hPrinter);
  {
    std::lock_guard<std::mutex> guard(StateLock);
    OpenHandles().erase(hPrinter);
  }
  printer->Magic = 0;
  delete printer;
  return kTrue;
}

PIXMOR_EXPORT const char* PlatformJobFile(HANDLE hPrinter) {
  TPrinterHandle* printer = HandleOf(hPrinter);
  if (printer == nullptr) return nullptr;
  return printer->JobOpen ? printer->JobFile.c_str() : printer->LastJobFile.c_str();
}

}  // extern "C"
