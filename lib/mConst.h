// Shared dynamic-array types and enumerations used across the library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "core/types.h"

namespace zelmor {

// A variant value: null, Boolean, integer, double, currency, date-time or text.
using Variant = std::variant<std::monostate, bool, std::int64_t, double, Currency, TDateTime, std::u16string>;

using TzelArrayString = std::vector<std::u16string>;
using TzelArrayInteger = std::vector<std::int32_t>;
using TzelArrayVariant = std::vector<Variant>;

// The other dynamic array of texts: a distinct type with the same content. It
// binds to `const TzelArrayString&`, so routines taking that accept both.
struct TArrayStr : TzelArrayString {
  using TzelArrayString::TzelArrayString;
};

// One listed file: full path, last write time, size in bytes.
struct TzelArquivo {
  std::u16string Nome;
  TDateTime DataHora;
  std::int64_t Tamanho = 0;
};
using TzelArrayArquivo = std::vector<TzelArquivo>;

// Printer connections: parallel port, serial port, PRN device, network.
enum class TTipoImpressao { tiLPT, tiCOM, tiPRN, tiREDE };

// Bytes held in memory with a read position; the caller of the routine that made it owns it.
struct TMemoryStream {
  std::string Bytes;
  std::size_t Position = 0;

  std::int64_t Size() const { return static_cast<std::int64_t>(Bytes.size()); }
  // Copies up to `Count` bytes from the position into `Buffer` and moves past them;
  // answers how many were copied (0 at the end).
  std::size_t Read(void* Buffer, std::size_t Count) {
    const std::size_t n = Position < Bytes.size() ? std::min(Count, Bytes.size() - Position) : 0;
    if (n) std::memcpy(Buffer, Bytes.data() + Position, n);
    Position += n;
    return n;
  }
};

// Electronic fiscal document models.
enum class TModeloDocumentoEletronico { mdeNFe, mdeNFCe, mdeCTe, mdeCFe, mdeMDFe };

// The Windows versions the library tells apart (0 to 10).
enum class TVersaoWindows { vw95, vw98, vwNT, vw2000, vwXP, vwVista, vwServer2008, vw7, vw8, vwServer2012, vw10 };

}  // namespace zelmor
