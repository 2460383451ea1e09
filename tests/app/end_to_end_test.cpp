// The real program on an X display of its own, inside a network namespace of its own, driven
// by pointer clicks and typed keys: start window, settings window with the graded plan "600",
// five answers in the study window, back to the start window, a look-up in the dictionary
// window, back again and out. Afterwards the settings store and the database files hold
// exactly what those answers change, and the grabs of every window show what they should.
#include "app/start_window.h"
#include "lookup/dictionary_window.h"
#include "settings/keys.h"
#include "settings/settings_window.h"

#include "tests/app/start_fakes.h"
#include "tests/support/fakes.h"
#include "tests/support/folders.h"
#include "ui/picture.h"
#include "words/codec.h"
#include "words/word_store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTextStream>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <set>

namespace {

namespace keys = settings::keys;

// A word of the shipped database, stored once, looked up in the dictionary window.
const char kLookedUpWord[] = "daughter";
constexpr int kAnswers = 5;
// The plan the settings window is given: "600", the 600 words of most use.
const char kPlan[] = "600";
constexpr int kPlanWords = 600;
// A grab made this soon after a right answer's last write falls within the pause after it.
constexpr int kPromptGrabMs = 600;

// The tools the round trip runs; empty when all are there, else the first one missing.
QString missingTool() {
    for (const char* tool :
         {"unshare", "xvfb-run", "xdotool", "xprop", "xwininfo", "import", "compare", "cksum"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            return QString::fromLatin1(tool);
        }
    }
    return {};
}

/// How `unshare` gives the program a network namespace of its own here: `-n` for root, `-rn`
/// (a user namespace of its own as well, in which the caller is root) for everybody else.
/// Empty where neither can be made; `why` then says what unshare answered.
QString ownNetworkFlag(QString& why) {
    QStringList flags{QStringLiteral("-rn")};
    if (geteuid() == 0) {
        flags.prepend(QStringLiteral("-n"));
    }
    for (const QString& flag : flags) {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(QStringLiteral("unshare"), {flag, QStringLiteral("true")});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0) {
            return flag;
        }
        why += QStringLiteral("unshare %1: %2 ").arg(flag, QString::fromLocal8Bit(probe.readAll()));
    }
    return {};
}

bool copyInto(const QString& from, const QString& folder) {
    const QString to = folder + QLatin1Char('/') + QFileInfo(from).fileName();
    return QFile::copy(from, to) &&
           QFile::setPermissions(to, QFile::permissions(from) | QFileDevice::WriteOwner);
}

QString folderText(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// ---- What the script reports ------------------------------------------------------------------

struct Step {
    QString name;
    QString window;
    QString size;
};

struct Report {
    std::vector<Step> steps;        // every window recorded, in order
    std::vector<bool> right;        // the answers as the script saw them taken, in order
    std::vector<int> grabbedAfter;  // per answer: ms from its last write to its grab (right)
};

Report readReport(const QString& file) {
    Report report;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return report;
    }
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(QLatin1Char(' '));
        if (parts.value(0) == QLatin1String("answer")) {
            report.right.push_back(parts.value(2) == QLatin1String("right"));
            report.grabbedAfter.push_back(parts.value(3).toInt());
        } else {
            report.steps.push_back({parts.value(0), parts.value(1), parts.value(2)});
        }
    }
    return report;
}

// ---- The files the program keeps ------------------------------------------------------------

/// Every file of a folder by name, with its bytes.
std::map<QString, QByteArray> filesOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files[QFileInfo(f).fileName()] = f.readAll();
    }
    return files;
}

/// Every setting of one settings file as "section/key" -> text; none when there is no file.
std::map<QString, QString> settingsOf(const QString& file) {
    std::map<QString, QString> values;
    if (!QFileInfo::exists(file)) {
        return values;
    }
    QSettings s(file, QSettings::IniFormat);
    for (const QString& key : s.allKeys()) {
        values[key] = s.value(key).toString();
    }
    return values;
}

