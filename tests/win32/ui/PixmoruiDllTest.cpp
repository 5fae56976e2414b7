// The real pixmorui.dll, loaded as the spooler loads it.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "uCompstui.h"
#include "uModuleResources.h"
#include "uPixmorDefs.h"

// The resource calls this test needs (kernel32), declared here.
extern "C" {
HANDLE WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HANDLE WINAPI LoadResource(HMODULE hModule, HANDLE hResInfo);
LPVOID WINAPI LockResource(HANDLE hResData);
DWORD WINAPI SizeofResource(HMODULE hModule, HANDLE hResInfo);
}

// The table generated from the same source as the DLL's resources.
extern "C" const TModuleResources PixmorModuleResources;

namespace {

LPCWSTR Id(ULONG_PTR n) { return reinterpret_cast<LPCWSTR>(n); }
constexpr ULONG_PTR RT_ICON = 3;
constexpr ULONG_PTR RT_GROUP_ICON = 14;

struct TPixmoruiDll : testing::Test {
  static void SetUpTestSuite() { Module = LoadLibraryW(u"pixmorui.dll"); }
  template <class Fn>
  static Fn Export(const char* name) {
    return std::bit_cast<Fn>(GetProcAddress(Module, name));
  }
  void SetUp() override { ASSERT_NE(Module, nullptr); }
  static inline HMODULE Module = nullptr;
};

TEST_F(TPixmoruiDll, ExportsItsSevenEntryPointsByName) {
  for (const char* name :
       {"DrvDocumentPropertySheets", "DrvDevicePropertySheets", "DocumentProperties",
        "PrinterProperties", "DrvDeviceCapabilities", "DevQueryPrintEx", "DrvPrinterEvent"}) {
    EXPECT_NE(GetProcAddress(Module, name), nullptr) << name;
  }
  for (const char* hidden : {"DllMain", "BuildPropSheet", "DrvDocumentPropertySheets@8"}) {
    EXPECT_EQ(GetProcAddress(Module, hidden), nullptr) << hidden;
  }
}

TEST_F(TPixmoruiDll, EveryStringOfTheTable) {
  ASSERT_GT(PixmorModuleResources.StringCount, 100u);
  for (DWORD i = 0; i < PixmorModuleResources.StringCount; ++i) {
    const TResourceString& entry = PixmorModuleResources.Strings[i];
    WCHAR text[128] = {};
    const INT length = LoadStringW(Module, entry.Id, text, 128);
    EXPECT_EQ(std::u16string(text, static_cast<std::size_t>(length > 0 ? length : 0)),
              std::u16string(entry.Text))
        << "string " << entry.Id;
  }
  WCHAR text[16] = {};
  EXPECT_EQ(LoadStringW(Module, 2013, text, 16), 0);
}

TEST_F(TPixmoruiDll, IconGroup2000HasItsEightImages) {
  HANDLE group = FindResourceW(Module, Id(2000), Id(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(Module, group)));
  ASSERT_NE(dir, nullptr);
  ASSERT_EQ(dir[2] | (dir[3] << 8), 1);
  ASSERT_EQ(dir[4] | (dir[5] << 8), 8);
  ASSERT_EQ(SizeofResource(Module, group), 6u + 8 * 14);

  // Each image is the one of the .ico file the group was made from.
  ASSERT_EQ(PixmorModuleResources.IconGroupCount, 1u);
  const BYTE* ico = PixmorModuleResources.IconGroups[0].Data;
  auto dword = [](const BYTE* p) {
    return DWORD(p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24));
  };
  for (int i = 0; i < 8; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    const BYTE* file = ico + 6 + 16 * i;
    EXPECT_EQ(std::memcmp(entry, file, 12), 0) << "entry " << i;  // size, colours, planes, bits
    const WORD iconId = static_cast<WORD>(entry[12] | (entry[13] << 8));
    HANDLE image = FindResourceW(Module, Id(iconId), Id(RT_ICON));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(SizeofResource(Module, image), dword(file + 8));
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Module, image)));
    EXPECT_EQ(std::memcmp(bytes, ico + dword(file + 12), dword(file + 8)), 0) << "image " << i;
  }
}

