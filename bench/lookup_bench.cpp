// The dictionary window's look-ups over the whole word table against a plain scan of the
// decoded glosses held in memory, and its import of the maintainer's file against the sqlite3
// shell importing the same rows in one transaction.
#include "bench/bench_support.h"

#include "core/text.h"
#include "lookup/dictionary_window.h"
#include "lookup/lookup_rules.h"
#include "ui/picture.h"
#include "words/codec.h"
#include "words/word_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

struct Entry {
    QString word;
    QString gloss;
};

std::vector<Entry> decodedTable(const std::filesystem::path& file) {
    words::Database db(file);
    words::Recordset rs;
    rs.open(db, QString::fromLatin1(words::kWordsByWord));
    std::vector<Entry> entries;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        entries.push_back({rs.field(words::kWord).text(), words::currentGloss(rs)});
    }
    return entries;
}

// An English entry that no headword equals, with near matches: the look-up walks every row.
QString englishEntry(const std::vector<Entry>& table) {
    return table[table.size() / 2].word + QStringLiteral("qz");
}

// A Chinese entry found in only a few glosses, so that the walk runs to the end.
QString chineseEntry(const std::vector<Entry>& table) {
    for (size_t i = table.size() / 3; i < table.size(); ++i) {
        const QString& g = table[i].gloss;
        const qsizetype dot = g.indexOf(QLatin1Char('.'));
        if (dot < 0 || g.size() < dot + 3) {
            continue;
        }
        const QString candidate = g.mid(dot + 1, 2);
        int hits = 0;
        for (const Entry& e : table) {
            hits += e.gloss.contains(candidate) ? 1 : 0;
        }
        if (hits >= 2 && hits <= 10 && lookup::takesChinesePath(candidate)) {
            return candidate;
        }
    }
    return QStringLiteral("苹果");
}

struct Dictionary {
    Dictionary() {
        ui::installFontSubstitutions();
        window = std::make_unique<Form4>(services.services());
        window->Form_Load();
        window->show();
        QCoreApplication::processEvents();
        table = decodedTable(services.fake.folders.paths.file(words::kWordFile));
    }
    void lookUp(const QString& entry) {
        window->Text1->setText(entry);
        window->Image2_Click();
    }
    bench::Services services;
    std::unique_ptr<Form4> window;
    std::vector<Entry> table;
};

void BM_LookUpEnglish(benchmark::State& state) {
    Dictionary d;
    const QString entry = englishEntry(d.table);
    for (auto _ : state) {
        d.lookUp(entry);
    }
    state.counters["shown_chars"] = static_cast<double>(d.window->Text2->toPlainText().size());
}
BENCHMARK(BM_LookUpEnglish)->Unit(benchmark::kMillisecond);

void BM_LookUpEnglish_Baseline(benchmark::State& state) {
    bench::ShippedCopy copy;
    const std::vector<Entry> table = decodedTable(copy.file(words::kWordFile));
    const QString entry = englishEntry(table);
    for (auto _ : state) {
        QString found;
        for (const Entry& e : table) {
            if (lookup::isExactHit(entry, e.word)) {
                found = e.gloss;
                break;
            }
            if (lookup::isNearMatch(entry, e.word)) {
                found += e.word + e.gloss;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_LookUpEnglish_Baseline)->Unit(benchmark::kMillisecond);

void BM_LookUpChinese(benchmark::State& state) {
    Dictionary d;
    const QString entry = chineseEntry(d.table);
    for (auto _ : state) {
        d.lookUp(entry);
    }
    state.counters["shown_chars"] = static_cast<double>(d.window->Text2->toPlainText().size());
}
BENCHMARK(BM_LookUpChinese)->Unit(benchmark::kMillisecond);

void BM_LookUpChinese_Baseline(benchmark::State& state) {
    bench::ShippedCopy copy;
    const std::vector<Entry> table = decodedTable(copy.file(words::kWordFile));
    const QString entry = chineseEntry(table);
    for (auto _ : state) {
        // The look-up's own matching and list: the entry without outer blanks, searched in
        // each gloss, the first 31 matches listed with their headwords.
        const QString wanted = lookup::trimBlanks(entry);
        lookup::ResultList found;
        bool cutOff = false;
        for (const Entry& e : table) {
            if (e.gloss.contains(wanted)) {
                found.add(e.word, e.gloss);
                if (found.count() > lookup::kChineseMatchLimit) {
                    cutOff = true;
                    break;
                }
            }
        }
        QString shown = found.matches(cutOff);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_LookUpChinese_Baseline)->Unit(benchmark::kMillisecond);

// ---- Import -----------------------------------------------------------------------------------

constexpr int kImportLines = 10000;

std::vector<Entry> importRows() {
    std::vector<Entry> rows;
    for (int i = 0; i < kImportLines; ++i) {
        rows.push_back({QStringLiteral("importword%1").arg(i),
                        QStringLiteral("n.录入的词第%1号；新词").arg(i)});
    }
    return rows;
}

/// The maintainer's file: GBK text, CR LF line ends, headword, two blanks, gloss.
void writeImportFile(const std::filesystem::path& file, const std::vector<Entry>& rows) {
    std::filesystem::create_directories(file.parent_path());
    QByteArray content;
    for (const Entry& e : rows) {
        content += core::toGbk(e.word + QStringLiteral("  ") + e.gloss).value_or(QByteArray());
        content += "\r\n";
    }
    QFile f(core::pathText(file));
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

void BM_Import10000(benchmark::State& state) {
    ui::installFontSubstitutions();
    bench::Services services;
    const core::Paths& paths = services.fake.folders.paths;
    writeImportFile(paths.maintainerFile, importRows());
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::layShippedFiles(paths.programFolder);
        auto window = std::make_unique<Form4>(services.services());
        window->Form_Load();
        state.ResumeTiming();
        window->Command1_Click();
        state.PauseTiming();
        rows = window->mWords.rs.recordCount();
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rows_after"] = rows;
    if (!services.fake.failure.messages.isEmpty()) {
        state.SkipWithError(services.fake.failure.messages.first().toStdString().c_str());
    }
}
BENCHMARK(BM_Import10000)->Unit(benchmark::kMillisecond);

QString sqlText(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

void BM_Import10000_Baseline(benchmark::State& state) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const std::filesystem::path script = folder / "import.sql";
    {
        std::ofstream out(script);
        out << "begin;\n";
        for (const Entry& e : importRows()) {
            out << "insert into qmlexitable (qmword, qmnote, qmuse, qmdelete) values ("
                << sqlText(e.word).toStdString() << ", "
                << sqlText(words::toStoredNote(e.gloss)).toStdString() << ", 10, 10);\n";
        }
        out << "commit;\n";
    }
    for (auto _ : state) {
        state.PauseTiming();
        bench::layShippedFiles(folder);
        state.ResumeTiming();
        const bench::ChildRun run = bench::runChild(
            {"sqlite3", (folder / words::kWordFile).string(), ".read " + script.string()});
        if (run.status != 0) {
            state.SkipWithError("sqlite3 failed");
        }
    }
}
BENCHMARK(BM_Import10000_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
