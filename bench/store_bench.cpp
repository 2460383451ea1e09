// Loading the word table as the study window does, against the bare SQLite API.
#include "bench/bench_support.h"

#include "core/paths.h"
#include "words/word_store.h"

#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_StudyLoad(benchmark::State& state) {
    bench::ShippedCopy copy;
    core::Paths paths{copy.folder(), copy.folder() / "no-maintainer-file"};
    for (auto _ : state) {
        words::StorePair main;
        words::openPair(main, paths, words::kWordFile, QString::fromLatin1(words::kWordsByUse));
        benchmark::DoNotOptimize(words::countWordsInPlay(main.rs, 29));
        words::closePair(main);
    }
}
BENCHMARK(BM_StudyLoad)->Unit(benchmark::kMillisecond);

struct BareRow {
    long long rowid;
    std::string word;
    std::string note;
    double use;
    double del;
};

void BM_StudyLoad_Baseline(benchmark::State& state) {
    bench::ShippedCopy copy;
    const std::string file = copy.file("qmlexi.dic").string();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "select rowid, * from qmlexitable order by qmuse desc", -1, &s,
                           nullptr);
        std::vector<BareRow> rows;
        while (sqlite3_step(s) == SQLITE_ROW) {
            auto text = [s](int i) {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
                return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s, i)))
                         : std::string();
            };
            rows.push_back({sqlite3_column_int64(s, 0), text(1), text(2),
                            sqlite3_column_double(s, 3), sqlite3_column_double(s, 4)});
        }
        sqlite3_finalize(s);
        int inPlay = 0;
        while (inPlay < static_cast<int>(rows.size()) &&
               rows[static_cast<size_t>(inPlay)].use > 29) {
            ++inPlay;
        }
        benchmark::DoNotOptimize(inPlay);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_StudyLoad_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
