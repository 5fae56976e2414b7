// pixmor caps: what the configuration driver answers.
#include <cstdio>

#include "uCapabilities.h"
#include "uCommands.h"
#include "uPrintOem.h"
#include "uSpool.h"

namespace host {

namespace {

constexpr const char* kHelp = R"(Usage: pixmor caps [--printer NAME] [--spool DIR]

Lists what the printer's configuration driver answers to an application's
capability queries: the papers with their numbers and sizes in millimetres,
the resolutions, and the device-mode fields it keeps.

Options:
  --printer NAME   the printer (default: Pixmor)
  --spool DIR      the spool folder (default: $XDG_DATA_HOME/pixmor)
  -h, --help       show this help
)";

struct TFieldName {
  DWORD Bit;
  const char* Name;
};
constexpr TFieldName kFields[] = {
    {DM_ORIENTATION, "orientation"},    {DM_PAPERSIZE, "paper size"},
    {DM_PAPERLENGTH, "paper length"},   {DM_PAPERWIDTH, "paper width"},
    {DM_PRINTQUALITY, "print quality"}, {DM_COLOR, "colour"},
    {DM_YRESOLUTION, "y resolution"},   {DM_TTOPTION, "TrueType option"},
    {DM_FORMNAME, "form name"},         {DM_ICMMETHOD, "ICM method"},
    {DM_ICMINTENT, "ICM intent"}};

}  // namespace

int RunCaps(const TArgs& args) {
  const TCommandLine line = ParseCommandLine(
      args, {{"--printer", "", true}, {"--spool", "", true}, {"--help", "-h", false}}, "caps");
  if (line.Has("--help")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (!line.Arguments.empty())
    throw TUsageError("caps takes no arguments (see 'pixmor caps --help')");
  UseSpoolFolder(line);
  const std::u16string printer = ChoosePrinter(line, true);
  const TCapabilities caps = QueryCapabilities(printer);
  std::printf("Printer \"%s\"\n\nPapers (%zu):\n", Narrow(printer).c_str(), caps.Papers.size());
  for (const TPaper& paper : caps.Papers) {
    std::printf("  %3u  %-32s %6.1f x %6.1f mm\n", paper.Id, Narrow(paper.Name).c_str(),
                paper.WidthTenthMm / 10.0, paper.HeightTenthMm / 10.0);
  }
  std::printf("\nResolutions (dpi):");
  for (LONG dpi : caps.Resolutions) std::printf(" %ld", static_cast<long>(dpi));
  std::printf("\n\nFields (0x%08X):", caps.Fields);
  for (const TFieldName& field : kFields) {
    if ((caps.Fields & field.Bit) != 0) std::printf(" %s;", field.Name);
  }
  std::printf("\n");
  return 0;
}

}  // namespace host
