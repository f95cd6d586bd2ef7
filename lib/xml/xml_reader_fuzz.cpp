// Feeds arbitrary documents and names to the XML reader. Besides crashes and
// sanitizer reports it traps on broken invariants: a found value that is not a
// piece of the document, a position that does not move forward, a walk over every
// occurrence that finds more elements than the document has end tags, a reading on
// the held text (through its tag index) that differs from the same on the given text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cp1252.h"
#include "testing/fuzz_check.h"
#include "xml/mXML.h"

using zelmor::testing::FuzzCheck;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zelmor::TmXMLLeitura;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first line is the element name (and the attribute after a space), the rest the document.
  const std::size_t cut = bytes.find('\n');
  const std::u16string head = zelmor::cp1252::Decode(bytes.substr(0, cut == std::string::npos ? 0 : cut));
  const std::u16string xml = zelmor::cp1252::Decode(cut == std::string::npos ? bytes : bytes.substr(cut + 1));
  const std::size_t space = head.find(u' ');
  const std::u16string key = head.substr(0, space);
  const std::u16string attr = space == std::u16string::npos ? u"id" : head.substr(space + 1);

  for (bool keep : {false, true}) {
    int p = 1;
    std::u16string r;
    std::size_t found = 0;
    while (TmXMLLeitura::Elemento(xml, key, p, r, keep)) {
      FuzzCheck(xml.find(r) != std::u16string::npos);
      FuzzCheck(p > 1 && static_cast<std::size_t>(p) <= xml.size() + 1);
      FuzzCheck(++found <= xml.size());
    }
    zelmor::TzelArrayString all;
    TmXMLLeitura::Elemento(xml, key, all, keep);
    FuzzCheck(all.size() <= xml.size());
    TmXMLLeitura::Elemento(xml, zelmor::TzelArrayString{key, key}, r, keep);
  }
  TmXMLLeitura doc;
  doc.SetXML(xml);
  for (bool keep : {false, true}) {
    std::u16string held, given;
    FuzzCheck(doc.Elemento(key, held, keep) == TmXMLLeitura::Elemento(xml, key, given, keep) && held == given);
    zelmor::TzelArrayString heldAll, givenAll;
    doc.Elemento(key, heldAll, keep);
    TmXMLLeitura::Elemento(xml, key, givenAll, keep);
    FuzzCheck(heldAll == givenAll);
    const zelmor::TzelArrayString path{key, key};
    FuzzCheck(doc.Elemento(path, held, keep) == TmXMLLeitura::Elemento(xml, path, given, keep) && held == given);
  }
  std::u16string heldValue, givenValue;
  FuzzCheck(doc.Atributo(key, attr, heldValue) == TmXMLLeitura::Atributo(xml, key, attr, givenValue) &&
            heldValue == givenValue);
  std::u16string value;
  if (TmXMLLeitura::Atributo(xml, key, attr, value)) FuzzCheck(xml.find(value) != std::u16string::npos);
  TmXMLLeitura::ElementoDt(xml, {key}, 0);
  TmXMLLeitura::ElementoFloat(xml, {key}, 0);
  TmXMLLeitura::ElementoCurr(xml, {key}, {});
  TmXMLLeitura::ElementoInt(xml, {key}, 0);
  FuzzCheck(TmXMLLeitura::pfTagValida(xml).size() <= xml.size());
  return 0;
}
