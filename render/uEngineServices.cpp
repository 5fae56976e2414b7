#include "uEngineServices.h"

namespace pixmor {

TEngineBinding EngineBinding = {};

void BindEngineServices() {
  if (EngineBinding.hGdi32 != nullptr) return;  // bound once per process
  EngineBinding.hGdi32 = LoadLibraryW(u"gdi32.dll");
  if (EngineBinding.hGdi32 == nullptr) return;  // the next call tries again
  for (std::size_t i = 0; i < EngineServiceNames.size(); ++i) {
    EngineBinding.Slots[i] = GetProcAddress(EngineBinding.hGdi32, EngineServiceNames[i]);
  }
}

}  // namespace pixmor
