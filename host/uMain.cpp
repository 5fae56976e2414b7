// pixmor: prints documents through the printer's two drivers on the
// substitute platform, splits jobs into pages and edits printer settings.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "uCommandLine.h"
#include "uCommands.h"

namespace {

constexpr const char* kHelp = R"(Usage: pixmor COMMAND [OPTIONS] [ARGUMENTS]

Pixmor is a virtual printer: every printed page becomes an image file.

Commands:
  print FILE...         print PDF, PNG, JPEG or text files, or --test-page
  split JOB             write each page of a print job as its own BMP or PNG
  printer add|list|remove
                        manage the printers in the spool folder
  settings              show or change a printer's stored default settings
  caps                  list the papers, resolutions and fields the driver offers

'pixmor COMMAND --help' tells more about each command.
The spool folder is $XDG_DATA_HOME/pixmor (or ~/.local/share/pixmor) unless
--spool DIR is given; the first print creates the printer "Pixmor".
)";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kHelp, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  const host::TArgs args(argv + 2, argv + argc);
  try {
    if (command == "print") return host::RunPrint(args);
    if (command == "split") return host::RunSplit(args);
    if (command == "printer") return host::RunPrinter(args);
    if (command == "settings") return host::RunSettings(args);
    if (command == "caps") return host::RunCaps(args);
    std::fprintf(stderr, "pixmor: unknown command '%s' (see 'pixmor --help')\n", command.c_str());
    return 2;
  } catch (const host::TUsageError& error) {
    std::fprintf(stderr, "pixmor %s: %s\n", command.c_str(), error.what());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pixmor %s: %s\n", command.c_str(), error.what());
    return 1;
  }
}
