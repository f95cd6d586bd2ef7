// The database layer: connections, statements with named parameters, and result sets
// walked first to last. The embedded driver is SQLite; a server database (PostgreSQL
// through libpq, say) plugs in as another `Databases` without touching the helpers.
//
//   auto db = platform::Service<platform::Databases>::Get().Connect(u"/var/lib/pdv/vendas.db", false);
//   db->Execute(u"insert into t values(:id, :nome)", params);
//   for (auto c = db->Open(u"select * from t", {}); !c->Eof(); c->Next()) use(c->Field(0));
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/errors.h"

namespace zelmor {

// A statement the database refused, or a database that could not be opened: the
// driver's own message.
ZELMOR_DECLARE_ERROR(EDatabaseError, "database");

}  // namespace zelmor

namespace zelmor::platform {

// A value crossing to or from the database. Null is std::monostate. Dates cross as
// ISO 8601 text ("2026-12-11", "2026-12-11 14:05:09.123"): every driver stores and
// compares them that way, and the field's kind says when a text is a date.
using DbValue = std::variant<std::monostate, bool, std::int64_t, double, std::u16string>;

// What a result column holds, from its declared type where the driver knows it.
enum class DbFieldKind { Text, Integer, Float, Date, Boolean, Unknown };

// A parameter written in the SQL as ":" followed by `Name` (names compare without case).
struct DbParam {
  std::u16string Name;
  DbValue Value;
};

// The rows of one statement, walked first to last. A fresh cursor stands on its first
// row (or at the end when there is none).
class DbCursor {
 public:
  virtual ~DbCursor() = default;
  // Back to the first row. A forward-only driver may run the statement again.
  virtual void First() = 0;
  virtual void Next() = 0;
  // Past the last row.
  virtual bool Eof() const = 0;
  virtual int FieldCount() const = 0;
  virtual std::u16string FieldName(int Index) const = 0;
  virtual DbFieldKind FieldKind(int Index) const = 0;
  // The current row's value; null at the end.
  virtual DbValue Field(int Index) const = 0;
};

// One open database. Every parameter named in the SQL must be given; the values are
// bound, never pasted into the text. Errors raise EDatabaseError. A cursor stays
// usable after its connection object is gone (the driver closes the database last).
class DbConnection {
 public:
  virtual ~DbConnection() = default;
  // Runs one statement that gives rows.
  virtual std::unique_ptr<DbCursor> Open(std::u16string_view Sql, std::span<const DbParam> Params) = 0;
  // Runs every statement of `Sql` in order; the rows the last one changed.
  virtual std::int64_t Execute(std::u16string_view Sql, std::span<const DbParam> Params) = 0;
};

class Databases {
 public:
  static constexpr const char* kServiceName = "databases";
  virtual ~Databases() = default;
  // `Database` is the driver's own name for it (a file for SQLite, a connection
  // string for a server). A read-only connection never creates the database.
  virtual std::unique_ptr<DbConnection> Connect(std::u16string_view Database, bool ReadOnly) = 0;
};

}  // namespace zelmor::platform
