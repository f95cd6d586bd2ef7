// TmReg: single values of the current user's settings hive.
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "config/mIniReg.h"
#include "core/errors.h"
#include "platform/registry_store.h"
#include "regional/regional_copies.h"

namespace zelmor {
namespace {

using platform::RegType;
using platform::RegValue;

// The registry's limit on value names.
constexpr std::size_t kMaxValueName = 16383;

[[noreturn]] void InvalidType(std::u16string_view name) {
  throw ERegistryError(u"Invalid data type for '" + std::u16string(name) + u"'");
}

// Opening a key creates it, also for reading; whether that worked is not checked
// (a read then simply finds no value).
void OpenCreating(platform::RegistryStore& store, std::u16string_view path) {
  if (store.KeyExists(path)) return;
  try {
    store.CreateKey(path);
  } catch (const ERegistryError&) {
  }
}

// The value, or nothing (the key is created when missing).
std::optional<RegValue> Read(std::u16string_view path, std::u16string_view name) {
  platform::RegistryStore& store = platform::Service<platform::RegistryStore>::Get();
  std::optional<RegValue> v = store.ReadValue(path, name);
  if (!v) OpenCreating(store, path);
  return v;
}

void Write(std::u16string_view path, std::u16string_view name, const RegValue& value) {
  if (name.size() > kMaxValueName) throw ERegistryError(u"Failed to set data for '" + std::u16string(name) + u"'");
  platform::Service<platform::RegistryStore>::Get().WriteValue(path, name, value);
}

std::string DoubleBytes(double d) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(d);
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

double BytesDouble(const std::string& bytes) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  return std::bit_cast<double>(bits);
}

}  // namespace

std::u16string TmReg::Ler(std::u16string_view Path, std::u16string_view Variavel, std::u16string_view ValorDefault) {
  std::optional<RegValue> v = Read(Path, Variavel);
  if (!v) return std::u16string(ValorDefault);
  if (v->Type != RegType::String && v->Type != RegType::ExpandString) InvalidType(Variavel);
  return v->Text;
}

std::u16string TmReg::Ler(std::u16string_view Path, std::u16string_view Variavel, const char16_t* ValorDefault) {
  return Ler(Path, Variavel, std::u16string_view(ValorDefault ? ValorDefault : u""));
}

int TmReg::Ler(std::u16string_view Path, std::u16string_view Variavel, int ValorDefault) {
  std::optional<RegValue> v = Read(Path, Variavel);
  if (!v) return ValorDefault;
  if (v->Type != RegType::DWord) InvalidType(Variavel);
  return static_cast<int>(static_cast<std::uint32_t>(v->Number));
}

double TmReg::Ler(std::u16string_view Path, std::u16string_view Variavel, double ValorDefault) {
  std::optional<RegValue> v = Read(Path, Variavel);
  if (!v) return ValorDefault;
  if (v->Type != RegType::Binary || v->Bytes.size() != 8) InvalidType(Variavel);
  return BytesDouble(v->Bytes);
}

bool TmReg::Ler(std::u16string_view Path, std::u16string_view Variavel, bool ValorDefault) {
  std::optional<RegValue> v = Read(Path, Variavel);
  if (!v) return ValorDefault;
  if (v->Type != RegType::DWord) InvalidType(Variavel);
  return static_cast<std::uint32_t>(v->Number) != 0;
}

void TmReg::Gravar(std::u16string_view Path, std::u16string_view Variavel, std::u16string_view Valor) {
  Write(Path, Variavel, RegValue::OfString(Valor));
}

void TmReg::Gravar(std::u16string_view Path, std::u16string_view Variavel, const char16_t* Valor) {
  Gravar(Path, Variavel, std::u16string_view(Valor ? Valor : u""));
}

void TmReg::Gravar(std::u16string_view Path, std::u16string_view Variavel, int Valor) {
  Write(Path, Variavel, RegValue::OfDWord(static_cast<std::uint32_t>(Valor)));
}

void TmReg::Gravar(std::u16string_view Path, std::u16string_view Variavel, double Valor) {
  Write(Path, Variavel, RegValue::OfBinary(DoubleBytes(Valor)));
}

void TmReg::Gravar(std::u16string_view Path, std::u16string_view Variavel, bool Valor) {
  Write(Path, Variavel, RegValue::OfDWord(Valor ? 1 : 0));
}

void TmReg::Excluir(std::u16string_view Path, std::u16string_view Variavel) {
  platform::RegistryStore& store = platform::Service<platform::RegistryStore>::Get();
  OpenCreating(store, Path);
  store.DeleteValue(Path, Variavel);
}

void TmReg::SetPadraoBrasil() {
  static constexpr std::u16string_view kKey = u"\\Control Panel\\International";
  platform::RegistryStore& store = platform::Service<platform::RegistryStore>::Get();
  if (!store.KeyExists(kKey)) return;  // opened without creating: nothing changes
  static constexpr std::pair<std::u16string_view, std::u16string_view> kValues[] = {
      {u"sShortDate", u"dd/MM/yyyy"}, {u"sDecimal", u","},           {u"sThousand", u"."}, {u"sMonDecimalSep", u","},
      {u"sMonThousandSep", u"."},     {u"sTimeFormat", u"HH:mm:ss"}, {u"sTime", u":"},
  };
  // One change: the store is rewritten (and synced) once, and all or none of them land.
  std::vector<std::pair<std::u16string, RegValue>> values;
  for (const auto& [name, text] : kValues) values.emplace_back(std::u16string(name), RegValue::OfString(text));
  store.WriteValues(kKey, values);
  SetBrazilianRegionalCopies();
}

}  // namespace zelmor
