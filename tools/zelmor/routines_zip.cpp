// Zip archives: TZip's class-level operations. Callbacks do not cross the command
// line; the names unpacked come back in the list parameters.
#include "tools/zelmor/registry.h"
#include "zip/ZipUnit.h"

namespace zelmor::cli {

namespace {

using SV = std::u16string_view;

bool CompactarMascara(SV mascara, SV zip) { return TZip::Compactar(mascara, zip); }
bool CompactarLista(const TStringList& lista, SV zip) { return TZip::Compactar(lista, zip); }
bool Descompactar(SV zip, SV dir, bool overwrite, SV mascara) {
  return TZip::Descompactar(zip, dir, overwrite, {}, {}, mascara);
}
bool DescompactarERetornarNomes(SV zip, SV dir, bool overwrite, SV mascara, TStringList& nomes) {
  return TZip::DescompactarERetornarNomes(zip, dir, overwrite, {}, {}, mascara, &nomes);
}
bool DescompactarRetornarNomes(SV zip, SV dir, SV mascara, TStringList& nomes) {
  return TZip().DescompactarRetornarNomes(zip, dir, mascara, nomes);
}
bool DescompactarRetornarNome(SV zip, SV dir, SV mascara, std::u16string& nome) {
  return TZip().DescompactarRetornarNome(zip, dir, mascara, nome);
}

}  // namespace

ZELMOR_ROUTINES(zip) {
  Register("TZip.Compactar", &CompactarMascara, {"NomeArquivoParaCompactarAceitaMascara", "NomeArquivoZip"});
  Register("TZip.Compactar", &CompactarLista, {"ListaArquivos", "NomeArquivoZip"});
  Register("TZip.Descompactar", &Descompactar,
           {"ArquivoZipOrigem", "DirDestino", "Overwrite", "MascaraArquivosDescompactar"}, {true, ""});
  Register("TZip.DescompactarERetornarNomes", &DescompactarERetornarNomes,
           {"ArquivoZipOrigem", "DirDestino", "Overwrite", "MascaraArquivosDescompactar", "ArquivosDescompactados"});
  Register("TZip.DescompactarRetornarNomes", &DescompactarRetornarNomes,
           {"ArquivoZipOrigem", "DirDestino", "MascaraArquivosDescompactar", "Arquivos"});
  Register("TZip.DescompactarRetornarNome", &DescompactarRetornarNome,
           {"ArquivoZipOrigem", "DirDestino", "MascaraArquivosDescompactar", "NomeArquivo"});
}

}  // namespace zelmor::cli
