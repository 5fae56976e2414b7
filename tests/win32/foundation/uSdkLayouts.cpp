// The same facts from the cross toolchain's own headers.
#define UNICODE
#include <windows.h>
#include <winddi.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

#include "uLayoutFacts.h"

std::vector<TLayoutFact> SdkLayouts() {
  std::vector<TLayoutFact> facts;
#define LAYOUT_SIZE(T) facts.push_back({"sizeof " #T, sizeof(T)});
#define LAYOUT_FIELD(T, F) facts.push_back({#T "." #F, offsetof(T, F)});
#include "uLayoutList.inc"
  return facts;
}
