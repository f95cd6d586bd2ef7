// Machine and network facts and HTTP downloads, over the machine-information and
// HTTP services.
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "calendar/calendar.h"
#include "core/cp1252.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "format/format_datetime.h"
#include "network/network.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/machine_info.h"
#include "platform/time_zone.h"

namespace zelmor {
namespace {

platform::MachineInfo& Machine() { return platform::Service<platform::MachineInfo>::Get(); }
platform::HttpClient& Http() { return platform::Service<platform::HttpClient>::Get(); }

// An address without a query gets one that changes every second, so no cache answers.
std::u16string Uncached(std::u16string_view url) {
  std::u16string out(url);
  if (out.find(u'?') == std::u16string::npos) out += u"?" + FormatDateTime(u"yymmddhhnnss", Now());
  return out;
}

std::string Fetch(std::u16string_view url) {
  std::string body, why;
  if (!Http().DownloadToText(url, body, &why)) throw ENetworkError(Utf8ToU16(why));
  return body;
}

std::u16string TwoDigits(int n) { return std::u16string{char16_t(u'0' + n / 10 % 10), char16_t(u'0' + n % 10)}; }

}  // namespace

std::u16string TmRot::GetComputerName(bool RemoveDominio) {
  std::u16string name = Machine().HostName().value_or(u"");
  if (RemoveDominio) {
    const auto dot = name.find(u'.');
    if (dot != std::u16string::npos) name.resize(dot);
  }
  name = std::u16string(textkit::Trim(name));
  return name.empty() ? u"NomePC" : name;
}

std::u16string TmRot::GetWindowsUser() {
  std::u16string name(textkit::Trim(Machine().UserName().value_or(u"")));
  return name.empty() ? u"NomeUsuarioWin" : name;
}

std::u16string TmRot::GetLocalIP() {
  const auto all = Machine().LocalIPv4Addresses();
  return all.empty() ? std::u16string() : all.front();
}

TStringList TmRot::GetLocalIPs() {
  TStringList list;
  for (const auto& ip : Machine().LocalIPv4Addresses()) list.Add(ip);
  return list;
}

bool TmRot::IsIPLocal(std::u16string_view Ip) {
  for (const auto& ip : Machine().LocalIPv4Addresses())
    if (ip == Ip) return true;
  return false;
}

std::u16string TmRot::GetLocalEnderecoMac() {
  const auto mac = Machine().HardwareAddress();
  if (!mac) return {};
  std::u16string out;
  for (std::uint8_t b : *mac) {
    if (!out.empty()) out += u'-';
    AppendUnsigned<16>(out, b, 2, true);
  }
  return out;
}

bool TmRot::Ping(std::u16string_view Address, std::uint16_t Retries, std::uint16_t BufferSize, std::int32_t aSleep) {
  for (int attempt = 0; attempt < Retries; ++attempt) {
    const bool answered = Machine().Echo(Address, BufferSize, 1000);
    if (aSleep > 0) std::this_thread::sleep_for(std::chrono::milliseconds(aSleep));
    if (answered) return true;
  }
  return false;
}

bool TmRot::NetConnect(std::u16string_view, std::u16string_view, std::u16string_view, std::u16string_view) {
  return false;
}

bool TmRot::NetDisconnect(std::u16string_view) { return false; }

bool TmRot::StatusInternet() { return !Machine().LocalIPv4Addresses().empty(); }

std::u16string TmRot::DownloadStrURL(std::u16string_view asURL) { return cp1252::Decode(Fetch(asURL)); }

std::u16string TmRot::GetStringFromUrl(std::u16string_view URL) {
  // Decoded whole: a character whose bytes arrive in two reads is still one character.
  return Utf8ToU16(Fetch(Uncached(URL)));
}

bool TmRot::DownloadFileHTTP(std::u16string_view asSourceFileUrl, std::u16string_view asDestFile,
                             bool abShowException) {
  std::string why;
  const bool ok = Http().DownloadToFile(Uncached(asSourceFileUrl), asDestFile, &why) &&
                  platform::Service<platform::FileSystem>::Get().EntryExists(asDestFile);
  if (!ok && abShowException) throw ENetworkError(Utf8ToU16(why.empty() ? "download failed" : why));
  return ok;
}

std::uint8_t TmRot::GetProcessadorCount() {
  return static_cast<std::uint8_t>(std::clamp(Machine().LogicalProcessorsPerPackage(), 0, 255));
}

std::u16string TmRot::GetProcessadorStr() {
  std::u16string brand = Machine().ProcessorBrand();
  const auto nul = brand.find(u'\0');
  if (nul != std::u16string::npos) brand.resize(nul);
  return brand;
}

std::int32_t TmRot::HDLivreMb() {
  const auto bytes = Machine().FreeDiskBytes();
  if (!bytes) return 0;
  return static_cast<std::int32_t>(std::min<std::uint64_t>(*bytes / 1000 / 1000, 0x7FFFFFFF));
}

std::u16string TmRot::FusoHorarioComputador() {
  std::u16string text = FormatDateTime(u"dd/mm/yyyy hh:nn:ss", Now());
  const int bias = platform::Service<platform::TimeZone>::Get().StandardBias();
  // The bias counts minutes to add to local time to get UTC: east of UTC it is negative.
  const int offset = bias < 0 ? -bias : bias;
  text += bias < 0 ? u" - GMT (+" : u" - GMT (-";
  text += TwoDigits(offset / 60 % 100) + u":" + TwoDigits(offset % 60) + u")";
  return text;
}

}  // namespace zelmor
