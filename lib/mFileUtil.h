// TmFile: the library's file routines, a namespace of plain functions that each folder
// opens for the routines it defines (files/files.h has the rules every one follows).
// This header gathers them all for code outside the library; inside lib/, include the
// header of the folder that defines what you call.
#pragma once

#include "files/files.h"
#include "shell/shell.h"
#include "updates/updates.h"
