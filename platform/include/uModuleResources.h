// The resource table a module of the substitute platform carries: its string
// table and icon groups, generated at build time from the same source as the
// Windows resource script. The loader finds it by the exported name below.
#pragma once

#include "uWinBase.h"

struct TResourceString {
  WORD Id;
  WORD Language;
  LPCWSTR Text;
};

// One icon group: the bytes of an .ico file (header, directory, images).
struct TResourceIconGroup {
  WORD Id;
  const BYTE* Data;
  DWORD Size;
};

struct TModuleResources {
  DWORD StringCount;
  const TResourceString* Strings;
  DWORD IconGroupCount;
  const TResourceIconGroup* IconGroups;
};

#define PIXMOR_MODULE_RESOURCES_SYMBOL "PixmorModuleResources"

extern "C" {
// The published user-mode string loader: with cchBufferMax 0 it stores a
// read-only pointer to the text at lpBuffer and returns its length.
PIXMOR_EXPORT INT WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer,
                                     INT cchBufferMax);
// The icon group `id` of a module, as .ico bytes; false when it has none.
PIXMOR_EXPORT BOOL PlatformFindIconGroup(HINSTANCE hInstance, WORD id, const BYTE** data,
                                         DWORD* size);
// The file name of a loaded module, for diagnostics.
PIXMOR_EXPORT const char* PlatformModulePath(HMODULE hModule);
}
