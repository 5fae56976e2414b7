#include "uCompstui.h"
#include "uLayoutFacts.h"
#include "uPrintOem.h"

std::vector<TLayoutFact> OurLayouts() {
  std::vector<TLayoutFact> facts;
#define LAYOUT_SIZE(T) facts.push_back({"sizeof " #T, sizeof(T)});
#define LAYOUT_FIELD(T, F) facts.push_back({#T "." #F, offsetof(T, F)});
#include "uLayoutList.inc"
  return facts;
}
