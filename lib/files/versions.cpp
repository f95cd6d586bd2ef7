// Version texts: read from program files, picked apart and compared field by field.
#include <optional>

#include "core/errors.h"
#include "core/text_kit.h"
#include "files/files.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "strings/mString.h"
#include "system/file_version.h"

namespace zelmor {
namespace {

// Each field right-aligned in five characters with "0"s, only its last five kept.
std::u16string ComparisonText(std::u16string_view version) {
  std::u16string out;
  for (const std::u16string& field : TmStr::Split(version, u'.')) {
    out += TmStr::PadRight(field, 5, u'0', true);
  }
  return out;
}

}  // namespace

std::u16string TmFile::GetVersaoArquivo(std::u16string_view asArquivo) {
  platform::FileSystem& files = platform::Service<platform::FileSystem>::Get();
  const std::u16string path(asArquivo);
  try {
    std::optional<std::u16string> version = FileVersionText(
        [&](std::uint64_t offset, std::size_t count, std::string& bytes) {
          return files.ReadRange(path, offset, count, bytes) && bytes.size() == count;
        },
        BlankFileVersion::TakeProductVersion);
    return version.value_or(u"");
  } catch (const std::exception&) {
    return u"0.0";
  }
}

std::u16string TmFile::GetTagVersaoScript(std::u16string_view asExePath, std::int32_t aiPosition) {
  return TmStr::Separa(GetVersaoArquivo(asExePath), u'.', aiPosition);
}

std::u16string TmFile::GetTagVersaoApp(std::u16string_view asExePath, const TzelArrayInteger& aiPositions) {
  const std::u16string version = GetVersaoArquivo(asExePath);
  std::u16string out;
  for (std::int32_t position : aiPositions) TmStr::Concatena(out, TmStr::Separa(version, u'.', position), u".");
  return out;
}

bool TmFile::VersaoMaior(std::u16string_view asAtual, std::u16string_view asMaior, geTiposComparacao aeTpComparacao) {
  const int order = ComparisonText(asMaior).compare(ComparisonText(asAtual));
  switch (aeTpComparacao) {
    case geTiposComparacao::tcIgual: return order == 0;
    case geTiposComparacao::tcDiferente: return order != 0;
    case geTiposComparacao::tcMaior: return order > 0;
    case geTiposComparacao::tcMaiorIgual: return order >= 0;
    case geTiposComparacao::tcMenor: return order < 0;
    case geTiposComparacao::tcMenorIgual: return order <= 0;
  }
  return false;
}

bool TmFile::NovaVersao(std::u16string_view asAtual, std::u16string_view asNova) {
  return textkit::Trim(asAtual).empty() || VersaoMaior(asAtual, asNova, geTiposComparacao::tcMaior);
}

}  // namespace zelmor
