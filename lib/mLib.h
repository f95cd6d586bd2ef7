// Short aliases of the routine groups, with identical behaviour:
// `mStr::PadCenter` is `TmStr::PadCenter`. The groups that are namespaces (TmStr,
// TmRot, TmFile) get namespace aliases, the classes type aliases. Including this
// header brings in every routine group the library has.
#pragma once

#include "config/mIniReg.h"
#include "datetime/mConvert.h"
#include "datetime/mDataHora.h"
#include "dialogs/mMedia.h"
#include "dialogs/mMensagem.h"
#include "mFileUtil.h"
#include "mRotinas.h"
#include "strings/mString.h"
#include "system/mTerminalService.h"

namespace zelmor {

class TmDt;
class TmConv;
class TmINI;
class TmReg;
class TmDlg;
class TmSpeaker;
class TmTS;

namespace mStr = TmStr;
using mDt = TmDt;
using mConv = TmConv;
namespace mRot = TmRot;
namespace mFile = TmFile;
using mINI = TmINI;
using mReg = TmReg;
using mDlg = TmDlg;
using mSpeaker = TmSpeaker;
using mTS = TmTS;

}  // namespace zelmor
