// The database layer on SQLite: prepared statements, parameters bound by name, rows
// stepped as they are read (a result is never held whole in memory).
#include <sqlite3.h>

#include <memory>
#include <string>

#include "adapters/linux/outside_modules.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

using platform::DbFieldKind;
using platform::DbParam;
using platform::DbValue;

// Closed when the connection and its last cursor are gone.
using Handle = std::shared_ptr<sqlite3>;

[[noreturn]] void Fail(sqlite3* db) { throw EDatabaseError(Utf8ToU16(sqlite3_errmsg(db))); }

struct StatementDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Compiles the first statement of `sql` and moves `sql` past it; null when only blanks
// or comments are left.
Statement Prepare(sqlite3* db, std::string_view& sql) {
  sqlite3_stmt* s = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &s, &tail) != SQLITE_OK) Fail(db);
  sql.remove_prefix(static_cast<std::size_t>(tail - sql.data()));
  return Statement(s);
}

const DbParam* FindParam(std::span<const DbParam> params, std::u16string_view name) {
  for (const auto& p : params)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

// Binds every parameter the statement names (":x", "@x" or "$x"), by value.
void Bind(sqlite3* db, sqlite3_stmt* s, std::span<const DbParam> params) {
  const int n = sqlite3_bind_parameter_count(s);
  for (int i = 1; i <= n; ++i) {
    const char* raw = sqlite3_bind_parameter_name(s, i);
    const std::u16string name = raw ? Utf8ToU16(raw + 1) : u"?";
    const DbParam* p = raw ? FindParam(params, name) : nullptr;
    if (!p) throw EDatabaseError(u"Parâmetro \"" + name + u"\" não localizado!");
    int rc = SQLITE_OK;
    if (auto b = std::get_if<bool>(&p->Value))
      rc = sqlite3_bind_int(s, i, *b ? 1 : 0);
    else if (auto v = std::get_if<std::int64_t>(&p->Value))
      rc = sqlite3_bind_int64(s, i, *v);
    else if (auto d = std::get_if<double>(&p->Value))
      rc = sqlite3_bind_double(s, i, *d);
    else if (auto t = std::get_if<std::u16string>(&p->Value)) {
      const std::string u = U16ToUtf8(*t);
      rc = sqlite3_bind_text64(s, i, u.data(), u.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    } else
      rc = sqlite3_bind_null(s, i);
    if (rc != SQLITE_OK) Fail(db);
  }
}

// The kind SQLite's own type-affinity rules would give the declared type, with
// Booleans and dates told apart (SQLite stores them as integers and texts).
DbFieldKind KindOf(const char* declared) {
  if (!declared) return DbFieldKind::Unknown;
  const std::u16string t = UpperCase(Utf8ToU16(declared));
  auto has = [&](std::u16string_view w) { return t.find(w) != std::u16string::npos; };
  if (has(u"BOOL")) return DbFieldKind::Boolean;
  if (has(u"DATE") || has(u"TIME")) return DbFieldKind::Date;
  if (has(u"INT")) return DbFieldKind::Integer;
  if (has(u"CHAR") || has(u"CLOB") || has(u"TEXT")) return DbFieldKind::Text;
  if (has(u"REAL") || has(u"FLOA") || has(u"DOUB") || has(u"NUM") || has(u"DEC")) return DbFieldKind::Float;
  return DbFieldKind::Unknown;
}

class SqliteCursor final : public platform::DbCursor {
 public:
  SqliteCursor(Handle db, Statement s) : FDb(std::move(db)), FStmt(std::move(s)) {
    const int n = sqlite3_column_count(FStmt.get());
    for (int i = 0; i < n; ++i) FKinds.push_back(KindOf(sqlite3_column_decltype(FStmt.get(), i)));
    Step();
  }

  void First() override {
    sqlite3_reset(FStmt.get());
    Step();
  }
  void Next() override {
    if (!FEof) Step();
  }
  bool Eof() const override { return FEof; }
  int FieldCount() const override { return static_cast<int>(FKinds.size()); }
  std::u16string FieldName(int i) const override {
    Check(i);
    return Utf8ToU16(sqlite3_column_name(FStmt.get(), i));
  }
  DbFieldKind FieldKind(int i) const override {
    Check(i);
    return FKinds[static_cast<std::size_t>(i)];
  }
  DbValue Field(int i) const override {
    Check(i);
    if (FEof) return {};
    sqlite3_stmt* s = FStmt.get();
    switch (sqlite3_column_type(s, i)) {
      case SQLITE_INTEGER: {
        const std::int64_t v = sqlite3_column_int64(s, i);
        if (FKinds[static_cast<std::size_t>(i)] == DbFieldKind::Boolean) return v != 0;
        return v;
      }
      case SQLITE_FLOAT: return sqlite3_column_double(s, i);
      case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        return Utf8ToU16(std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i))));
      }
      case SQLITE_BLOB: {
        // Each byte becomes the character of that code, as ByteArrayToString does.
        const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(s, i));
        return std::u16string(p, p + sqlite3_column_bytes(s, i));
      }
      default: return {};
    }
  }

 private:
  void Step() {
    const int rc = sqlite3_step(FStmt.get());
    if (rc == SQLITE_ROW) {
      FEof = false;
    } else if (rc == SQLITE_DONE) {
      FEof = true;
    } else {
      FEof = true;
      Fail(FDb.get());
    }
  }
  void Check(int i) const {
    if (i < 0 || i >= FieldCount())
      throw EDatabaseError(u"Campo " + IntToStr(i) + u" fora do resultado (" + IntToStr(FieldCount()) + u" campos)");
  }

  Handle FDb;
  Statement FStmt;
  std::vector<DbFieldKind> FKinds;
  bool FEof = true;
};

