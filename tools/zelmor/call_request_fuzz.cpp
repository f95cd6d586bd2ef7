// Any bytes as one request line of `zelmor call --batch`, answered by the real
// reader, registry and JSON conversions. The routines it can reach are probes
// registered here (the library's own routines write files, start programs and end
// processes): one takes every kind of parameter in and gives it back out, one echoes
// each kind through overloads, one takes a size.
//
// Besides crashes and sanitizer reports it traps when:
//   - reading a line raises anything but running out of memory;
//   - an answer is not an object with either "result" or "error" and "kind", or an
//     error is "internal" (a conversion that failed in a way nobody meant);
//   - an answer's JSON text does not read (a value's answer: as the same answer), or
//     differs from the text written as it is made;
//   - the values a probe gives back, sent again, do not come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

#include "testing/fuzz_check.h"
#include "tools/zelmor/call_request.h"
#include "tools/zelmor/registry.h"

using zelmor::testing::FuzzCheck;

namespace {

using namespace zelmor;
using zelmor::cli::Json;

constexpr const char* kAllNames[] = {"Texto",     "Caracter", "Inteiro",    "Inteiro64",  "Real",     "Moeda",
                                     "Logico",    "Data",     "Lista",      "Textos",     "Inteiros", "Variante",
                                     "Variantes", "Curto",    "SemSinal16", "SemSinal32", "Periodos", "Tipo"};

void RegisterProbes() {
  using cli::Register;
  Register(
      "Probe.All",
      +[](std::u16string&, char16_t&, int&, std::int64_t&, double&, Currency&, bool&, TDateTime&, TStringList&,
          TzelArrayString&, TzelArrayInteger&, Variant&, TzelArrayVariant&, std::int16_t&, std::uint16_t&,
          std::uint32_t&, TAPeriodo&, TTipoImpressao&) {},
      std::vector<std::string>(std::begin(kAllNames), std::end(kAllNames)));
  Register("Probe.Echo", +[](bool v) { return v; }, {"Valor"});
  Register("Probe.Echo", +[](int v) { return v; }, {"Valor"});
  Register("Probe.Echo", +[](double v) { return v; }, {"Valor"});
  Register("Probe.Echo", +[](std::u16string_view v) { return std::u16string(v); }, {"Valor"});
  Register("Probe.Echo", +[](TzelArrayVariant v) { return v; }, {"Valor"});
  Register("Probe.Echo", +[](TAPeriodo v) { return v; }, {"Valor"});
  Register("Probe.Sized",
           +[](int Tamanho, std::u16string_view Texto) { return Tamanho + static_cast<int>(Texto.size()); },
           {"Tamanho", "Texto"}, {""});
}

// The answer is an object of one of the two shapes.
void CheckShape(const Json& answer) {
  FuzzCheck(answer.is_object());
  if (answer.contains("error")) {
    FuzzCheck(answer["error"].is_string() && answer.contains("kind"));
    FuzzCheck(answer["kind"] != "internal");
  } else {
    FuzzCheck(answer.contains("result"));
  }
  // Texts quoted from a line that is not UTF-8 show as U+FFFD, so only answers of
  // values must read back exactly.
  const std::string text = cli::Dump(answer);
  const Json back = Json::parse(text);
  if (!answer.contains("error")) FuzzCheck(back == answer);
  // What a single call prints, written as it is made, is the same text byte for byte.
  char* written = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&written, &size);
  FuzzCheck(out != nullptr);
  cli::WriteJson(answer, out);
  std::fclose(out);
  FuzzCheck(std::string(written, size) == text);
  std::free(written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (RegisterProbes(), true);
  (void)registered;
  const std::string line(reinterpret_cast<const char*>(data), size);
  Json answer;
  try {
    answer = cli::AnswerRequest(line);
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  CheckShape(answer);
  if (answer.contains("error")) return 0;

  // Sent again, what came back comes back unchanged.
  const Json request = Json::parse(line);
  const std::string name = request[0].get<std::string>();
  Json again = Json::array({name});
  if (name == "Probe.All") {
    for (const char* n : kAllNames) again.push_back(answer[n]);
  } else if (name == "Probe.Echo") {
    again.push_back(answer["result"]);
  } else {
    return 0;
  }
  const Json second = cli::AnswerRequest(again.dump());
  CheckShape(second);
  FuzzCheck(second == answer);
  return 0;
}
