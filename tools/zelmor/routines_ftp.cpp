// FTP transfers through TZelmorFTP's one-call forms: connect, transfer, disconnect.
// A connection error is raised ("kind":"network" or "argument"); a transfer error
// answers false.
#include "ftp/ZelmorFileTransferProtocol.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

namespace {

using SV = std::u16string_view;

// The one-call forms, with the object's MsgErro given back so that a false answer says why.
struct OneCall {
  OneCall(SV aHost, SV aUserName, SV aPass, int aPort) {
    ftp.SetHost(aHost);
    ftp.SetUsername(aUserName);
    ftp.SetPassword(aPass);
    ftp.SetPort(aPort);
    ftp.Conectar();
  }
  bool Done(bool ok, std::u16string& MsgErro) {
    MsgErro = ftp.MsgErro();
    ftp.Desconectar();
    return ok;
  }
  TZelmorFTP ftp;
};

bool Download(SV aHost, SV aUserName, SV aPass, int aPort, SV aArquivoOrigem, SV aPastaDestino, bool abModePassive,
              std::u16string& MsgErro) {
  OneCall c(aHost, aUserName, aPass, aPort);
  return c.Done(c.ftp.Download(aArquivoOrigem, aPastaDestino, abModePassive), MsgErro);
}

bool Upload(SV aHost, SV aUserName, SV aPass, int aPort, SV aArquivoOrigem, SV aPastaDestino, std::u16string& MsgErro) {
  OneCall c(aHost, aUserName, aPass, aPort);
  return c.Done(c.ftp.Upload(aArquivoOrigem, aPastaDestino), MsgErro);
}

}  // namespace

ZELMOR_ROUTINES(ftp) {
  Register("TZelmorFTP.Download", &Download,
           {"aHost", "aUserName", "aPass", "aPort", "aArquivoOrigem", "aPastaDestino", "abModePassive", "MsgErro"},
           {false, ""});
  Register("TZelmorFTP.Upload", &Upload,
           {"aHost", "aUserName", "aPass", "aPort", "aArquivoOrigem", "aPastaDestino", "MsgErro"});
}

}  // namespace zelmor::cli
