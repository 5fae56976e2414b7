// The substitute base services: the module loader, local memory, the last
// error and string resources.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "uModuleResources.h"
#include "uPlatformTesting.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The test module's folder, with a Windows-style module name in it.
std::u16string ModuleName(const char* name) {
  return Wide(std::string(std::getenv("PIXMOR_TEST_MODULES")) + "/" + name);
}

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  return std::bit_cast<Fn>(GetProcAddress(module, name));
}

TEST(Loader, MapsModuleNamesAndCallsDllMainOnFirstLoadAndLastFree) {
  for (const char* name : {"TestModule.DLL", "testmodule.dll", "TESTMODULE.drv"}) {
    const std::u16string path = ModuleName(name);
    HMODULE module = LoadLibraryW(path.c_str());
    ASSERT_NE(module, nullptr) << name;
    HMODULE again = LoadLibraryW(path.c_str());
    EXPECT_EQ(again, module) << "one handle per module";
    auto attaches = Proc<int (*)()>(module, "TestModuleAttaches");
    auto detaches = Proc<int (*)()>(module, "TestModuleDetaches");
    auto instance = Proc<HINSTANCE (*)()>(module, "TestModuleInstance");
    ASSERT_NE(attaches, nullptr);
    EXPECT_EQ(attaches(), 1);
    EXPECT_EQ(instance(), module);  // DllMain receives the module handle
    EXPECT_EQ(FreeLibrary(again), kTrue);
    EXPECT_EQ(detaches(), 0) << "still referenced";
    EXPECT_EQ(FreeLibrary(module), kTrue);  // unloads: the counters go with it
  }
}

TEST(Loader, ReportsMissingModulesAndNames) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(u"no-such-module.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  const std::u16string path = ModuleName("testmodule.dll");
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  FreeLibrary(module);
  // A handle the loader did not hand out is refused, not followed.
  int notAModule = 0;
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&notAModule), "DllMain"), nullptr);
  EXPECT_EQ(FreeLibrary(reinterpret_cast<HMODULE>(&notAModule)), kFalse);
}

TEST(LocalMemory, CountsLiveBlocksAndZeroesSmallAndLargeBlocks) {
  const long live = PlatformLiveLocalBlocks();
  for (SIZE_T size : {SIZE_T{1}, SIZE_T{4096}, SIZE_T{64} << 20}) {
    auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[size - 1], 0);
    std::memset(block, 0xAB, size);
    EXPECT_EQ(PlatformLiveLocalBlocks(), live + 1);
    EXPECT_EQ(LocalFree(block), nullptr);
  }
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
}

TEST(LocalMemory, ReusesTheLastLargeBlockClearedAgain) {
  const SIZE_T size = SIZE_T{48} << 20;
  auto* first = static_cast<unsigned char*>(LocalAlloc(LPTR, size));
  ASSERT_NE(first, nullptr);
  std::memset(first, 0xAB, size);
  LocalFree(first);
  auto* second = static_cast<unsigned char*>(LocalAlloc(LPTR, size - 4096));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second, first);  // the warm block again
  std::size_t nonZero = 0;
  for (SIZE_T i = 0; i < size - 4096; i += 509) nonZero += second[i] != 0;
  EXPECT_EQ(nonZero, 0u);
  // A much smaller request does not take a block twice its size.
  LocalFree(second);
  auto* small = static_cast<unsigned char*>(LocalAlloc(LPTR, SIZE_T{8} << 20));
  EXPECT_NE(small, first);
  EXPECT_EQ(small[0], 0);
  LocalFree(small);
}

TEST(LocalMemory, FailsTheNthAllocationOnceAndRefusesImpossibleSizes) {
  const long live = PlatformLiveLocalBlocks();
  PlatformFailNthLocalAlloc(2);
  void* first = LocalAlloc(LPTR, 16);
  SetLastError(0);
  void* second = LocalAlloc(LPTR, 16);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  void* third = LocalAlloc(LPTR, 16);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  LocalFree(first);
  LocalFree(third);
  EXPECT_EQ(LocalAlloc(LPTR, SIZE_MAX), nullptr);
  EXPECT_EQ(LocalAlloc(LPTR, SIZE_MAX - 70), nullptr);
  EXPECT_EQ(PlatformLiveLocalBlocks(), live);
}

TEST(LastError, IsPerThread) {
  SetLastError(42);
  DWORD seen = 0;
  std::thread other([&] {
    seen = GetLastError();
    SetLastError(7);
  });
  other.join();
  EXPECT_EQ(seen, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), 42u);
}

TEST(StringResources, LoadStringWCopiesTruncatesOrPointsAtTheText) {
  const std::u16string path = ModuleName("testmodule.dll");
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr);
  WCHAR buffer[64];
  EXPECT_EQ(LoadStringW(module, 11, buffer, 64), 17);
  EXPECT_EQ(std::u16string(buffer), u"Eleven characters");
  EXPECT_EQ(LoadStringW(module, 12, buffer, 64), 28);
  EXPECT_EQ(std::u16string(buffer), u"Quote \" and backslash \\ kept");
  EXPECT_EQ(LoadStringW(module, 11, buffer, 4), 3);  // room for 3 and the terminator
  EXPECT_EQ(std::u16string(buffer), u"Ele");
  const WCHAR* text = nullptr;
  EXPECT_EQ(LoadStringW(module, 10, reinterpret_cast<LPWSTR>(&text), 0), 3);
  EXPECT_EQ(std::u16string(text, 3), u"Ten");
  EXPECT_EQ(LoadStringW(module, 99, buffer, 64), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(LoadStringW(nullptr, 10, buffer, 64), 0);
  FreeLibrary(module);
}

}  // namespace
