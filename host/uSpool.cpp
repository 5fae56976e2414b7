#include "uSpool.h"

#include "uFiles.h"

namespace host {

std::u16string Widen(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::uint32_t c = b;
    std::size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra != 0) c = b & (0x3F >> extra);
    ++i;
    for (; extra > 0 && i < text.size(); --extra, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

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
