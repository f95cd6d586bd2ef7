// An XML document object as the file routines need it: parse a text and write
// it out as a document with a given version and encoding.
#pragma once

#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class XmlDocuments {
 public:
  static constexpr const char* kServiceName = "XML documents";
  virtual ~XmlDocuments() = default;
  // Parses `xml` (entities are not expanded, nothing is fetched from the network)
  // and writes the document into `bytes`: a declaration with `version` and
  // `encoding`, then the document in that encoding. False with the parser's or
  // the encoder's reason in `error` when the text is not well-formed XML or the
  // encoding is unknown.
  virtual bool Serialize(std::u16string_view xml, std::u16string_view version, std::u16string_view encoding,
                         std::string& bytes, std::u16string& error) = 0;
};

}  // namespace zelmor::platform
