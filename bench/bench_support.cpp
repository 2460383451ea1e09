#include "bench/bench_support.h"

#include "words/codec.h"
#include "words/recordset.h"
#include "words/word_store.h"

#include <QApplication>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>

namespace fs = std::filesystem;

namespace bench {

namespace {

struct Word {
    QString word;
    QString gloss;
};

// Headwords of lower-case syllables, distinct for distinct numbers.
QString syntheticHeadword(int n) {
    static const char* const syllables[] = {"ba", "ce", "di", "fo", "gu",  "ha",  "je",  "ki",
                                            "lo", "mu", "na", "pe", "ri",  "so",  "tu",  "va",
                                            "we", "xi", "yo", "zu", "bra", "cle", "dri", "fla"};
    constexpr int count = sizeof syllables / sizeof *syllables;
    QString word;
    do {
        word += QLatin1String(syllables[n % count]);
        n /= count;
    } while (n > 0);
    return word + QStringLiteral("x");
}

QString syntheticMeaning(std::mt19937& g) {
    static const QString pool = QStringLiteral(
        "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工"
        "也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小"
        "物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形"
        "相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建"
        "月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长"
        "求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战");
    std::uniform_int_distribution<int> length(2, 6);
    std::uniform_int_distribution<int> meanings(1, 3);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(pool.size()) - 1);
    QStringList parts;
    for (int m = meanings(g); m > 0; --m) {
        QString part;
        for (int c = length(g); c > 0; --c) {
            part += pool[pick(g)];
        }
        parts << part;
    }
    return parts.join(QStringLiteral("；"));
}

// The mix of the shipped vocabulary: mostly nouns, verbs and adjectives, some adverbs and
// other parts of speech, and the inflected forms of verbs that stand earlier in the order.
std::vector<Word> syntheticWords(int first, int count) {
    std::mt19937 g(15374);
    std::uniform_int_distribution<int> kind(0, 99);
    std::vector<Word> out;
    std::vector<QString> verbs;
    for (int i = 0; i < count; ++i) {
        const QString head = syntheticHeadword(first + i);
        const int k = kind(g);
        if (k < 6 && !verbs.empty()) {
            static const char* const markers[] = {"的过去式", "的过去分词", "的现在分词"};
            const QString& base = verbs[static_cast<size_t>(g() % verbs.size())];
            out.push_back({head + QStringLiteral("ed"),
                           QStringLiteral("v.") + base + QString::fromUtf8(markers[g() % 3])});
            continue;
        }
        const char* prefix = k < 45   ? "n."
                             : k < 65 ? "v."
                             : k < 83 ? "adj."
                             : k < 91 ? "adv."
                             : k < 95 ? "prep."
                                      : "vt.";
        if (k >= 45 && k < 65) {
            verbs.push_back(head);
        }
        out.push_back({head, QString::fromLatin1(prefix) + syntheticMeaning(g)});
    }
    return out;
}

fs::path shippedFolder() {
    return fs::path(QM_BUILD_DIR) / "shipped";
}

// The laid word database, made once per run.
struct Laid {
    QTemporaryDir dir;
    int rows = 0;
};

Laid& laid() {
    static Laid l;
    static std::once_flag once;
    std::call_once(once, [] {
        const fs::path target = fs::path(l.dir.path().toStdString()) / words::kWordFile;
        std::vector<Word> rows;
        {
            words::Database shipped(shippedFolder() / words::kWordFile);
            words::Recordset rs;
            rs.open(shipped, QString::fromLatin1(words::kWordsByUse));
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                rows.push_back({rs.field(words::kWord).text(), words::currentGloss(rs)});
            }
        }
        const int shippedRows = static_cast<int>(rows.size());
        if (shippedRows < kFullVocabulary) {
            std::fprintf(stderr,
                         "note: the shipped word database holds %d words; synthetic words fill "
                         "it up to %d for these figures\n",
                         shippedRows, kFullVocabulary);
            for (Word& w : syntheticWords(shippedRows, kFullVocabulary - shippedRows)) {
                rows.push_back(std::move(w));
            }
        }
        auto db = words::Database::create(target);
        words::createWordTable(*db, words::kWordTable);
        db->begin();
        const int count = static_cast<int>(rows.size());
        for (int i = 0; i < count; ++i) {
            const Word& w = rows[static_cast<size_t>(i)];
            db->execute(QStringLiteral("insert into qmlexitable (qmword, qmnote, qmuse, qmdelete) "
                                       "values (?, ?, ?, ?)"),
                        {w.word, words::toStoredNote(w.gloss),
                         static_cast<double>(30 + count - 1 - i), 10.0});
        }
        db->commit();
        l.rows = count;
    });
    return l;
}

}  // namespace

void layShippedFiles(const fs::path& folder) {
    const fs::path words = fs::path(laid().dir.path().toStdString()) / words::kWordFile;
    fs::copy_file(words, folder / words::kWordFile, fs::copy_options::overwrite_existing);
    for (const char* name : {words::kNewWordFile, words::kNewWordTemplate}) {
        fs::copy_file(shippedFolder() / name, folder / name, fs::copy_options::overwrite_existing);
    }
}

int laidWordCount() {
    return laid().rows;
}

ShippedCopy::ShippedCopy() {
    layShippedFiles(folder());
}

Services::Services() {
    layShippedFiles(fake.folders.paths.programFolder);
}

core::WindowServices Services::services() {
    return fake.servicesOver(fake.folders.paths, fake.folders.store(), random);
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& e : env) {
            putenv(const_cast<char*>(e.c_str()));
        }
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(argv, env);
    ChildRun run;
    struct rusage usage {};
    wait4(pid, &run.status, 0, &usage);
    run.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    return run;
}

fs::path benchFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
