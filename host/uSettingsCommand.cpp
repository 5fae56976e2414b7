// pixmor settings: the printer property sheet, which changes the printer's
// stored default settings for this user.
#include <bit>
#include <cctype>
#include <cstdio>

#include "uCapabilities.h"
#include "uCommands.h"
#include "uPixmorDefs.h"
#include "uSheetService.h"
#include "uSpool.h"

namespace host {

namespace {

constexpr const char* kHelp = R"(Usage: pixmor settings [--printer NAME] [--set LIST] [--spool DIR]

Opens the printer's property sheet, where you choose the paper, the
resolution, colour or grey, and the orientation that your print jobs start
from. On a terminal the sheet asks; with --set it applies the choices given:

  --set paper=A4,dpi=300,colour=grey,orientation=landscape

  paper=NAME|NUMBER   a paper as 'pixmor caps' lists it
  dpi=N               a resolution the printer offers
  colour=grey|colour
  orientation=portrait|landscape

Afterwards the stored settings are shown.

Options:
  --printer NAME   the printer (default: Pixmor)
  --set LIST       choices to apply without asking
  --spool DIR      the spool folder (default: $XDG_DATA_HOME/pixmor)
  -h, --help       show this help
)";

using PFN_PrinterProperties = LONG(APIENTRY*)(HWND, HANDLE);

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Checks the choices against the driver's answers and writes them as the
// sheet's own texts.
std::string SheetScript(const std::string& list, const TCapabilities& caps) {
  std::string script;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = list.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    const std::size_t eq = entry.find('=');
    if (eq == std::string::npos) throw TUsageError("--set entry '" + entry + "' is not NAME=VALUE");
    const std::string key = Lower(entry.substr(0, eq));
    const std::string value = entry.substr(eq + 1);
    const std::string lowered = Lower(value);
    std::string choice;
    if (key == "paper") {
      choice = "paper=" + Narrow(FindPaper(caps, value).Name);
    } else if (key == "dpi" || key == "resolution") {
      choice = "dpi=" + std::to_string(FindResolution(caps, value)) + "dpi";
    } else if (key == "colour" || key == "color") {
      if (lowered == "grey" || lowered == "gray" || lowered == "greyscale" || lowered == "mono") {
        choice = "colour=Greyscale";
      } else if (lowered == "colour" || lowered == "color") {
        choice = "colour=Colour";
      } else {
        throw TUsageError("colour is grey or colour, not '" + value + "'");
      }
    } else if (key == "orientation") {
      if (lowered != "portrait" && lowered != "landscape") {
        throw TUsageError("orientation is portrait or landscape, not '" + value + "'");
      }
      choice = "orientation=" + lowered;
    } else {
      throw TUsageError("unknown setting '" + key + "' (paper, dpi, colour, orientation)");
    }
    script += (script.empty() ? "" : ",") + choice;
  }
  return script + (script.empty() ? "ok" : ",ok");
}

void ShowSettings(const TPrinter& printer, const TCapabilities& caps) {
  std::u16string name = printer.Name;
  DEVMODEW dm = pixmor::DefaultDevMode;
  if (DocumentPropertiesW(nullptr, printer.Handle, name.data(), &dm, nullptr, DM_OUT_BUFFER) < 0) {
    throw TCommandError("cannot read the stored settings");
  }
  std::string paper = "paper " + std::to_string(dm.dmPaperSize);
  for (const TPaper& candidate : caps.Papers) {
    if (candidate.Id == static_cast<WORD>(dm.dmPaperSize)) paper = Narrow(candidate.Name);
  }
  std::printf("Settings of \"%s\": paper %s, %d dpi, %s, %s\n", Narrow(printer.Name).c_str(),
              paper.c_str(), dm.dmPrintQuality,
              dm.dmColor == DMCOLOR_MONOCHROME ? "grey" : "colour",
              dm.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait");
}

}  // namespace

int RunSettings(const TArgs& args) {
  const TCommandLine line = ParseCommandLine(args,
                                             {{"--printer", "", true},
                                              {"--set", "", true},
                                              {"--spool", "", true},
                                              {"--help", "-h", false}},
                                             "settings");
  if (line.Has("--help")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (!line.Arguments.empty())
    throw TUsageError("settings takes no arguments (see 'pixmor settings --help')");
  UseSpoolFolder(line);
  const std::u16string name = ChoosePrinter(line, true);
  TPrinter printer;
  OpenPrinter(name, printer);
  const TCapabilities caps = QueryCapabilities(name);
  if (auto list = line.Value("--set")) PlatformSetSheetScript(SheetScript(*list, caps).c_str());

  HMODULE config = LoadLibraryW(u"pixmorui.dll");
  if (config == nullptr) throw TCommandError("cannot load the configuration driver pixmorui");
  auto properties =
      std::bit_cast<PFN_PrinterProperties>(GetProcAddress(config, "PrinterProperties"));
  const LONG shown = properties != nullptr ? properties(nullptr, printer.Handle) : 0;
  FreeLibrary(config);
  PlatformSetSheetScript(nullptr);
  if (shown == 0) throw TCommandError("the printer's property sheet could not be shown");
  ShowSettings(printer, caps);
  return 0;
}

}  // namespace host