TEST_F(TPixmoruiDll, CapabilityAnswers) {
  using PFN = DWORD(APIENTRY*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
  auto caps = Export<PFN>("DrvDeviceCapabilities");
  ASSERT_NE(caps, nullptr);
  EXPECT_EQ(caps(nullptr, nullptr, 0, nullptr, nullptr), 0xFFFFFFFFu);
  EXPECT_EQ(caps(nullptr, nullptr, 36, nullptr, nullptr), 0xFFFFFFFFu);
  EXPECT_EQ(caps(nullptr, nullptr, DC_FIELDS, nullptr, nullptr), 0x01806C0Fu);
  EXPECT_EQ(caps(nullptr, nullptr, DC_SIZE, nullptr, nullptr), 0u);
  EXPECT_EQ(caps(nullptr, nullptr, DC_DRIVER, nullptr, nullptr), 0x0401u);
  EXPECT_EQ(caps(nullptr, nullptr, DC_COLORDEVICE, nullptr, nullptr), 1u);
  std::vector<WORD> papers(90);
  EXPECT_EQ(caps(nullptr, nullptr, DC_PAPERS, papers.data(), nullptr), 90u);
  EXPECT_EQ(papers[26], 27);
  EXPECT_EQ(papers[89], 92);
  std::vector<WCHAR> names(90 * 64, 0xFFFF);
  EXPECT_EQ(caps(nullptr, nullptr, DC_PAPERNAMES, names.data(), nullptr), 90u);
  EXPECT_EQ(std::u16string(names.data() + 89 * 64), u"Japan Envelope You #4 Rotated");
  std::vector<LONG> dpi(26);
  EXPECT_EQ(caps(nullptr, nullptr, DC_ENUMRESOLUTIONS, dpi.data(), nullptr), 13u);
  EXPECT_EQ(dpi[25], 1200);

  auto event = Export<BOOL(APIENTRY*)(LPWSTR, INT, DWORD, LPARAM)>("DrvPrinterEvent");
  EXPECT_EQ(event(nullptr, 3, 0, 0), -1);
  EXPECT_EQ(event(nullptr, 5, 0, 0), 0);
  EXPECT_EQ(Export<BOOL(APIENTRY*)(PDEVQUERYPRINT_INFO)>("DevQueryPrintEx")(nullptr), -1);
}

// Without a printer every load fails and the default comes back.
TEST_F(TPixmoruiDll, DirectCallsWithoutStoredSettings) {
  auto sheets = Export<LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM)>("DrvDocumentPropertySheets");
  ASSERT_NE(sheets, nullptr);
  DOCUMENTPROPERTYHEADER header{sizeof header, 0, nullptr, nullptr, nullptr, nullptr, 0, 0};
  EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 220);
  EXPECT_EQ(header.cbOut, 220u);

  DEVMODEW out{};
  header.pdmOut = &out;
  header.fMode = DM_OUT_BUFFER;
  EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
  EXPECT_EQ(std::memcmp(&out, &pixmor::DefaultDevMode, sizeof out), 0);

  DEVMODEW in = pixmor::DefaultDevMode;
  in.dmPaperSize = 9;
  in.dmFields = DM_PAPERSIZE;
  header.pdmIn = &in;
  header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER;  // the store fails unseen
  EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
  EXPECT_EQ(out.dmPaperSize, 9);
  EXPECT_EQ(out.dmFields, 0x01806C0Fu);

  header.cbOut = 219;
  SetLastError(0);
  EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), -1);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  SetLastError(0);
  EXPECT_EQ(sheets(nullptr, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}

LONG_PTR CALLBACK AddPage(HANDLE, UINT, LPARAM, LPARAM) { return 1; }

TEST_F(TPixmoruiDll, PrinterSheetWithoutAPrinter) {
  auto device = Export<LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM)>("DrvDevicePropertySheets");
  SetLastError(0);
  EXPECT_EQ(device(nullptr, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);

  DEVICEPROPERTYHEADER header{sizeof header, 0, nullptr, nullptr};
  PROPSHEETUI_INFO info{sizeof info,
                        0x0100,
                        0,
                        PROPSHEETUI_REASON_INIT,
                        nullptr,
                        AddPage,
                        reinterpret_cast<LPARAM>(&header),
                        0,
                        0};
  ASSERT_EQ(device(&info, reinterpret_cast<LPARAM>(&header)), 1);
  ASSERT_NE(info.UserData, 0u);
  PROPSHEETUI_INFO_HEADER infoHeader{};
  info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  EXPECT_EQ(device(&info, reinterpret_cast<LPARAM>(&infoHeader)), 1);
  EXPECT_EQ(infoHeader.hInst, Module);  // the sheet's icon is found in this module
  EXPECT_EQ(infoHeader.IconID, 2000u);
  EXPECT_EQ(infoHeader.Flags, 0x12);
  info.Reason = PROPSHEETUI_REASON_SET_RESULT;
  EXPECT_EQ(device(&info, 0), 1);
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(device(&info, 0), 1);

  // A printer whose information cannot be read shows no sheet.
  EXPECT_EQ(Export<LONG(APIENTRY*)(HWND, HANDLE)>("PrinterProperties")(nullptr, nullptr), 0);
  EXPECT_EQ(Export<LONG(APIENTRY*)(HWND, HANDLE)>("DocumentProperties")(nullptr, nullptr), 0);
}

}  // namespace