class SqliteConnection final : public platform::DbConnection {
 public:
  explicit SqliteConnection(Handle db) : FDb(std::move(db)) {}

  std::unique_ptr<platform::DbCursor> Open(std::u16string_view Sql, std::span<const DbParam> Params) override {
    const std::string text = U16ToUtf8(Sql);
    std::string_view rest = text;
    Statement s = Prepare(FDb.get(), rest);
    if (!s) throw EDatabaseError(u"Nenhum comando SQL para abrir");
    if (Prepare(FDb.get(), rest)) throw EDatabaseError(u"Só um comando SQL pode ser aberto de cada vez");
    Bind(FDb.get(), s.get(), Params);
    return std::make_unique<SqliteCursor>(FDb, std::move(s));
  }

  std::int64_t Execute(std::u16string_view Sql, std::span<const DbParam> Params) override {
    const std::string text = U16ToUtf8(Sql);
    std::string_view rest = text;
    std::int64_t changed = 0;
    // Bounded by the text: every statement consumes some of it.
    while (Statement s = Prepare(FDb.get(), rest)) {
      Bind(FDb.get(), s.get(), Params);
      int rc = SQLITE_ROW;
      while (rc == SQLITE_ROW) rc = sqlite3_step(s.get());
      if (rc != SQLITE_DONE) Fail(FDb.get());
      changed = sqlite3_changes64(FDb.get());
    }
    return changed;
  }

 private:
  Handle FDb;
};

class SqliteDatabases final : public platform::Databases {
 public:
  std::unique_ptr<platform::DbConnection> Connect(std::u16string_view Database, bool ReadOnly) override {
    sqlite3* raw = nullptr;
    const int flags = ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // Names that are not UTF-8 travel escaped; their bytes go back as they came.
    const int rc = sqlite3_open_v2(U16ToUtf8(Database, Utf8Invalid::Escape).c_str(), &raw, flags, nullptr);
    Handle db(raw, [](sqlite3* d) { sqlite3_close_v2(d); });
    if (rc != SQLITE_OK) {
      const std::u16string why = raw ? Utf8ToU16(sqlite3_errmsg(raw)) : u"out of memory";
      throw EDatabaseError(why + u": " + std::u16string(Database));
    }
    sqlite3_extended_result_codes(raw, 1);
    // Another program writing the same file makes us wait a little, not fail at once.
    sqlite3_busy_timeout(raw, 5000);
    return std::make_unique<SqliteConnection>(std::move(db));
  }
};

}  // namespace

platform::Databases& SystemDatabases() {
  static SqliteDatabases databases;
  return databases;
}

}  // namespace zelmor::adapters

// The database module's entry (outside_modules.h).
void zelmor_install_database_services() {
  zelmor::platform::Service<zelmor::platform::Databases>::Set(&zelmor::adapters::SystemDatabases());
}
