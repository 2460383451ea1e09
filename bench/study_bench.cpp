// The study window's question deal and wrong answer, speech off, against the least work the
// same result needs: decoding the six glosses shown, and the same row changes written with
// the bare SQLite API.
#include "bench/bench_support.h"

#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "ui/picture.h"
#include "words/codec.h"
#include "words/word_store.h"

#include <QCoreApplication>
#include <QTest>

#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace keys = settings::keys;

namespace {

/// Every 50th word of the word table put on the new-word list, each still to be learned
/// (difficulty 15), so that the new-word plan has a list of some hundreds to play.
void fillNewWordList(const core::Paths& paths) {
    words::Database table(paths.file(words::kWordFile));
    words::Recordset rs;
    rs.open(table, QString::fromLatin1(words::kWordsByUse));
    words::Database list(paths.file(words::kNewWordFile));
    list.begin();
    int i = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++i) {
        if (i % 50 == 0) {
            list.execute(QStringLiteral("insert into qmlexitable1 (qmword, qmnote, qmuse, "
                                        "qmdelete) values (?, ?, ?, 15)"),
                         {rs.field(words::kWord), rs.field(words::kNote), rs.field(words::kUse)});
        }
    }
    list.commit();
}

/// A study window on screen (offscreen) in a graded plan over the shipped words, its first
/// question dealt.
struct Session {
    explicit Session(const char* plan = "3000", bool shown = true) {
        ui::installFontSubstitutions();
        if (std::string(plan) == "fallible") {
            fillNewWordList(services.fake.folders.paths);
        }
        settings::Store& store = services.fake.folders.store();
        store.write(keys::modeWhichone, QStringLiteral("learn"));
        store.write(keys::modeLearn, QString::fromLatin1(plan));
        window = std::make_unique<Form3>(services.services());
        window->Form_Load();
        if (shown) {
            window->show();
        }
        window->Form_Activate();
        QCoreApplication::processEvents();
    }
    void clickWrongRow() {
        for (int i : {0, 1, 2, 3, 4, 6}) {
            if (i != window->mChoiceSlot[0]) {
                drill::AnswerRow* row = window->Option1[static_cast<size_t>(i)];
                QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(8, row->height() / 2));
                return;
            }
        }
    }
    bench::Services services;
    std::unique_ptr<Form3> window;
};

void BM_QuestionDeal(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        s.window->Command2_Click();
    }
    if (!s.services.fake.failure.messages.isEmpty()) {
        state.SkipWithError(s.services.fake.failure.messages.first().toStdString().c_str());
    }
}
BENCHMARK(BM_QuestionDeal)->Unit(benchmark::kMicrosecond);

void BM_QuestionDealHidden(benchmark::State& state) {
    Session s("3000", false);
    for (auto _ : state) {
        s.window->Command2_Click();
    }
}
BENCHMARK(BM_QuestionDealHidden)->Unit(benchmark::kMicrosecond);

/// The new-word plan's builder: questions and distractors from the new-word list, a verb
/// form's base verb looked up in the word database opened for it.
void BM_QuestionDealNewWords(benchmark::State& state) {
    Session s("fallible");
    for (auto _ : state) {
        s.window->Command2_Click();
    }
    if (!s.services.fake.failure.messages.isEmpty()) {
        state.SkipWithError(s.services.fake.failure.messages.first().toStdString().c_str());
    }
}
BENCHMARK(BM_QuestionDealNewWords)->Unit(benchmark::kMicrosecond);

void BM_QuestionDeal_Baseline(benchmark::State& state) {
    // The stored glosses held in memory; one deal decodes six of them.
    bench::ShippedCopy copy;
    std::vector<QString> notes;
    {
        words::Database db(copy.file(words::kWordFile));
        words::Recordset rs;
        rs.open(db, QString::fromLatin1(words::kWordsByUse));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            notes.push_back(rs.field(words::kNote).text());
        }
    }
    std::mt19937 g(1);
    std::uniform_int_distribution<size_t> pick(0, notes.size() - 1);
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i) {
            benchmark::DoNotOptimize(words::fromStoredNote(notes[pick(g)]));
        }
    }
}
BENCHMARK(BM_QuestionDeal_Baseline)->Unit(benchmark::kMicrosecond);

/// The same least work for a deal of the new-word plan: six glosses decoded.
void BM_QuestionDealNewWords_Baseline(benchmark::State& state) {
    BM_QuestionDeal_Baseline(state);
}
BENCHMARK(BM_QuestionDealNewWords_Baseline)->Unit(benchmark::kMicrosecond);

// ---- Wrong answers ----------------------------------------------------------------------------

