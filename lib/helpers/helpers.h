// TmRot's generic helpers: choices, null defaults, array lookups, the query helpers
// and digests. CaseDo asks through TmDlg; QueryToSQL writes through TmConv and TmDt.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/types.h"
#include "mConst.h"

namespace zelmor {

class TzelDataSet;  // helpers/query.h
class TzelQuery;    // helpers/query.h
namespace platform {
class DbConnection;  // platform/database.h
}

namespace TmRot {

// ---- Generic helpers (generic.cpp) ----
// Defined in helpers/: CaseDo asks through TmDlg and QueryToSQL writes through TmConv/TmDt.
// Null is std::monostate; an empty text is a value, never null.
std::u16string IfThen(bool Condicao, std::u16string_view RTrue, std::u16string_view RFalse);
// Literals would otherwise pick the Boolean overload (pointer to bool beats the view).
inline std::u16string IfThen(bool Condicao, const char16_t* RTrue, const char16_t* RFalse) {
  return IfThen(Condicao, std::u16string_view(RTrue), std::u16string_view(RFalse));
}
std::int32_t IfThen(bool Condicao, std::int32_t RTrue, std::int32_t RFalse);
bool IfThen(bool Condicao, bool RTrue, bool RFalse);
char16_t IfThen(bool Condicao, char16_t RTrue, char16_t RFalse);
Variant IfThen(bool Condicao, const Variant& RTrue, const Variant& RFalse);
double IfThenFloat(bool Condicao, double RTrue, double RFalse);
double IfFloat(bool Condicao, double RTrue, double RFalse);
TDateTime IfThenDate(bool Condicao, TDateTime RTrue, TDateTime RFalse);
std::u16string IfVazio(std::u16string_view Variavel, std::u16string_view RespSeVazio);
double IfNull(const Variant& V, double ValueIfNull);
std::u16string IfNull(const Variant& V, std::u16string_view ValueIfNull);
bool IfNull(const Variant& V, bool ValueIfNull);
inline std::u16string IfNull(const Variant& V, const char16_t* ValueIfNull) {
  return IfNull(V, std::u16string_view(ValueIfNull));
}
Variant IfNull(const Variant& V, const Variant& ValueIfNull);
std::int32_t IfIntNull(const Variant& V, std::int32_t ValueIfNull);
TDateTime IfDateNull(const Variant& V, TDateTime ValueIfNull);
Variant NullIf(const Variant& aoValue, const Variant& aoNullValue);
std::u16string CaseDo(std::u16string_view Valor, const TzelArrayString& ComparaCom, const TzelArrayString& Retornos,
                      std::u16string_view Default);
std::u16string CaseDoInt(std::int32_t Valor, const TzelArrayInteger& ComparaCom, const TzelArrayString& Retornos,
                         std::u16string_view Default);
std::int32_t CaseDoInteger(std::int32_t aiValor, const TzelArrayInteger& aiResultado, const TzelArrayInteger& aiRetorno,
                           std::int32_t aiDefault);
bool ContemInt(std::int32_t aiValor, const TzelArrayInteger& aiValores);
bool ContemStr(std::u16string_view asValor, const TzelArrayString& asValores);
void AddArrayInt(TzelArrayInteger& aaInt, std::int32_t aiInt);
void AddArrayStr(TzelArrayString& aaStr, std::u16string_view asStr);
void ClearArrayInt(TzelArrayInteger& aaInt);
void ClearArrayStr(TzelArrayString& aaStr);
TzelArrayInteger ArrayVarToInt(const TzelArrayVariant& aaVar);
TzelArrayString ArrayVarToStr(const TzelArrayVariant& aaVar);
// The variant's text; null gives the empty text.
std::u16string VarToStr(const Variant& V);
double VarToFloat(const Variant& avValue);
Variant GetVariantValueDouble(double adValue, bool abNullIfZero);
Variant GetVariantValueInt(std::int32_t aiValue, bool abNullIfZero);
Variant GetVariantValueString(std::u16string_view asValue, bool abNullIfEmpty);
std::u16string BoolToStr(bool abValue);
// Never reads past the array: a size beyond it (or below zero) is clipped.
std::u16string ByteArrayToString(const std::vector<std::uint8_t>& arBytes, std::int32_t aiSize);
std::u16string QueryToSQL(const TzelQuery& aoQuery);
// A new query on the connection, owned by the caller (helpers/query.h).
std::unique_ptr<TzelQuery> CreateQuery(platform::DbConnection& aoConnetion);
// The records from the first to the end, with the data set's controls disabled
// meanwhile; afterwards on the first record again, controls enabled (also on failure).
std::int32_t RecordCount(TzelDataSet& aoDataSet);
// The same count without touching the controls; afterwards on the first record.
std::int32_t QueryRecordCount(TzelQuery& aoQuery);
double CubagemM3(double lVL_ALTURA, double lVL_LARGURA, double lVL_PROFUNDIDADE);
// Keeps the first occurrence of each text (case ignored), in order; linear time.
void StringListDistinct(TStringList& aoList);
Currency Max(Currency adValue1, Currency adValue2);
std::int32_t MaxInt(std::int32_t aiValue1, std::int32_t aiValue2);
// 32 upper-case hexadecimal digits; a text is hashed as its UTF-8 bytes.
std::u16string MD5(std::u16string_view asTexto);
// Read in pieces; error "Arquivo <name> não encontrado" when there is no such file.
std::u16string MD5File(std::u16string_view asArquivo);
// Swaps each character found in a fixed table of pairs for the other of its pair
// (capitals, the blank and some signs against accented letters and symbols); other
// characters stay. Applied twice it gives the text back.
//   ZelmorCript(ZelmorCript(s)) == s
std::u16string ZelmorCript(std::u16string_view s);

}  // namespace TmRot

}  // namespace zelmor