QString keyName(const settings::Key& key) {
    return QString::fromLatin1(key.section) + QLatin1Char('/') + QString::fromLatin1(key.key);
}

/// The rows of the three database files.
struct Databases {
    std::vector<words::WordEntry> words;      // qmlexi.dic in rowid order
    std::vector<words::WordEntry> list;       // fallible.dic
    std::vector<words::WordEntry> templated;  // falliblebak.dic

    explicit Databases(const std::filesystem::path& folder)
        : words(testing_support::readRows(folder / words::kWordFile, words::kWordTable)),
          list(testing_support::readRows(folder / words::kNewWordFile, words::kNewWordTable)),
          templated(
              testing_support::readRows(folder / words::kNewWordTemplate, words::kNewWordTable)) {}
};

bool sameRow(const words::WordEntry& a, const words::WordEntry& b) {
    return a.qmword == b.qmword && a.qmnote == b.qmnote && a.qmuse == b.qmuse &&
           a.qmdelete == b.qmdelete;
}

std::string describe(const words::WordEntry& e) {
    return (e.qmword ? e.qmword->toStdString() : std::string("(null)")) + " use " +
           std::to_string(e.qmuse) + " delete " + std::to_string(e.qmdelete);
}

// ---- The answers behind the changes ---------------------------------------------------------

/// The word table's rows and the new-word list with its two counters as the answers leave
/// them: right raises the word's qmuse by 5; a miss puts the word on the list (a row of 15,
/// counted in both counters; the template replaces the list at the first miss ever) or raises
/// its rows there by 2 when the list holds it, then lowers qmuse to floor(0.4 x).
struct Progress {
    std::map<size_t, double> use;  // qmuse of the word table's rows that questions came from
    std::vector<words::WordEntry> list;
    std::optional<double> listed;   // check/fallible, nothing while not stored
    std::optional<double> pending;  // auto/fallible
    int learned = 0;                // right answers, added to check/learnedtime ("0" at load)

    void right(size_t row) {
        use[row] += 5;
        ++learned;
    }

    void wrong(size_t row, const Databases& before) {
        const words::WordEntry& word = before.words[row];
        if (!listed) {
            listed = 0;
            list = before.templated;
        }
        bool found = false;
        if (pending.value_or(0) > 0) {
            for (words::WordEntry& e : list) {
                if (e.qmword == word.qmword) {
                    e.qmdelete += 2;
                    e.qmnote = word.qmnote;
                    found = true;
                }
            }
        }
        if (!found) {
            list.push_back({word.qmword, word.qmnote, use[row], 15});
            listed = *listed + 1;
            pending = pending.value_or(0) + 1;
        }
        use[row] = std::floor(use[row] * 0.4);
    }
};

/// The questions of a run of answers: each is answered wrong until it is answered right;
/// the last may end on a miss. Each entry lists the question's answers.
std::vector<std::vector<bool>> questionsOf(const std::vector<bool>& answers) {
    std::vector<std::vector<bool>> questions(1);
    for (bool right : answers) {
        questions.back().push_back(right);
        if (right) {
            questions.emplace_back();
        }
    }
    if (questions.back().empty()) {
        questions.pop_back();
    }
    return questions;
}

