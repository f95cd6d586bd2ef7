#include "platform/session_info.h"
#include "system/mTerminalService.h"
#include "system/system.h"

namespace zelmor {

std::u16string TmTS::GetVariavelAmbiente(std::u16string_view EnVar) { return TmRot::GetVariavelAmbiente(EnVar); }

std::u16string TmTS::GetSecaoLogado() { return GetVariavelAmbiente(u"SESSIONNAME"); }

bool TmTS::IsTerminalService() { return platform::Service<platform::SessionInfo>::Get().IsRemote(); }

}  // namespace zelmor
