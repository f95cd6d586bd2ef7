// The version the program runs on, executables' version texts and the environment.
#include "core/errors.h"
#include "platform/file_system.h"
#include "platform/system_environment.h"
#include "strings/mString.h"
#include "system/file_version.h"
#include "system/mVersaoWindows.h"
#include "system/system.h"

namespace zelmor {

std::u16string TmRot::VersaoWindowsStr() {
  return WindowsVersionName(platform::Service<platform::SystemEnvironment>::Get().WindowsVersion());
}

TVersaoWindows TmRot::VersaoWindows() { return WindowsVersionFamily(VersaoWindowsStr()); }

std::u16string TmRot::GetFileVersao(std::u16string_view csExeName, std::int32_t aiQtdNiveis,
                                    std::u16string_view asSeparador) {
  platform::FileSystem& files = platform::Service<platform::FileSystem>::Get();
  const std::u16string path(csExeName);
  std::optional<std::u16string> version;
  try {
    version = FileVersionText([&](std::uint64_t offset, std::size_t count, std::string& bytes) {
      return files.ReadRange(path, offset, count, bytes) && bytes.size() == count;
    });
  } catch (const EZelmorError&) {
    return {};  // a file that cannot be read has no version to tell
  }
  std::u16string text = version.value_or(u"");
  if (aiQtdNiveis >= 1 && aiQtdNiveis <= 3) {
    std::size_t cut = 0;
    for (int part = 0; part < aiQtdNiveis && cut != std::u16string::npos; ++part)
      cut = text.find(u'.', part == 0 ? 0 : cut + 1);
    if (cut != std::u16string::npos) text.resize(cut);
  }
  if (asSeparador != u".") text = TmStr::Replace(text, u".", asSeparador);
  return text;
}

std::u16string TmRot::GetVariavelAmbiente(std::u16string_view EnVar) {
  return platform::Service<platform::SystemEnvironment>::Get().Variable(EnVar).value_or(u"");
}

}  // namespace zelmor
