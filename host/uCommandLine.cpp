#include "uCommandLine.h"

namespace host {

std::optional<std::string> TCommandLine::Value(const std::string& name) const {
  auto it = Values.find(name);
  if (it == Values.end()) return std::nullopt;
  return it->second;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args,
                              const std::vector<TOptionSpec>& specs, const std::string& command) {
  const std::string help = " (see 'pixmor " + command + " --help')";
  TCommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      line.Arguments.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    const TOptionSpec* option = nullptr;
    for (const TOptionSpec& candidate : specs) {
      if (candidate.Name == name || (!candidate.Short.empty() && candidate.Short == name)) {
        option = &candidate;
      }
    }
    if (option == nullptr) throw TUsageError("unknown option '" + name + "'" + help);
    if (!option->TakesValue) {
      if (inlineValue) throw TUsageError("option '" + option->Name + "' takes no value" + help);
      line.Values[option->Name] = "";
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size())
        throw TUsageError("option '" + option->Name + "' needs a value" + help);
      inlineValue = args[++i];
    }
    line.Values[option->Name] = *inlineValue;
  }
  return line;
}

}  // namespace host
