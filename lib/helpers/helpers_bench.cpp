// QueryToSQL on a query of 50 parameters of every handled type, StringListDistinct
// on 10,000 to 100,000 lines (a third of them repeated in other case) to show the growth,
// and RecordCount over 100,000 rows of an SQLite file.
#include <benchmark/benchmark.h>

#include <string>

#include "core/text.h"
#include "helpers/helpers.h"
#include "helpers/query.h"
#include "platform/service.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

void BM_QueryToSQL50(benchmark::State& state) {
  TzelQuery q;
  std::u16string sql = u"insert into vendas values(";
  for (int i = 0; i < 50; ++i) {
    const std::u16string name = u"p" + IntToStr(i);
    sql += (i ? u", :" : u":") + name;
    switch (i % 5) {
      case 0: q.SetParam(name, TzelFieldType::Texto, std::u16string(u"O'Hara às 10:30")); break;
      case 1: q.SetParam(name, TzelFieldType::Inteiro, std::int64_t{i * 1000}); break;
      case 2: q.SetParam(name, TzelFieldType::Flutuante, i * 1.25); break;
      case 3: q.SetParam(name, TzelFieldType::Data, TDateTime(45000.0 + i)); break;
      default: q.SetParam(name, TzelFieldType::Texto, Variant{}); break;
    }
  }
  q.SQL.Add(sql + u")");
  for (auto _ : state) benchmark::DoNotOptimize(TmRot::QueryToSQL(q));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QueryToSQL50);

void BM_StringListDistinct(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TStringList source;
  for (int i = 0; i < n; ++i) {
    const int key = i % (2 * n / 3 + 1);
    source.Add((i & 1 ? u"PRODUTO " : u"produto ") + IntToStr(key));
  }
  for (auto _ : state) {
    state.PauseTiming();
    TStringList l = source;
    state.ResumeTiming();
    TmRot::StringListDistinct(l);
    benchmark::DoNotOptimize(l.Items.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.SetComplexityN(n);
}
BENCHMARK(BM_StringListDistinct)->Arg(10'000)->Arg(100'000)->Complexity(benchmark::oN);

// The whole walk: back to the first row, every row stepped, back to the first again.
void BM_RecordCount(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  testing::FileTree files;
  auto db = platform::Service<platform::Databases>::Get().Connect(files.Path("bench.db"), false);
  auto fill = TmRot::CreateQuery(*db);
  fill->SQL.Add(u"create table vendas(id integer primary key, produto text, valor real);");
  fill->SQL.Add(u"with recursive n(i) as (select 1 union all select i + 1 from n where i < :n)");
  fill->SQL.Add(u"insert into vendas select i, 'produto ' || i, i * 1.5 from n");
  fill->SetParam(u"n", TzelFieldType::Inteiro, std::int64_t{n});
  fill->ExecSQL();
  auto q = TmRot::CreateQuery(*db);
  q->SQL.Add(u"select id, produto, valor from vendas");
  q->Open();
  for (auto _ : state)
    if (TmRot::RecordCount(*q) != n) state.SkipWithError("wrong count");
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RecordCount)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelmor
