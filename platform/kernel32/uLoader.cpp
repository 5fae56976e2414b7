// The module loader: a module name NAME.EXT maps to the shared object
// libNAME.so (lower case), opened by bare name so that RUNPATH and
// LD_LIBRARY_PATH apply; a name with a folder keeps its folder. Like Windows,
// the loader calls the module's DllMain on the first load and on the last
// FreeLibrary, and hands out one handle per module with a reference count.
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "uModuleResources.h"
#include "uWinBase.h"

namespace {

using PFN_DllMain = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

struct TModule {
  void* Dl = nullptr;
  int References = 0;
  std::string Path;
  const TModuleResources* Resources = nullptr;
};

struct TModuleTable {
  std::mutex Lock;
  std::map<void*, std::unique_ptr<TModule>> ByDl;
};

TModuleTable& Modules() {
  static TModuleTable* table = new TModuleTable;  // lives as long as the process
  return *table;
}

std::string Narrow(LPCWSTR name) {
  std::string out;
  for (; *name != 0; ++name) {
    out.push_back(*name < 0x80 ? static_cast<char>(*name) : '?');
  }
  return out;
}

std::string SharedObjectName(const std::string& moduleName) {
  const std::size_t slash = moduleName.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : moduleName.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? moduleName : moduleName.substr(slash + 1);
  if (base.size() > 3 && base.compare(base.size() - 3, 3, ".so") == 0) return folder + base;
  const std::size_t dot = base.find_last_of('.');
  if (dot != std::string::npos) base.resize(dot);
  std::transform(base.begin(), base.end(), base.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::string folderPart = folder;
  std::replace(folderPart.begin(), folderPart.end(), '\\', '/');
  return folderPart + "lib" + base + ".so";
}

template <class To>
To SymbolAs(void* dl, const char* name) {
  void* symbol = dlsym(dl, name);
  To out{};
  static_assert(sizeof(out) == sizeof(symbol));
  std::memcpy(&out, &symbol, sizeof(out));
  return out;
}

HMODULE HandleOf(TModule* module) { return reinterpret_cast<HMODULE>(module); }

TModule* ModuleOf(HMODULE handle) {
  // Only handles this loader handed out are accepted.
  TModuleTable& table = Modules();
  std::lock_guard<std::mutex> guard(table.Lock);
  for (auto& [dl, module] : table.ByDl) {
    if (HandleOf(module.get()) == handle) return module.get();
  }
  return nullptr;
}

}  // namespace

extern "C" {

PIXMOR_EXPORT HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  if (lpLibFileName == nullptr || *lpLibFileName == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string path = SharedObjectName(Narrow(lpLibFileName));
  void* dl = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (dl == nullptr && path.find('/') == std::string::npos) {
    // The platform's own modules live beside this library. The search above
    // normally finds them through our RUNPATH, but not when a sanitizer's
    // dlopen stands between us and the dynamic loader.
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&LoadLibraryW), &self) != 0 && self.dli_fname != nullptr) {
      const std::string own = self.dli_fname;
      const std::size_t slash = own.find_last_of('/');
      if (slash != std::string::npos) {
        dl = dlopen((own.substr(0, slash + 1) + path).c_str(), RTLD_NOW | RTLD_LOCAL);
      }
    }
  }
  if (dl == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  TModule* module = nullptr;
  bool first = false;
  {
    TModuleTable& table = Modules();
    std::lock_guard<std::mutex> guard(table.Lock);
    auto& slot = table.ByDl[dl];
    if (!slot) {
      slot = std::make_unique<TModule>();
      slot->Dl = dl;
      slot->Path = path;
      slot->Resources =
          static_cast<const TModuleResources*>(dlsym(dl, PIXMOR_MODULE_RESOURCES_SYMBOL));
      first = true;
    } else {
      dlclose(dl);  // the table holds one dlopen reference per module
    }
    module = slot.get();
    ++module->References;
  }
  if (first) {
    if (auto dllMain = SymbolAs<PFN_DllMain>(module->Dl, "DllMain")) {
      if (dllMain(HandleOf(module), DLL_PROCESS_ATTACH, nullptr) == 0) {
        FreeLibrary(HandleOf(module));
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
      }
    }
  }
  return HandleOf(module);
}

PIXMOR_EXPORT FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  TModule* module = ModuleOf(hModule);
  if (module == nullptr || lpProcName == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto proc = SymbolAs<FARPROC>(module->Dl, lpProcName);
  if (proc == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
  return proc;
}

PIXMOR_EXPORT BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  TModule* module = ModuleOf(hLibModule);
  if (module == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return kFalse;
  }
  bool last = false;
  {
    std::lock_guard<std::mutex> guard(Modules().Lock);
    last = --module->References == 0;
  }
  if (!last) return kTrue;
  if (auto dllMain = SymbolAs<PFN_DllMain>(module->Dl, "DllMain")) {
    dllMain(hLibModule, DLL_PROCESS_DETACH, nullptr);
  }
  void* dl = module->Dl;
  {
    TModuleTable& table = Modules();
    std::lock_guard<std::mutex> guard(table.Lock);
    table.ByDl.erase(dl);
  }
  dlclose(dl);
  return kTrue;
}

PIXMOR_EXPORT const char* PlatformModulePath(HMODULE hModule) {
  TModule* module = ModuleOf(hModule);
  return module == nullptr ? nullptr : module->Path.c_str();
}

// Resources of a module, for the resource functions.
const TModuleResources* PlatformModuleResources(HMODULE hModule) {
  TModule* module = ModuleOf(hModule);
  return module == nullptr ? nullptr : module->Resources;
}

}  // extern "C"
