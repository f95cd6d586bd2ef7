#include "platform/registry_store.h"

#include "core/text.h"

namespace zelmor::platform {
namespace {

constexpr std::pair<RegType, const char*> kTypeNames[] = {
    {RegType::String, "REG_SZ"},   {RegType::ExpandString, "REG_EXPAND_SZ"}, {RegType::Binary, "REG_BINARY"},
    {RegType::DWord, "REG_DWORD"}, {RegType::MultiString, "REG_MULTI_SZ"},   {RegType::QWord, "REG_QWORD"},
};

}  // namespace

const char* RegTypeName(RegType t) {
  for (const auto& [type, name] : kTypeNames)
    if (type == t) return name;
  return "REG_UNKNOWN";
}

std::optional<RegType> RegTypeFromName(std::string_view name) {
  for (const auto& [type, n] : kTypeNames)
    if (SameText(Utf8ToU16(n), Utf8ToU16(name))) return type;
  return std::nullopt;
}

RegValue RegValue::OfString(std::u16string_view s, RegType t) {
  RegValue v;
  v.Type = t;
  v.Text = s;
  return v;
}
RegValue RegValue::OfDWord(std::uint32_t n) {
  RegValue v;
  v.Type = RegType::DWord;
  v.Number = n;
  return v;
}
RegValue RegValue::OfQWord(std::uint64_t n) {
  RegValue v;
  v.Type = RegType::QWord;
  v.Number = n;
  return v;
}
RegValue RegValue::OfBinary(std::string_view bytes) {
  RegValue v;
  v.Type = RegType::Binary;
  v.Bytes = bytes;
  return v;
}
RegValue RegValue::OfMulti(std::vector<std::u16string> items) {
  RegValue v;
  v.Type = RegType::MultiString;
  v.Strings = std::move(items);
  return v;
}

}  // namespace zelmor::platform
