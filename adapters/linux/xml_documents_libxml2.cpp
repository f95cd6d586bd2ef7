// The XML document object on Linux: libxml2.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <mutex>

#include "adapters/linux/outside_modules.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

std::u16string FromXml(const char* s) { return Utf8ToU16(s ? s : ""); }

class LibXml2Documents final : public platform::XmlDocuments {
 public:
  bool Serialize(std::u16string_view xml, std::u16string_view version, std::u16string_view encoding, std::string& bytes,
                 std::u16string& error) override {
    static std::once_flag init;
    std::call_once(init, [] { xmlInitParser(); });
    bytes.clear();
    const std::string text = U16ToUtf8(xml);
    const std::string enc = U16ToUtf8(encoding);
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(enc.c_str());
    if (!handler) {
      error = u"Codificação desconhecida: \"" + std::u16string(encoding) + u"\"";
      return false;
    }
    xmlCharEncCloseFunc(handler);

    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) {
      error = u"Sem memória para o documento XML";
      return false;
    }
    // The text is already decoded: its own declaration must not choose the bytes' encoding.
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
      const xmlError* e = xmlCtxtGetLastError(ctxt);
      error = e ? u"XML inválido (linha " + IntToStr(e->line) + u"): " + FromXml(e->message) : u"XML inválido";
      while (!error.empty() && (error.back() == u'\n' || error.back() == u' ')) error.pop_back();
      xmlFreeParserCtxt(ctxt);
      return false;
    }
    xmlFreeParserCtxt(ctxt);
    const std::string ver = U16ToUtf8(version);
    if (doc->version) xmlFree(const_cast<xmlChar*>(doc->version));
    doc->version = xmlStrdup(reinterpret_cast<const xmlChar*>(ver.c_str()));
    xmlChar* out = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &out, &size, enc.c_str(), 0);
    xmlFreeDoc(doc);
    if (!out) {
      error = u"Não foi possível gravar o XML em " + std::u16string(encoding);
      return false;
    }
    bytes.assign(reinterpret_cast<const char*>(out), static_cast<std::size_t>(size));
    xmlFree(out);
    return true;
  }
};

}  // namespace

platform::XmlDocuments& SystemXmlDocuments() {
  static LibXml2Documents docs;
  return docs;
}

}  // namespace zelmor::adapters

// The xml module's entry (outside_modules.h).
void zelmor_install_xml_services() {
  zelmor::platform::Service<zelmor::platform::XmlDocuments>::Set(&zelmor::adapters::SystemXmlDocuments());
}
