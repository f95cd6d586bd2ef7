// TmConfig: a sectioned configuration file ("[Secao]" headers, "Item=Valor"
// entries) read into memory as its lines and edited there, so comments, blank
// lines, unknown entries and their order survive a rewrite. The file is written
// when asked (Flush, SaveCopyTo) or when the object is destroyed with unsaved changes.
//
// The format in short (docs/settings.md has it in full):
//   - lines end in CR LF, LF or CR when read, CR LF when written (after the last too);
//   - a file starting with a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark is read and
//     written in that encoding with the mark; any other file in Windows-1252, no mark;
//   - a header is a line starting with "[" that equals "[" + name + "]" (case ignored);
//   - an entry is a line with "="; its name is everything before the first "=", its value
//     everything after: nothing is trimmed, so "Item = 5" is the entry "Item " with " 5";
//   - an entry belongs to the nearest header above it; entries above the first header
//     belong to no section; the first of duplicate names counts;
//   - names compare without case (accented letters too); each lookup scans the lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"
#include "textfile/text_file.h"

namespace zelmor {

class TmConfig {
 public:
  // Remembers `Arquivo` as the file to save to. With the flag set and the file
  // present, loads it; otherwise starts empty (and a save replaces the whole file).
  // A file that exists but cannot be read raises EFileError.
  TmConfig(std::u16string_view Arquivo, bool CarregarArquivoExistenteParaUpdate);
  // A configuration made of the list's lines, with no file: save it with SaveCopyTo.
  explicit TmConfig(const TStringList& aLista);
  // Saves when there are unsaved changes; an error while saving is swallowed and the
  // changes are lost (call Flush first to hear about it).
  ~TmConfig();
  TmConfig(const TmConfig&) = delete;
  TmConfig& operator=(const TmConfig&) = delete;

  // Saves when there are unsaved changes. A failure raises EFileError and keeps
  // them unsaved; the file is then as it was (it is replaced whole, never truncated).
  void Flush();
  void SetModificado(bool aModificado);
  // Writes the lines to `NomeArquivo` whatever the state; changes neither the file
  // this object saves to nor its unsaved state. Raises EFileError.
  void SaveCopyTo(std::u16string_view NomeArquivo);
  // The running executable's path with its extension replaced by ".ini".
  //   for "/opt/zelmor/bin/quindel": u"/opt/zelmor/bin/quindel.ini"
  static std::u16string GetFileNameDefault();

  // ---- Values ----
  // Each typed read formats `Padrao` the way its writer would, reads the entry with
  // that text as the default and converts it; a text that does not convert gives
  // `Padrao` itself. So a missing date comes back without its time of day.
  // Writes replace the first entry of that name in the section, keeping the name's
  // spelling in the file, or add it at the end of the section (creating the section
  // at the end of the file); an empty value deletes an existing entry's line.

  // The entry's value, or `Padrao`.
  //   [A] x=1: ReadString(u"a", u"X", u"") == u"1"
  std::u16string ReadString(std::u16string_view Secao, std::u16string_view Item, std::u16string_view Padrao) const;
  void WriteString(std::u16string_view Secao, std::u16string_view Item, std::u16string_view Valor);
  // Decimal digits, or hexadecimal after "$" or "0x"; leading blanks allowed, nothing after.
  int ReadInteger(std::u16string_view Secao, std::u16string_view Item, int Padrao) const;
  void WriteInteger(std::u16string_view Secao, std::u16string_view Item, int Valor);
  // True only for "1"; written as "1" / "0".
  bool ReadBool(std::u16string_view Secao, std::u16string_view Item, bool Padrao) const;
  void WriteBool(std::u16string_view Secao, std::u16string_view Item, bool Valor);
  // General format, 15 significant digits, the regional decimal separator: 2.5 → "2,5".
  double ReadFloat(std::u16string_view Secao, std::u16string_view Item, double Padrao) const;
  void WriteFloat(std::u16string_view Secao, std::u16string_view Item, double Valor);
  // Up to 4 decimals, trailing zeros dropped: 12.5 → "12,5".
  Currency ReadCurr(std::u16string_view Secao, std::u16string_view Item, Currency Padrao) const;
  void WriteCurr(std::u16string_view Secao, std::u16string_view Item, Currency Valor);
  // "DD/MM/YYYY" ("/" = the regional date separator); read by the regional date order.
  TDateTime ReadDate(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const;
  void WriteDate(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor);
  // "DD/MM/YYYY HH:NN:SS" (":" = the regional time separator), no milliseconds.
  TDateTime ReadDateTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const;
  void WriteDateTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor);
  // "HH:NN:SS"; only the time of day.
  TDateTime ReadTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const;
  void WriteTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor);

  // The same, in section "Config".
  std::u16string ReadStringConfig(std::u16string_view Item, std::u16string_view Padrao) const;
  int ReadIntegerConfig(std::u16string_view Item, int Padrao) const;
  bool ReadBoolConfig(std::u16string_view Item, bool Padrao) const;
  double ReadFloatConfig(std::u16string_view Item, double Padrao) const;
  Currency ReadCurrConfig(std::u16string_view Item, Currency Padrao) const;
  TDateTime ReadDateConfig(std::u16string_view Item, TDateTime Padrao) const;
  TDateTime ReadDateTimeConfig(std::u16string_view Item, TDateTime Padrao) const;
  void WriteStringConfig(std::u16string_view Item, std::u16string_view Valor);
  void WriteIntegerConfig(std::u16string_view Item, int Valor);
  void WriteBoolConfig(std::u16string_view Item, bool Valor);
  void WriteFloatConfig(std::u16string_view Item, double Valor);
  void WriteCurrConfig(std::u16string_view Item, Currency Valor);
  void WriteDateConfig(std::u16string_view Item, TDateTime Valor);
  void WriteDateTimeConfig(std::u16string_view Item, TDateTime Valor);

  // ---- Sections ----
  // Clears `Saida`, then adds every line whose first non-blank character is "[",
  // with every "[" and "]" removed and trimmed; in file order, duplicates kept.
  void ReadSections(TStringList& Saida) const;
  // Clears `Saida`, then adds the name of every entry of the section (up to the next "[" line).
  void ReadSection(std::u16string_view Secao, TStringList& Saida) const;
  // Like ReadSection, adding every non-blank line whole (entries, comments, other lines).
  void ReadSectionValues(std::u16string_view Secao, TStringList& Saida) const;
  // Deletes the section's header and every line up to the next "[" line.
  void EraseSection(std::u16string_view Secao);
  bool SectionExists(std::u16string_view Secao) const;
  // Deletes the first line of the entry in the section, if there is one.
  void DeleteKey(std::u16string_view Secao, std::u16string_view Item);

  // The lines as they stand, the file saved to, and whether there are unsaved changes.
  const TStringList& Linhas() const { return Lista; }
  const std::u16string& Arquivo() const { return FArquivo; }
  bool IsModificado() const { return Modificado; }

  // Lines present when the object was created (0 when no file was loaded).
  int TotalLinhas = 0;

 private:
  void Save(std::u16string_view path) const;
  // The line of the entry, or -1.
  int FindEntry(std::u16string_view Secao, std::u16string_view Item) const;
  int FindSection(std::u16string_view Secao) const;
  void SetLines(std::u16string_view text);

  std::u16string FArquivo;
  TStringList Lista;
  bool Modificado = false;
  text_file::Encoding FEncoding = text_file::Encoding::Ansi;
};

}  // namespace zelmor
