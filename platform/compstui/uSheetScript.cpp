// Scripted choices: ITEM=CHOICE entries and a closing ok or cancel,
// matched against the shown texts case-insensitively.
#include <cctype>
#include <cstdlib>

#include "uSheetModel.h"

namespace sheet {

namespace {

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Trim(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

// A positive number written in full, else 0.
std::size_t NumberOf(const std::string& text) {
  if (text.empty() || text.size() > 6) return 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  }
  return static_cast<std::size_t>(std::strtoul(text.c_str(), nullptr, 10));
}

bool HasWord(const std::string& name, const std::string& key) {
  const std::string lower = Lower(name);
  if (lower == key) return true;
  std::string word;
  for (std::size_t i = 0; i <= lower.size(); ++i) {
    if (i < lower.size() && std::isalnum(static_cast<unsigned char>(lower[i]))) {
      word.push_back(lower[i]);
      continue;
    }
    if (word == key) return true;
    word.clear();
  }
  return false;
}

// The item an entry names, or -1 when none or more than one matches.
long ItemOf(const std::string& key, const std::vector<TShownItem>& items) {
  if (const std::size_t n = NumberOf(key); n > 0) {
    return n <= items.size() ? static_cast<long>(n - 1) : -1;
  }
  const std::string lower = Lower(key);
  long found = -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!HasWord(items[i].Name, lower)) continue;
    if (found >= 0) return -1;
    found = static_cast<long>(i);
  }
  return found;
}

// The choice an entry names: "#N", the whole text, or a prefix of one text.
long ChoiceOf(const std::string& value, const TShownItem& item) {
  const auto count = item.Choices.size();
  if (value.size() > 1 && value[0] == '#') {
    const std::size_t n = NumberOf(value.substr(1));
    return n > 0 && n <= count ? static_cast<long>(n - 1) : -1;
  }
  const std::string lower = Lower(value);
  for (std::size_t i = 0; i < count; ++i) {
    if (Lower(item.Choices[i]) == lower) return static_cast<long>(i);
  }
  long found = -1;
  for (std::size_t i = 0; i < count; ++i) {
    if (Lower(item.Choices[i]).rfind(lower, 0) != 0) continue;
    if (found >= 0) return -1;
    found = static_cast<long>(i);
  }
  return found;
}

}  // namespace

TScriptResult ParseScript(const std::string& script, const std::vector<TShownItem>& items) {
  TScriptResult result;
  std::size_t start = 0;
  bool ended = false;
  while (start <= script.size()) {
    std::size_t comma = script.find(',', start);
    if (comma == std::string::npos) comma = script.size();
    const std::string entry = Trim(script.substr(start, comma - start));
    start = comma + 1;
    if (entry.empty()) continue;
    if (ended) {
      result.Error = "nothing may follow ok or cancel: '" + entry + "'";
      return result;
    }
    const std::string lower = Lower(entry);
    if (lower == "ok" || lower == "cancel") {
      result.End = lower == "ok" ? TScriptEnd::Ok : TScriptEnd::Cancel;
      ended = true;
      continue;
    }
    const std::size_t equals = entry.find('=');
    if (equals == std::string::npos) {
      result.Error = "not ITEM=CHOICE: '" + entry + "'";
      return result;
    }
    const std::string key = Trim(entry.substr(0, equals));
    const std::string value = Trim(entry.substr(equals + 1));
    const long item = ItemOf(key, items);
    if (item < 0) {
      result.Error = "no single item is '" + key + "'";
      return result;
    }
    const long choice = ChoiceOf(value, items[static_cast<std::size_t>(item)]);
    if (choice < 0) {
      result.Error = "no single choice of '" + items[static_cast<std::size_t>(item)].Name +
                     "' is '" + value + "'";
      return result;
    }
    result.Choices.push_back({static_cast<std::size_t>(item), static_cast<LONG>(choice)});
  }
  result.Valid = true;
  return result;
}

}  // namespace sheet
