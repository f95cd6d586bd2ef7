// Machine and network facts, echo requests and HTTP downloads.
#include "mRotinas.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

using Text = std::u16string_view;

ZELMOR_ROUTINES(network) {
  Register("TmRot.GetComputerName", &TmRot::GetComputerName, {"RemoveDominio"}, {false});
  Register("TmRot.GetWindowsUser", &TmRot::GetWindowsUser, {});
  Register("TmRot.GetLocalIP", &TmRot::GetLocalIP, {});
  Register("TmRot.GetLocalIPs", &TmRot::GetLocalIPs, {});
  Register("TmRot.IsIPLocal", &TmRot::IsIPLocal, {"Ip"});
  Register("TmRot.GetLocalEnderecoMac", &TmRot::GetLocalEnderecoMac, {});
  Register("TmRot.Ping", &TmRot::Ping, {"Address", "Retries", "BufferSize", "aSleep"}, {1, 32, 0});
  Register("TmRot.NetConnect", &TmRot::NetConnect, {"DriveOrPort", "NetworkPath", "User", "Password"});
  Register("TmRot.NetDisconnect", &TmRot::NetDisconnect, {"DriveOrPort"});
  Register("TmRot.StatusInternet", &TmRot::StatusInternet, {});
  Register("TmRot.DownloadStrURL", &TmRot::DownloadStrURL, {"asURL"});
  Register("TmRot.GetStringFromUrl", &TmRot::GetStringFromUrl, {"URL"});
  Register("TmRot.DownloadFileHTTP", &TmRot::DownloadFileHTTP, {"asSourceFileUrl", "asDestFile", "abShowException"},
           {false});
  Register("TmRot.GetProcessadorCount", +[]() { return static_cast<int>(TmRot::GetProcessadorCount()); }, {});
  Register("TmRot.GetProcessadorStr", &TmRot::GetProcessadorStr, {});
  Register("TmRot.HDLivreMb", &TmRot::HDLivreMb, {});
  Register("TmRot.FusoHorarioComputador", &TmRot::FusoHorarioComputador, {});
  Register("TmRot.ExtractResource", &TmRot::ExtractResource,
           {"asResType", "asResourceName", "asOutFolder", "abDescompactZIP", "abShowFailMessage"});
}

}  // namespace zelmor::cli
