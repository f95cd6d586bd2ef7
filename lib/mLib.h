// Short aliases of the routine classes, with identical behaviour:
// `mStr::PadCenter` is `TmStr::PadCenter`. Including this header brings in every
// routine class the library has.
#pragma once


#include "files/mFileUtil.h"
#include "strings/mString.h"
#if __has_include("datetime/mDataHora.h")
#include "datetime/mDataHora.h"
#endif
#if __has_include("datetime/mConvert.h")
#include "datetime/mConvert.h"
#endif
#if __has_include("system/mRotinas.h")
#include "system/mRotinas.h"
#endif
#if __has_include("config/mIniReg.h")
#include "config/mIniReg.h"
#endif
#if __has_include("dialogs/mMensagem.h")
#include "dialogs/mMensagem.h"
#endif
#if __has_include("dialogs/mMedia.h")
#include "dialogs/mMedia.h"
#endif
#if __has_include("system/mTerminalService.h")
#include "system/mTerminalService.h"
#endif

namespace zelmor {

class TmStr;
class TmDt;
class TmConv;
class TmRot;
class TmFile;
class TmINI;
class TmReg;
class TmDlg;
class TmSpeaker;
class TmTS;

using mStr = TmStr;
using mDt = TmDt;
using mConv = TmConv;
using mRot = TmRot;
using mFile = TmFile;
using mINI = TmINI;
using mReg = TmReg;
using mDlg = TmDlg;
using mSpeaker = TmSpeaker;
using mTS = TmTS;

}  // namespace zelmor
