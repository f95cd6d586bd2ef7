#include "format/format_settings.h"
#include "forms/FormPosition.h"
#include "startup/regional_copies.h"

namespace zelmor {

void InitializeStartupState() {
  FormatSettings();  // the platform reads the user's settings once, first
  TakeRegionalCopies();
  ClearFormPositionSettings();
}

}  // namespace zelmor
