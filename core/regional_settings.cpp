#include "core/regional_settings.h"

namespace zelmor {

RegionalSettings RegionalSettings::Brazilian() {
  RegionalSettings r;
  r.DecimalSeparator = u',';
  r.ThousandSeparator = u'.';
  r.DateSeparator = u'/';
  r.TimeSeparator = u':';
  r.ShortDateFormat = u"dd/MM/yyyy";
  r.LongDateFormat = u"dddd, d' de 'MMMM' de 'yyyy";
  r.ShortTimeFormat = u"hh:nn";
  r.LongTimeFormat = u"hh:nn:ss";
  r.TimeAMString = u"";
  r.TimePMString = u"";
  r.CurrencyString = u"R$";
  r.CurrencyDecimals = 2;
  r.ShortDayNames = {u"dom", u"seg", u"ter", u"qua", u"qui", u"sex", u"sáb"};
  r.LongDayNames = {u"domingo",      u"segunda-feira", u"terça-feira", u"quarta-feira",
                    u"quinta-feira", u"sexta-feira",   u"sábado"};
  r.ShortMonthNames = {u"jan", u"fev", u"mar", u"abr", u"mai", u"jun", u"jul", u"ago", u"set", u"out", u"nov", u"dez"};
  r.LongMonthNames = {u"janeiro", u"fevereiro", u"março",    u"abril",   u"maio",     u"junho",
                      u"julho",   u"agosto",    u"setembro", u"outubro", u"novembro", u"dezembro"};
  return r;
}

RegionalSettings RegionalSettings::Plain() {
  RegionalSettings r;
  r.DecimalSeparator = u'.';
  r.ThousandSeparator = u',';
  r.DateSeparator = u'/';
  r.TimeSeparator = u':';
  r.ShortDateFormat = u"MM/dd/yy";
  r.LongDateFormat = u"ddd MMM d yyyy";
  r.CurrencyString = u"";
  return r;
}

RegionalSettings RegionalSettings::UnitedStates() {
  RegionalSettings r;  // the defaults are the US ones
  r.ShortDateFormat = u"M/d/yyyy";
  r.ShortTimeFormat = u"h:nn AMPM";
  r.LongTimeFormat = u"h:nn:ss AMPM";
  return r;
}

}  // namespace zelmor
