// TmRot's machine, network and download routines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/types.h"
#include "mConst.h"

namespace zelmor {

namespace TmRot {

// ---- Network and machine information (network/) ----

// The machine's host name; with `RemoveDominio` cut at the first "."; "NomePC" when
// the system gives none.
std::u16string GetComputerName(bool RemoveDominio);
// The login name of the user the process runs as; "NomeUsuarioWin" when it has none.
std::u16string GetWindowsUser();
// The first IPv4 address of an interface that is up (loopback left out, since the
// host name resolves to a loopback address); empty when there is none.
//   GetLocalIP() == u"192.168.0.15"
std::u16string GetLocalIP();
// Every such address, in the system's interface order.
TStringList GetLocalIPs();
// Whether `Ip` is one of GetLocalIPs().
bool IsIPLocal(std::u16string_view Ip);
// The first network card's hardware address as "00-1A-2B-3C-4D-5E"; empty when none.
std::u16string GetLocalEnderecoMac();
// Up to `Retries` echo requests of `BufferSize` bytes to `Address`, each given 1 s to
// answer and followed by a pause of `aSleep` ms; true at the first reply.
bool Ping(std::u16string_view Address, std::uint16_t Retries, std::uint16_t BufferSize, std::int32_t aSleep);
// Network drives and printer ports do not exist here: always false.
bool NetConnect(std::u16string_view DriveOrPort, std::u16string_view NetworkPath, std::u16string_view User,
                std::u16string_view Password);
bool NetDisconnect(std::u16string_view DriveOrPort);
// Whether some interface other than loopback is up with an IPv4 address.
bool StatusInternet();
// The body of an HTTP GET of `asURL`, read as Windows-1252. Raises ENetworkError
// when the transfer fails or the server answers with an error status.
std::u16string DownloadStrURL(std::u16string_view asURL);
// The body of `URL` read as UTF-8 (the whole body at once). An address without "?"
// gets "?" and the time as "yymmddhhnnss", so no cache answers. Raises ENetworkError.
std::u16string GetStringFromUrl(std::u16string_view URL);
// Downloads into `asDestFile` (the time is appended as in GetStringFromUrl) through a
// temporary file renamed over it when complete: a failed download leaves the old file
// as it was, and an HTTP error status is a failure. With `abShowException` the failure
// raises ENetworkError, else it gives false.
bool DownloadFileHTTP(std::u16string_view asSourceFileUrl, std::u16string_view asDestFile, bool abShowException);
// Logical processor ids per package as the processor reports them (0 when unknown).
std::uint8_t GetProcessadorCount();
// The processor's brand text, cut at its first zero character.
std::u16string GetProcessadorStr();
// Decimal megabytes free to the user on the disk of the home folder; 0 when unknown.
//   1 500 000 000 free bytes give 1500
std::int32_t HDLivreMb();
// Now and the standard offset from UTC: "05/12/2018 14:07:00 - GMT (-03:00)";
// zones east of UTC are written with "+" ("GMT (+05:30)").
std::u16string FusoHorarioComputador();

}  // namespace TmRot

}  // namespace zelmor
