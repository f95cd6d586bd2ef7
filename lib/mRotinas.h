// TmRot: the library's general system routines, a namespace of plain functions that
// each folder opens for the routines it defines. This header gathers them all, with
// the federative-units table TmUF, for code outside the library; inside lib/, include
// the header of the folder that defines what you call.
#pragma once

#include "controls/controls.h"
#include "helpers/helpers.h"
#include "network/network.h"
#include "processes/processes.h"
#include "shell/shell.h"
#include "system/federative_units.h"
#include "system/mVersaoWindows.h"
#include "system/system.h"
