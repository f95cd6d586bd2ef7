#include "regional/regional_copies.h"

#include "core/snapshot.h"
#include "platform/regional_settings.h"

namespace zelmor {
namespace {

TRegionalCopies FromPlatform() {
  const RegionalSettings r = platform::Service<platform::RegionalSettingsSource>::Get().Read();
  TRegionalCopies c;
  c.DecimalSeparator = r.DecimalSeparator;
  c.ThousandSeparator = r.ThousandSeparator;
  c.ShortDateFormat = r.ShortDateFormat;
  c.DateSeparator = r.DateSeparator;
  c.CurrencyString = r.CurrencyString;
  c.LongDateFormat = r.LongDateFormat;
  c.ShortDayNames = r.ShortDayNames;
  c.LongDayNames = r.LongDayNames;
  c.LongMonthNames = r.LongMonthNames;
  return c;
}

Snapshot<TRegionalCopies>& Copies() {
  static Snapshot<TRegionalCopies> copies(FromPlatform);
  return copies;
}

}  // namespace

const TRegionalCopies& RegionalCopies() { return Copies().Get(); }
void TakeRegionalCopies() { Copies().Reload(); }

void SetBrazilianRegionalCopies() {
  Copies().Update([](TRegionalCopies& c) {
    c.DecimalSeparator = u',';
    c.ThousandSeparator = u'.';
    c.ShortDateFormat = u"dd/MM/yyyy";
  });
}

}  // namespace zelmor