/// Looks for a draw of question words (rows among `candidates`) under which the answers,
/// in their order, leave exactly the word table, list and counters found afterwards.
std::optional<std::vector<size_t>> drawBehind(const std::vector<bool>& answers,
                                              const std::vector<size_t>& candidates,
                                              const Databases& before, const Databases& after,
                                              std::optional<double> listed,
                                              std::optional<double> pending, int learned) {
    const auto questions = questionsOf(answers);
    std::vector<size_t> draw(questions.size());
    std::function<bool(size_t)> tryFrom = [&](size_t q) {
        if (q == questions.size()) {
            Progress p;
            for (size_t row : candidates) {
                p.use[row] = before.words[row].qmuse;
            }
            p.list = before.list;
            for (size_t i = 0; i < questions.size(); ++i) {
                for (bool right : questions[i]) {
                    right ? p.right(draw[i]) : p.wrong(draw[i], before);
                }
            }
            if (p.learned != learned || p.listed != listed || p.pending != pending ||
                p.list.size() != after.list.size()) {
                return false;
            }
            for (size_t i = 0; i < p.list.size(); ++i) {
                if (!sameRow(p.list[i], after.list[i])) {
                    return false;
                }
            }
            return std::all_of(candidates.begin(), candidates.end(),
                               [&](size_t row) { return p.use[row] == after.words[row].qmuse; });
        }
        for (size_t row : candidates) {
            draw[q] = row;
            if (tryFrom(q + 1)) {
                return true;
            }
        }
        return false;
    };
    if (tryFrom(0)) {
        return draw;
    }
    return std::nullopt;
}

// ---- Grabs ------------------------------------------------------------------------------------

// Mean difference per colour channel over an area of two grabs, every third pixel; the start
// window's logo and link labels can be left out (the animation and the voice check change
// them).
double meanDifference(const QImage& a, const QImage& b, const QRect& area = QRect(0, 0, 800, 600),
                      bool leaveOutAnimation = false) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int count = 0;
    for (int py = area.top(); py <= area.bottom(); py += 3) {
        for (int px = area.left(); px <= area.right(); px += 3) {
            if (leaveOutAnimation && ((px < 130 && py < 110) || (px >= 350 && py < 100))) {
                continue;
            }
            const QRgb p = x.pixel(px, py);
            const QRgb q = y.pixel(px, py);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
            count += 3;
        }
    }
    return count == 0 ? 0 : sum / count;
}

// Pixels of the answer frame in the colour of a right answer's text.
int rightAnswerPixels(const QImage& grab) {
    const QImage x = grab.convertToFormat(QImage::Format_RGB32);
    int found = 0;
    for (int py = 136; py < 505; ++py) {
        for (int px = 64; px < 737; ++px) {
            const QRgb p = x.pixel(px, py);
            if (std::abs(qRed(p) - 44) < 12 && std::abs(qGreen(p) - 44) < 12 &&
                std::abs(qBlue(p) - 238) < 12) {
                ++found;
            }
        }
    }
    return found;
}

const QRect kResultBox(136, 96, 537, 297);  // the dictionary window's result
const QRect kResultTop(137, 97, 120, 50);   // its first lines: the word and its gloss
const QRect kPlan600(80, 216, 20, 33);      // the indicator of the plan "600"
const QRect kPlanPreset(176, 128, 20, 33);  // the indicator of the layout's preset plan

class EndToEnd : public ::testing::Test {
  protected:
    void prepareFolders();
    void runRoundTrip();
    void checkWindows();
    void checkProgramFolder();
    void checkWordTableAndList();
    void checkSettings();
    void checkAnswersExplainChanges();
    void checkStartAndSettingsGrabs();
    void checkStudyGrabs();
    void checkDictionaryGrabs();

    QImage grab(const QString& step) const { return QImage(out + '/' + step + ".png"); }
    int wrongAnswers() const {
        return static_cast<int>(std::count(report.right.begin(), report.right.end(), false));
    }

    QTemporaryDir dir;
    QString program = dir.filePath(QStringLiteral("program"));
    QString home = dir.filePath(QStringLiteral("home"));
    QString config = home + QStringLiteral("/.config");
    // The grabs stay in the build tree for a look after the run.
    QString out = testing_support::outputFolder(QStringLiteral("end_to_end"));
    QString shipped = QStringLiteral(QM_BUILD_DIR "/shipped/");
    std::filesystem::path programPath = program.toStdString();
    const settings::IniStore store{config};

