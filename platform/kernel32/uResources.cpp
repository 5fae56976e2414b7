// Resource look-ups in the table a module carries.
#include <cstring>

#include "uModuleResources.h"

extern "C" const TModuleResources* PlatformModuleResources(HMODULE hModule);

namespace {
constexpr WORD kEnglishUS = 1033;

const TResourceString* FindString(const TModuleResources* resources, UINT id) {
  if (resources == nullptr) return nullptr;
  const TResourceString* fallback = nullptr;
  for (DWORD i = 0; i < resources->StringCount; ++i) {
    const TResourceString& entry = resources->Strings[i];
    if (entry.Id != id) continue;
    if (entry.Language == kEnglishUS) return &entry;
    if (fallback == nullptr) fallback = &entry;
  }
  return fallback;
}
}  // namespace

extern "C" {

PIXMOR_EXPORT INT WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer,
                                     INT cchBufferMax) {
  if (lpBuffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const TResourceString* entry = FindString(PlatformModuleResources(hInstance), uID);
  if (entry == nullptr) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    if (cchBufferMax > 0) lpBuffer[0] = 0;
    return 0;
  }
  INT length = 0;
  while (entry->Text[length] != 0) ++length;
  if (cchBufferMax == 0) {
    const WCHAR* text = entry->Text;
    std::memcpy(lpBuffer, &text, sizeof(text));
    return length;
  }
  const INT copied = length < cchBufferMax - 1 ? length : cchBufferMax - 1;
  std::memcpy(lpBuffer, entry->Text, sizeof(WCHAR) * static_cast<std::size_t>(copied));
  lpBuffer[copied] = 0;
  return copied;
}

PIXMOR_EXPORT BOOL PlatformFindIconGroup(HINSTANCE hInstance, WORD id, const BYTE** data,
                                         DWORD* size) {
  const TModuleResources* resources = PlatformModuleResources(hInstance);
  if (resources == nullptr || data == nullptr || size == nullptr) return kFalse;
  for (DWORD i = 0; i < resources->IconGroupCount; ++i) {
    if (resources->IconGroups[i].Id == id) {
      *data = resources->IconGroups[i].Data;
      *size = resources->IconGroups[i].Size;
      return kTrue;
    }
  }
  return kFalse;
}

}  // extern "C"
