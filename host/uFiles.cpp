#include "uFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "uCommandLine.h"

namespace host {

TAtomicFile::TAtomicFile(const std::string& path)
    : Path(path), Temporary(path + ".part-" + std::to_string(getpid())) {
  File = std::fopen(Temporary.c_str(), "wb");
  if (File == nullptr) {
    throw TCommandError("cannot write '" + path + "': " + std::strerror(errno));
  }
}

TAtomicFile::~TAtomicFile() {
  if (File != nullptr) {
    std::fclose(File);
    std::remove(Temporary.c_str());
  }
}

void TAtomicFile::Write(const void* data, std::size_t size) {
  if (std::fwrite(data, 1, size, File) != size) {
    throw TCommandError("cannot write '" + Path + "': " + std::strerror(errno));
  }
}

void TAtomicFile::Commit() {
  const bool flushed = std::fflush(File) == 0;
  const int closed = std::fclose(File);
  File = nullptr;
  if (!flushed || closed != 0 || std::rename(Temporary.c_str(), Path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    std::remove(Temporary.c_str());
    throw TCommandError("cannot write '" + Path + "': " + why);
  }
}

void MakeFolder(const std::string& path) {
  if (path.empty()) throw TCommandError("an empty folder name was given");
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) throw TCommandError("cannot create folder '" + path + "': " + error.message());
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw TCommandError("'" + path + "' is not a folder");
  }
  if (access(path.c_str(), W_OK) != 0) {
    throw TCommandError("cannot write into folder '" + path + "': " + std::strerror(errno));
  }
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

}  // namespace host