    std::map<QString, QByteArray> filesBefore;
    std::optional<Databases> before, after;
    Report report;
    std::set<size_t> touched;  // rows of the word table that questions came from
    size_t added = 0;          // rows put on the new-word list
    QImage startLooks;
    QString networkFlag;  // unshare's flag for a network namespace of the program's own
};

void EndToEnd::prepareFolders() {
    ASSERT_TRUE(QDir(out).removeRecursively());
    for (const QString& folder : {program, config, out}) {
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    // A program folder of its own, with freshly built word files: the learner's stay untouched.
    for (const QString& file :
         {QStringLiteral(QM_PROGRAM_FOLDER "/vocabtrainer"), shipped + "qmlexi.dic",
          shipped + "fallible.dic", shipped + "falliblebak.dic",
          QStringLiteral(QM_SOURCE_DIR "/data/error.bat"),
          QStringLiteral(QM_PROGRAM_FOLDER "/vw_kate.voice")}) {
        ASSERT_TRUE(copyInto(file, program)) << file.toStdString();
    }
    filesBefore = filesOf(program);
    before.emplace(programPath);
    ASSERT_TRUE(filesOf(config).empty()) << "a fresh settings folder";
    // The word looked up is stored once, so the look-up is an exact hit.
    const auto looked = std::count_if(before->words.begin(), before->words.end(), [](auto& e) {
        return e.qmword == QString::fromLatin1(kLookedUpWord);
    });
    ASSERT_EQ(looked, 1) << kLookedUpWord;
}

void EndToEnd::runRoundTrip() {
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("unshare"),
              {networkFlag, QStringLiteral("xvfb-run"), QStringLiteral("-a"), QStringLiteral("-s"),
               QStringLiteral("-screen 0 1024x768x24"), QStringLiteral("sh"),
               QStringLiteral(QM_SOURCE_DIR "/tests/app/end_to_end.sh"), program + "/vocabtrainer",
               out, config, QString::fromLatin1(kLookedUpWord)});
    ASSERT_TRUE(run.waitForFinished(100000)) << "the round trip did not end";
    const QByteArray output = run.readAll();
    report = readReport(out + "/steps.txt");
    ASSERT_EQ(report.right.size(), static_cast<size_t>(kAnswers)) << output.toStdString();
    after.emplace(programPath);
}

void EndToEnd::checkWindows() {
    std::vector<QString> order{"start", "settings", "settings-plan", "study"};
    for (int i = 1; i <= kAnswers; ++i) {
        order.push_back(QStringLiteral("answer-%1").arg(i));
    }
    order.insert(order.end(), {"return", "dictionary", "lookup", "final"});
    ASSERT_EQ(report.steps.size(), order.size());
    std::map<QString, QString> windowOf;
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(report.steps[i].name, order[i]);
        EXPECT_EQ(report.steps[i].size, QStringLiteral("800x600")) << order[i].toStdString();
        windowOf[report.steps[i].name] = report.steps[i].window;
    }
    EXPECT_EQ(windowOf["settings-plan"], windowOf["settings"]);
    EXPECT_EQ(windowOf["answer-5"], windowOf["study"]);
    EXPECT_EQ(windowOf["lookup"], windowOf["dictionary"]);
    const std::set<QString> windows{windowOf["start"],  windowOf["settings"],   windowOf["study"],
                                    windowOf["return"], windowOf["dictionary"], windowOf["final"]};
    EXPECT_EQ(windows.size(), 6u) << "every window shown is a new one";

    QFile status(out + "/status.txt");
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    EXPECT_EQ(status.readAll().trimmed(), QByteArray("0")) << "the exit button ends the program";
}

