// Any bytes as the settings store's file. Besides crashes and sanitizer reports it
// traps when a file that reads is not written back to a file that reads as the same
// tree, or when writing that tree twice gives two different files.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "adapters/linux/registry_format.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

namespace {

using zelmor::adapters::regfile::Key;

bool SameTree(const Key& a, const Key& b) {
  if (a.Name != b.Name || a.Values != b.Values || a.SubKeys.size() != b.SubKeys.size()) return false;
  for (std::size_t i = 0; i < a.SubKeys.size(); ++i)
    if (!SameTree(a.SubKeys[i], b.SubKeys[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace regfile = zelmor::adapters::regfile;
  Key tree;
  try {
    tree = regfile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const regfile::FormatError& e) {
    FuzzCheck(e.Line >= 1);
    return 0;
  }
  const std::string written = regfile::Serialize(tree);
  Key again;
  try {
    again = regfile::Parse(written);
  } catch (const regfile::FormatError&) {
    FuzzCheck(false);  // the program could not read back its own file
  }
  FuzzCheck(SameTree(tree, again));
  FuzzCheck(regfile::Serialize(again) == written);
  // Every value shows on one line, whatever its text holds.
  for (const auto& [name, value] : tree.Values) {
    FuzzCheck(regfile::Escaped(name).find('\n') == std::string::npos);
    FuzzCheck(regfile::FormatData(value).find('\n') == std::string::npos);
  }
  return 0;
}
