// Dates and times: entry completion and parsing, SQL texts, calendar arithmetic,
// names, time zone, Easter and holidays, periods and durations.
#include "datetime/mDataHora.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(dates) {
  Register("TmDt.CompletaData", &TmDt::CompletaData, {"Data"});
  Register("TmDt.CompletaHora", &TmDt::CompletaHora, {"Hora"});
  Register("TmDt.HoraParaMin", &TmDt::HoraParaMin, {"Hora"});
  Register("TmDt.MinParaHora", &TmDt::MinParaHora, {"Minutos"});
  Register("TmDt.DataValida", &TmDt::DataValida, {"Data"});
  Register("TmDt.StrToDataHora", &TmDt::StrToDataHora, {"Dt", "Default"});
  Register("TmDt.StrToDateTime", &TmDt::StrToDateTime, {"asData", "asDefault"});
  Register("TmDt.Data2Ansi", static_cast<std::u16string (*)(TDateTime, std::u16string_view, bool)>(&TmDt::Data2Ansi),
           {"Data", "Formato", "ComAspas"});
  Register("TmDt.Data2Ansi", static_cast<std::u16string (*)(TDateTime, bool)>(&TmDt::Data2Ansi),
           {"Data", "IncluirHora"});
  Register("TmDt.Hora2Ansi", &TmDt::Hora2Ansi, {"Data", "ComAspas"});
  Register("TmDt.DataDetalhe", &TmDt::DataDetalhe, {"Data"});

  Register("TmDt.SetAjuste", &TmDt::SetAjuste, {"Data", "Dias", "Meses", "Semanas", "Anos"});
  Register("TmDt.SetInicioDaSemana", &TmDt::SetInicioDaSemana, {"Data"});
  Register("TmDt.SetFimDaSemana", &TmDt::SetFimDaSemana, {"Data"});
  Register("TmDt.SetInicioDoMes", &TmDt::SetInicioDoMes, {"Data"});
  Register("TmDt.SetFimDoMes", &TmDt::SetFimDoMes, {"Data"});
  Register("TmDt.SetYear", &TmDt::SetYear, {"Data", "Ano"});
  Register("TmDt.AddDays", &TmDt::AddDays, {"Data", "Dias"});
  Register("TmDt.AddHours", &TmDt::AddHours, {"Data", "Horas"});
  Register("TmDt.AddMinutes", &TmDt::AddMinutes, {"Data", "Minutos"});
  Register("TmDt.AddMonths", &TmDt::AddMonths, {"Data", "Meses"});
  Register("TmDt.AddYears", &TmDt::AddYears, {"Data", "Anos"});
  Register("TmDt.DaysInMonth", &TmDt::DaysInMonth, {"Data"});
  Register("TmDt.IsLeapYear", &TmDt::IsLeapYear, {"Data"});
  Register("TmDt.GetDia", &TmDt::GetDia, {"ahData"});
  Register("TmDt.GetMes", &TmDt::GetMes, {"ahData"});
  Register("TmDt.GetAno", &TmDt::GetAno, {"ahData"});
  Register("TmDt.GetNomeMes", &TmDt::GetNomeMes, {"aiNumero"});
  Register("TmDt.GetDiaSemana", &TmDt::GetDiaSemana, {"aiNumero"});
  Register("TmDt.GetNumeroDiaSemana", &TmDt::GetNumeroDiaSemana, {"pDia"});
  Register("TmDt.GetTimeZone", &TmDt::GetTimeZone, {});

  Register("TmDt.GetPascoa", &TmDt::GetPascoa, {"Ano"});
  Register("TmDt.IsFeriado", &TmDt::IsFeriado, {"Data"});
  Register("TmDt.GetFeriadoStr", &TmDt::GetFeriadoStr, {"Data"});

  Register("TmDt.GetPeriodos", &TmDt::GetPeriodos, {"ahDtInicial", "ahDtFinal", "aiDias"});
  Register("TmDt.GetExtPeriodo", &TmDt::GetExtPeriodo, {"ahDtInicial", "ahDtFinal", "asTextoVazio"});
  Register("TmDt.FormatarTempo", &TmDt::FormatarTempo, {"aiSegungos"});
  Register("TmDt.GetDetalheAnoMesDia", &TmDt::GetDetalheAnoMesDia, {"Data", "DataAtual", "Separador"});
  Register("TmDt.GetDiasDatas", &TmDt::GetDiasDatas, {"DtInicial", "DtFinal"});
  Register("TmDt.Between", &TmDt::Between, {"adData", "adDataInicial", "adDataFinal"});
}

}  // namespace zelmor::cli
