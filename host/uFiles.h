// Files the host writes appear whole or not at all: they are written under a
// temporary name beside the target and renamed at the end.
#pragma once

#include <cstdio>
#include <string>

namespace host {

struct TAtomicFile {
  explicit TAtomicFile(const std::string& path);
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;
  ~TAtomicFile();  // removes the temporary file unless committed

  FILE* Stream() { return File; }
  void Write(const void* data, std::size_t size);
  void Commit();  // flushes, closes and renames; throws TCommandError on failure

  std::string Path;
  std::string Temporary;
  FILE* File = nullptr;
};

// Creates a folder and its parents, or throws TCommandError saying why not.
void MakeFolder(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace host
