// The host's subcommands; each takes its own arguments (after the
// subcommand's name) and returns the process exit status.
#pragma once

#include <string>
#include <vector>

#include "uJobFile.h"

namespace host {

using TArgs = std::vector<std::string>;

int RunPrint(const TArgs& args);
int RunSplit(const TArgs& args);
int RunPrinter(const TArgs& args);
int RunSettings(const TArgs& args);
int RunCaps(const TArgs& args);

// Splits a job file into one file per page in folder; prints each page
// written unless quiet. Throws TCommandError for a bad job, after writing
// the pages before the bad one.
std::vector<std::string> SplitJob(const std::string& jobPath, const std::string& folder,
                                  EPageFormat format, bool quiet);

}  // namespace host
