// The query object of the database helpers: SQL lines with named, typed parameters,
// run on a connection of the platform's database layer and walked first to last.
// QueryToSQL writes it out for logs; Open and ExecSQL bind the values, never paste them.
//
//   auto q = TmRot::CreateQuery(*db);
//   q->SQL.Add(u"select * from vendas where cliente = :cliente");
//   q->SetParam(u"cliente", TzelFieldType::Texto, std::u16string(u"O'Hara"));
//   q->Open();
//   for (; !q->Eof(); q->Next()) total += TmRot::IfNull(q->FieldByName(u"valor"), 0.0);
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mConst.h"
#include "platform/database.h"

namespace zelmor {

enum class TzelFieldType { Texto, Inteiro, Flutuante, Data, Booleano, Desconhecido };

struct TzelParam {
  std::u16string Nome;
  TzelFieldType Tipo = TzelFieldType::Texto;
  Variant Valor;  // std::monostate is the database null
};

// Records walked first to last, with a switch for the controls that show them: while
// disabled (nested, like a counter) a control should not follow the moves.
class TzelDataSet {
 public:
  virtual ~TzelDataSet() = default;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual bool Eof() const = 0;

  void DisableControls() { ++FDisabled; }
  void EnableControls() {
    if (FDisabled > 0) --FDisabled;
  }
  bool ControlsDisabled() const { return FDisabled > 0; }

 private:
  int FDisabled = 0;
};

class TzelQuery : public TzelDataSet {
 public:
  TzelQuery() = default;
  // A query that runs on `Connection` (which must outlive the query's use of it).
  explicit TzelQuery(platform::DbConnection& Connection) : FConnection(&Connection) {}

  TStringList SQL;
  std::vector<TzelParam> Params;

  // The parameter of that name (case ignored, as the SQL text's spelling may differ), or null.
  const TzelParam* FindParam(std::u16string_view Nome) const;
  // Sets (adding when missing) a parameter's type and value.
  void SetParam(std::u16string_view Nome, TzelFieldType Tipo, Variant Valor);

  platform::DbConnection* Connection() const { return FConnection; }

  // Runs the SQL (one statement that gives rows) and stands on the first record.
  // Errors raise EDatabaseError with the database's message, a line break and the
  // SQL as QueryToSQL writes it; a query without a connection raises EArgumentError.
  void Open();
  void Close() { FCursor.reset(); }
  bool Active() const { return FCursor != nullptr; }
  // Runs every statement of the SQL; the rows the last one changed.
  std::int64_t ExecSQL();

  // Navigation; a closed query is at its end.
  void First() override;
  void Next() override;
  bool Eof() const override;

  int FieldCount() const;
  std::u16string FieldName(int Index) const;
  // The current record's value: a date column gives a date-time, a Boolean column a
  // Boolean; null at the end. An unknown name raises EArgumentError "Campo <nome> não encontrado".
  Variant Fields(int Index) const;
  Variant FieldByName(std::u16string_view Nome) const;

 private:
  std::vector<platform::DbParam> BoundParams() const;
  const platform::DbCursor& Cursor() const;

  platform::DbConnection* FConnection = nullptr;
  std::unique_ptr<platform::DbCursor> FCursor;
};

}  // namespace zelmor
