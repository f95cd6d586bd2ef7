// The project's version ("0.1.0"), from the build. The programs carry it in the ELF
// section ".zelmor.version" as well, where TmRot::GetFileVersao reads it back. Only
// programs that link the `zelmor_version` object library define it.
#pragma once

namespace zelmor {

const char* ProjectVersion();

}  // namespace zelmor