void EndToEnd::checkProgramFolder() {
    const std::map<QString, QByteArray> filesAfter = filesOf(program);
    std::set<QString> namesBefore, namesAfter;
    for (const auto& [name, bytes] : filesBefore) {
        namesBefore.insert(name);
    }
    for (const auto& [name, bytes] : filesAfter) {
        namesAfter.insert(name);
    }
    ASSERT_EQ(namesAfter, namesBefore) << "no file made or removed in the program folder";
    for (const char* unchanged :
         {"vocabtrainer", "error.bat", "vw_kate.voice", words::kNewWordTemplate}) {
        EXPECT_EQ(filesAfter.at(QString::fromLatin1(unchanged)),
                  filesBefore.at(QString::fromLatin1(unchanged)))
            << unchanged;
    }

    // The dictionary window and the start windows change nothing: every file stands as the
    // study window left it.
    const std::map<QString, QByteArray> afterStudy = filesOf(out + "/after-study");
    EXPECT_TRUE(afterStudy.count(QStringLiteral("qmlexi.dic")) &&
                afterStudy.count(QStringLiteral("qmword.ini")));
    for (const auto& [name, bytes] : afterStudy) {
        QFile f((name.endsWith(QLatin1String(".ini")) ? config : program) + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(f.readAll(), bytes) << name.toStdString() << " changed after the study window";
    }
}

void EndToEnd::checkWordTableAndList() {
    ASSERT_EQ(after->words.size(), before->words.size());
    std::vector<size_t> byUse(before->words.size());
    std::iota(byUse.begin(), byUse.end(), 0);
    std::stable_sort(byUse.begin(), byUse.end(), [&](size_t a, size_t b) {
        return before->words[a].qmuse > before->words[b].qmuse;
    });
    ASSERT_GE(byUse.size(), static_cast<size_t>(kPlanWords));
    // The plan plays the 600 words of most use; a tie at its edge may fall either way.
    const double lastInPlan = before->words[byUse[kPlanWords - 1]].qmuse;
    const auto inPlan = [&](size_t row) { return before->words[row].qmuse >= lastInPlan; };

    // The word table: only qmuse changes, and only for words of the plan.
    for (size_t i = 0; i < before->words.size(); ++i) {
        const words::WordEntry& b = before->words[i];
        const words::WordEntry& a = after->words[i];
        EXPECT_TRUE(a.qmword == b.qmword && a.qmnote == b.qmnote && a.qmdelete == b.qmdelete)
            << "row " << i << ": " << describe(b) << " became " << describe(a);
        if (a.qmuse != b.qmuse) {
            touched.insert(i);
            EXPECT_TRUE(inPlan(i)) << describe(b) << " is no word of the plan";
        }
    }
    EXPECT_LE(touched.size(), static_cast<size_t>(kAnswers));

    // The new-word list: the template's rows after a miss, then one row per word missed.
    const std::vector<words::WordEntry>& base =
        wrongAnswers() > 0 ? before->templated : before->list;
    ASSERT_GE(after->list.size(), base.size());
    for (size_t i = 0; i < base.size(); ++i) {
        EXPECT_TRUE(sameRow(after->list[i], base[i])) << describe(after->list[i]);
    }
    added = after->list.size() - base.size();
    EXPECT_LE(added, static_cast<size_t>(wrongAnswers()));
    EXPECT_EQ(added == 0, wrongAnswers() == 0) << "a miss puts its word on the list";
    for (size_t i = base.size(); i < after->list.size(); ++i) {
        bool found = false;
        for (size_t row = 0; row < before->words.size(); ++row) {
            if (before->words[row].qmword == after->list[i].qmword && inPlan(row)) {
                touched.insert(row);
                found = true;
            }
        }
        EXPECT_TRUE(found) << describe(after->list[i]) << " is no word of the plan";
    }
}

void EndToEnd::checkSettings() {
    // Words in play: from the top while qmuse is above 29 (there is no maintainer file).
    const auto inPlay = std::count_if(before->words.begin(), before->words.end(),
                                      [](const words::WordEntry& e) { return e.qmuse > 29; });
    // The plan, the first-start marker, the words in play, the answers' counters and the
    // level that leaving a study plan stores.
    std::map<QString, QString> expected{
        {keyName(keys::modeLearn), QString::fromLatin1(kPlan)},
        {keyName(keys::modeWhichone), QStringLiteral("learn")},
        {keyName(keys::checkBatprocess), QStringLiteral("OK")},
        {keyName(keys::checkWordNumber), QString::number(inPlay)},
        {keyName(keys::checkLearnedtime), QString::number(kAnswers - wrongAnswers())},
        {keyName(keys::autoIautoflag), QStringLiteral("0")},
    };
    if (wrongAnswers() > 0) {
        expected[keyName(keys::checkFallible)] = QString::number(added);
        expected[keyName(keys::autoFallible)] = QString::number(added);
    }
    EXPECT_EQ(settingsOf(store.fileOf("qmword")), expected) << "qmword settings";

    // The first start's voice check finds the voice the program brings, and stores only that
    // find; the words it then speaks find no sound device here, and the round goes on. The
    // sibling program's key is only read.
    const QString voiceSettings = store.fileOf("qmgm");
    const std::map<QString, QString> found{{keyName(keys::voiceSwitch), QStringLiteral("true")}};
    EXPECT_EQ(settingsOf(voiceSettings), found);
    EXPECT_FALSE(QFileInfo::exists(store.fileOf("QuillMoor")));
    QStringList files = QDir(config).entryList({QStringLiteral("*.ini")}, QDir::Files);
    files.removeAll(QFileInfo(voiceSettings).fileName());
    EXPECT_EQ(files, QStringList{QFileInfo(store.fileOf("qmword")).fileName()});
}

void EndToEnd::checkAnswersExplainChanges() {
    const std::map<QString, QString> stored = settingsOf(store.fileOf("qmword"));
    const auto counter = [&](const settings::Key& key) -> std::optional<double> {
        const auto it = stored.find(keyName(key));
        return it == stored.end() ? std::nullopt : std::optional<double>(it->second.toDouble());
    };
    const std::vector<size_t> candidates(touched.begin(), touched.end());
    const auto draw =
        drawBehind(report.right, candidates, *before, *after, counter(keys::checkFallible),
                   counter(keys::autoFallible), kAnswers - wrongAnswers());
    std::string seen;
    for (bool right : report.right) {
        seen += right ? "R" : "W";
    }
    for (size_t row : candidates) {
        seen += " | " + describe(before->words[row]) + " -> " + describe(after->words[row]);
    }
    for (const auto& e : after->list) {
        seen += " | listed " + describe(e);
    }
    EXPECT_TRUE(draw.has_value()) << "no draw of question words explains the changes: " << seen;
}

void EndToEnd::checkStartAndSettingsGrabs() {
    // The start windows show the start window's own artwork: compare with an offscreen one.
    testing_support::FakeServices fake;
    testing_support::ScriptedEcho echo;
    echo.status = 11050;
    core::WindowServices services = fake.services();
    services.echo = &echo;
    Form1 reference(services);
    reference.show();
    startLooks = reference.grab().toImage();
    for (const char* step : {"start", "return", "final"}) {
        ASSERT_EQ(grab(step).size(), QSize(800, 600)) << step;
        EXPECT_LT(meanDifference(grab(step), startLooks, QRect(0, 0, 800, 600), true), 6.0) << step;
    }
    EXPECT_GT(meanDifference(grab("settings"), startLooks), 30.0) << "the settings window";

    // The settings window as it opens, and with the plan chosen: an offscreen one of each.
    testing_support::FakeServices plain;
    Form2 opened(plain.services());
    opened.show();
    const QImage openedLooks = opened.grab().toImage();
    plain.folders.store().write(keys::modeLearn, QString::fromLatin1(kPlan));
    Form2 chosen(plain.services());
    chosen.show();
    const QImage chosenLooks = chosen.grab().toImage();
    EXPECT_LT(meanDifference(grab("settings"), openedLooks), 1.0);
    for (const QRect& indicator : {kPlan600, kPlanPreset}) {
        EXPECT_LT(meanDifference(grab("settings-plan"), chosenLooks, indicator), 1.0);
        EXPECT_GT(meanDifference(grab("settings-plan"), grab("settings"), indicator), 3.0)
            << "the plan's click moves the choice";
    }
}

void EndToEnd::checkStudyGrabs() {
    // After each answer: a right one shows its row in the right answer's colour during the
    // second's pause that follows it (a grab that a busy machine made late may show the next
    // question); a wrong one has the question dealt again in normal colours.
    for (int i = 1; i <= kAnswers; ++i) {
        const QImage answered = grab(QStringLiteral("answer-%1").arg(i));
        ASSERT_EQ(answered.size(), QSize(800, 600));
        EXPECT_GT(meanDifference(answered, startLooks), 30.0) << "the study window";
        const auto n = static_cast<size_t>(i - 1);
        if (!report.right[n]) {
            EXPECT_EQ(rightAnswerPixels(answered), 0) << "answer " << i;
        } else if (report.grabbedAfter[n] < kPromptGrabMs) {
            EXPECT_GT(rightAnswerPixels(answered), 20) << "answer " << i;
        }
    }
}

void EndToEnd::checkDictionaryGrabs() {
    // An offscreen dictionary window looks the same word up in the same word table.
    testing_support::FakeServices fake;
    ASSERT_TRUE(copyInto(shipped + "qmlexi.dic", folderText(fake.folders.paths.programFolder)));
    Form4 dictionary(fake.services());
    dictionary.show();
    const QImage emptyLooks = dictionary.grab().toImage();
    dictionary.Text1->setText(QString::fromLatin1(kLookedUpWord));
    dictionary.Image2_Click();
    const QImage foundLooks = dictionary.grab().toImage();
    EXPECT_TRUE(fake.failure.messages.isEmpty());
    for (const auto& e : before->words) {
        if (e.qmword == QString::fromLatin1(kLookedUpWord)) {
            EXPECT_TRUE(dictionary.Text2->toPlainText().contains(words::fromStoredNote(e.qmnote)))
                << "the offscreen window shows the gloss";
        }
    }
    EXPECT_LT(meanDifference(grab("dictionary"), emptyLooks, kResultBox), 1.0);
    EXPECT_LT(meanDifference(grab("lookup"), foundLooks, kResultBox), 1.0)
        << "the result shows the word and its gloss";
    EXPECT_GT(meanDifference(grab("lookup"), grab("dictionary"), kResultTop), 5.0);
}

TEST_F(EndToEnd, TheRealProgramStudiesAGradedPlanLooksUpAWordAndKeepsOnlyWhatItsClicksChange) {
    if (const QString tool = missingTool(); !tool.isEmpty()) {
        GTEST_SKIP() << tool.toStdString() << " is missing (scripts/setup.sh installs it)";
    }
    QString why;
    networkFlag = ownNetworkFlag(why);
    if (networkFlag.isEmpty()) {
        GTEST_SKIP() << "no network namespace can be made here for the program: "
                     << why.toStdString();
    }
    ASSERT_NO_FATAL_FAILURE(prepareFolders());
    ASSERT_NO_FATAL_FAILURE(runRoundTrip());
    checkWindows();
    checkProgramFolder();
    ASSERT_NO_FATAL_FAILURE(checkWordTableAndList());
    checkSettings();
    checkAnswersExplainChanges();

    ui::installFontSubstitutions();
    ASSERT_NO_FATAL_FAILURE(checkStartAndSettingsGrabs());
    checkStudyGrabs();
    checkDictionaryGrabs();
}

}  // namespace