/// The first miss of a question: the word joins the new-word list.
void BM_WrongAnswer(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        state.PauseTiming();
        s.window->Command2_Click();  // a fresh question, not yet missed
        state.ResumeTiming();
        s.clickWrongRow();
    }
    state.counters["list_rows"] =
        static_cast<double>(s.services.fake.folders.store().number(keys::checkFallible));
}
BENCHMARK(BM_WrongAnswer)->Unit(benchmark::kMillisecond);

/// A question missed again: its row on the new-word list is raised.
void BM_WrongAnswerAgain(benchmark::State& state) {
    Session s;
    s.clickWrongRow();
    for (auto _ : state) {
        s.clickWrongRow();
    }
}
BENCHMARK(BM_WrongAnswerAgain)->Unit(benchmark::kMillisecond);

/// A repeated miss on a window that is not on screen: the same work without the painting.
void BM_WrongAnswerAgainHidden(benchmark::State& state) {
    Session s("3000", false);
    for (auto _ : state) {
        // No row is selected, so the release judges a wrong answer.
        s.window->Option1_MouseUp(0);
    }
}
BENCHMARK(BM_WrongAnswerAgainHidden)->Unit(benchmark::kMillisecond);

struct Bare {
    explicit Bare(const std::filesystem::path& file) {
        sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~Bare() { sqlite3_close(db); }
    void run(const char* sql, const std::vector<std::string>& texts = {},
             const std::vector<double>& numbers = {}) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        int i = 1;
        for (const std::string& t : texts) {
            sqlite3_bind_text(s, i++, t.c_str(), static_cast<int>(t.size()), SQLITE_STATIC);
        }
        for (double d : numbers) {
            sqlite3_bind_double(s, i++, d);
        }
        while (sqlite3_step(s) == SQLITE_ROW) {
        }
        sqlite3_finalize(s);
    }
    sqlite3* db = nullptr;
};

struct BareRows {
    std::vector<std::string> words, notes;
    std::vector<double> uses;
};

BareRows bareRows(const std::filesystem::path& file) {
    BareRows rows;
    Bare bare(file);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(bare.db, "select qmword, qmnote, qmuse from qmlexitable", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        rows.words.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        rows.notes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
        rows.uses.push_back(sqlite3_column_double(s, 2));
    }
    sqlite3_finalize(s);
    return rows;
}

/// The same changes as a first miss: the word checked on the list and added to it (the list
/// opened for the miss and closed after it), its qmuse lowered in the open word table.
void BM_WrongAnswer_Baseline(benchmark::State& state) {
    bench::ShippedCopy copy;
    const BareRows rows = bareRows(copy.file(words::kWordFile));
    Bare main(copy.file(words::kWordFile));
    std::mt19937 g(1);
    std::uniform_int_distribution<size_t> pick(1501, 3000);
    for (auto _ : state) {
        const size_t i = pick(g) - 1;
        {
            Bare list(copy.file(words::kNewWordFile));
            list.run("select rowid from qmlexitable1 where qmword = ?", {rows.words[i]});
            list.run(
                "insert into qmlexitable1 (qmword, qmnote, qmuse, qmdelete) values (?, ?, ?, "
                "15)",
                {rows.words[i], rows.notes[i]}, {rows.uses[i]});
        }
        main.run("update qmlexitable set qmuse = ? where rowid = ?", {},
                 {std::floor(rows.uses[i] * 0.4), static_cast<double>(i + 1)});
    }
}
BENCHMARK(BM_WrongAnswer_Baseline)->Unit(benchmark::kMillisecond);

/// The same changes as a repeated miss: the word's list row raised and its gloss renewed,
/// its qmuse lowered.
void BM_WrongAnswerAgain_Baseline(benchmark::State& state) {
    bench::ShippedCopy copy;
    const BareRows rows = bareRows(copy.file(words::kWordFile));
    Bare main(copy.file(words::kWordFile));
    const size_t i = 2000;
    {
        Bare list(copy.file(words::kNewWordFile));
        list.run("insert into qmlexitable1 (qmword, qmnote, qmuse, qmdelete) values (?, ?, ?, 15)",
                 {rows.words[i], rows.notes[i]}, {rows.uses[i]});
    }
    for (auto _ : state) {
        {
            Bare list(copy.file(words::kNewWordFile));
            list.run("update qmlexitable1 set qmdelete = qmdelete + 2, qmnote = ? where qmword = ?",
                     {rows.notes[i], rows.words[i]});
        }
        main.run("update qmlexitable set qmuse = ? where rowid = ?", {},
                 {std::floor(rows.uses[i] * 0.4), static_cast<double>(i + 1)});
    }
}
BENCHMARK(BM_WrongAnswerAgain_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
