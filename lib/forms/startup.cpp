#include "forms/startup.h"

#include "forms/FormPosition.h"
#include "regional/format_settings.h"
#include "regional/regional_copies.h"

namespace zelmor {

void InitializeStartupState() {
  FormatSettings();  // the platform reads the user's settings once, first
  TakeRegionalCopies();
  ClearFormPositionSettings();
}

}  // namespace zelmor
