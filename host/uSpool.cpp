#include "uUtf.h"
#include "uSpool.h"

#include "uFiles.h"

namespace host {

std::u16string Widen(const std::string& text) { return utf::ToUtf16(text); }

std::string Narrow(const std::u16string& text) { return utf::ToUtf8(text); }

void UseSpoolFolder(const TCommandLine& line) {
  if (auto folder = line.Value("--spool")) {
    MakeFolder(*folder);
    PlatformSetSpoolFolder(folder->c_str());
  }
}

std::vector<std::u16string> ListPrinters() {
  const DWORD units = PlatformListPrinters(nullptr, 0);
  std::u16string all(units, u'\0');
  PlatformListPrinters(all.data(), units);
  std::vector<std::u16string> names;
  for (std::size_t start = 0; start < all.size() && all[start] != 0;) {
    const std::size_t end = all.find(u'\0', start);
    names.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::u16string ChoosePrinter(const TCommandLine& line, bool createDefault) {
  if (auto name = line.Value("--printer")) {
    if (name->empty()) throw TUsageError("--printer needs a name");
    return Widen(*name);
  }
  if (createDefault && ListPrinters().empty() &&
      !PlatformAddPrinter(kDefaultPrinter.c_str(), u"pixmor.dll", u"pixmorui.dll")) {
    throw TCommandError(std::string("cannot create the printer \"Pixmor\" in ") +
                        PlatformSpoolFolder());
  }
  return kDefaultPrinter;
}

TPrinter::~TPrinter() {
  if (Handle != nullptr) ClosePrinter(Handle);
}

void OpenPrinter(const std::u16string& name, TPrinter& printer) {
  std::u16string writable = name;
  if (!OpenPrinterW(writable.data(), &printer.Handle, nullptr)) {
    std::string known;
    for (const std::u16string& other : ListPrinters()) {
      known += (known.empty() ? "" : ", ") + ("\"" + Narrow(other) + "\"");
    }
    throw TCommandError("no printer \"" + Narrow(name) + "\" in " + PlatformSpoolFolder() +
                        (known.empty() ? " (there are none; 'pixmor printer add NAME' makes one)"
                                       : " (printers: " + known + ")"));
  }
  printer.Name = name;
}

}  // namespace host
