// Short aliases of the routine classes, with identical behaviour:
// `mStr::PadCenter` is `TmStr::PadCenter`. Including this header brings in every
// routine class the library has.
#pragma once

#include "config/mIniReg.h"
#include "datetime/mConvert.h"
#include "datetime/mDataHora.h"
#include "dialogs/mMedia.h"
#include "dialogs/mMensagem.h"
#include "files/mFileUtil.h"
#include "strings/mString.h"
#include "system/mRotinas.h"
#include "system/mTerminalService.h"

namespace zelmor {

class TmDt;
class TmConv;
class TmRot;
class TmFile;
class TmINI;
class TmReg;
class TmDlg;
class TmSpeaker;
class TmTS;

namespace mStr = TmStr;
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
