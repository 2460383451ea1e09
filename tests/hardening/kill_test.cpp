// A study session on the real window, killed with SIGKILL at a hundred random moments: after
// every kill both database files pass SQLite's integrity check, every answer whose handler
// had returned is in the files and the settings store, and the next session opens normally.
#include "drill/study_window.h"
#include "settings/keys.h"
#include "tests/hardening/hardening_support.h"
#include "ui/picture.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cmath>
#include <csignal>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

namespace {

namespace keys = settings::keys;
using hardening::WordState;

/// The counters of the settings store that answers change ("-" for an empty one).
struct Counters {
    std::string learned, listed, pending;
    bool operator==(const Counters&) const = default;
};

std::string field(const QString& s) {
    return s.isEmpty() ? std::string("-") : s.toStdString();
}

Counters storedCounters(const QString& settingsFolder) {
    settings::IniStore store(settingsFolder);
    return {field(store.read(keys::checkLearnedtime)), field(store.read(keys::checkFallible)),
            field(store.read(keys::autoFallible))};
}

long long number(const std::string& s) {
    return s == "-" ? 0 : std::stoll(s);
}

/// The answer that was being handled when the session was killed.
struct InFlight {
    bool right = false;
    QString word;
};

/// The session child on a pipe: its lines as they come, and its end.
class Session {
  public:
    Session(const testing_support::TestFolders& folders, unsigned seed) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        const std::string program = QM_BUILD_DIR "/tests/hardening_session";
        const std::string folder = folders.paths.programFolder.string();
        const std::string settingsFolder = folders.settingsFolder().toStdString();
        const std::string seedText = std::to_string(seed);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            execl(program.c_str(), program.c_str(), folder.c_str(), settingsFolder.c_str(),
                  seedText.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        in_ = fdopen(fds[0], "r");
    }
    ~Session() {
        kill();
        if (in_ != nullptr) {
            fclose(in_);
        }
    }
    /// The next line, or nothing once the child has ended and every line is read.
    std::optional<std::string> next() {
        char buffer[4096];
        if (in_ == nullptr || fgets(buffer, sizeof buffer, in_) == nullptr) {
            return std::nullopt;
        }
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
        }
        return line;
    }
    /// Kills the child and waits for it; true when the kill ended it.
    bool kill() {
        if (pid_ <= 0) {
            return false;
        }
        ::kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

  private:
    pid_t pid_ = -1;
    FILE* in_ = nullptr;
};

/// A stretch of work of the test's own, so that the kill lands at a moment the session chose
/// by no clock.
void busyWork(unsigned steps) {
    volatile unsigned sink = 0;
    for (unsigned i = 0; i < steps; ++i) {
        sink = i;
    }
    (void)sink;
}

class KilledSession : public ::testing::Test {
  protected:
    void SetUp() override {
        // A kill loses nothing that reached the page cache: the folders may lie in memory.
        owned = hardening::makeInMemory<testing_support::TestFolders>();
        folders().writeNumberedWords(700);
        folders().writeEmptyLists();
        folders().store().write(keys::modeWhichone, QStringLiteral("learn"));
        folders().store().write(keys::modeLearn, QStringLiteral("600"));
    }

    /// Takes in one line of the session; false (with a test failure) for a failure report.
    bool take(const std::string& line) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind == "B") {
            int n = 0;
            std::string how, word;
            in >> n >> how >> word;
            inFlight = InFlight{how == "R", QString::fromStdString(word)};
            return true;
        }
        if (kind == "D") {
            int n = 0;
            std::string word;
            Counters c;
            in >> n >> c.learned >> c.listed >> c.pending >> word;
            counters = c;
            expected[QString::fromStdString(word)] = hardening::parseWordState(in);
            inFlight.reset();
            ++finished;
            return true;
        }
        ADD_FAILURE() << "the session reported: " << line;
        return false;
    }

    /// The states an answer in flight may have left its word in: untouched, or any part of
    /// its change made (a right answer raises qmuse by 5; a miss lowers it to 0.4 of itself
    /// and raises the word's list rows by 2, or adds a row of 15).
    bool acceptableInFlight(const WordState& before, const WordState& now, bool right) const {
        const bool useOk =
            now.use == before.use ||
            now.use ==
                (right ? before.use + 5 : static_cast<long long>(std::floor(before.use * 0.4)));
        if (right) {
            return useOk && now.listed == before.listed;
        }
        WordState raised = before;
        for (long long& d : raised.listed) {
            d += 2;
        }
        WordState added = before;
        added.listed.push_back(15);
        return useOk && (now.listed == before.listed || now.listed == raised.listed ||
                         now.listed == added.listed);
    }

    void checkAfterKill(int round) {
        SCOPED_TRACE("after kill " + std::to_string(round));
        ASSERT_TRUE(testing_support::integrityOk(folders().paths.file(words::kWordFile)));
        ASSERT_TRUE(testing_support::integrityOk(folders().paths.file(words::kNewWordFile)));
        const Counters now = storedCounters(folders().settingsFolder());
        if (counters) {
            if (!inFlight) {
                EXPECT_EQ(now, *counters);
            } else {
                const Counters& c = *counters;
                const long long learned = number(now.learned) - number(c.learned);
                const long long listed = number(now.listed) - number(c.listed);
                const long long pending = number(now.pending) - number(c.pending);
                EXPECT_TRUE(learned == 0 || (inFlight->right && learned == 1)) << now.learned;
                EXPECT_TRUE(listed == 0 || (!inFlight->right && listed == 1)) << now.listed;
                EXPECT_TRUE(pending == 0 || (!inFlight->right && pending == 1)) << now.pending;
            }
        }
        for (auto& [word, state] : expected) {
            const WordState actual = hardening::readWordState(folders().paths, word);
            if (inFlight && inFlight->word == word) {
                EXPECT_TRUE(acceptableInFlight(state, actual, inFlight->right))
                    << word.toStdString() << " was " << hardening::formatWordState(state) << ", is "
                    << hardening::formatWordState(actual);
                state = actual;  // the next session goes on from what the kill left
            } else {
                EXPECT_EQ(actual, state) << word.toStdString() << " lost a finished answer";
            }
        }
        if (inFlight && expected.find(inFlight->word) == expected.end()) {
            expected[inFlight->word] = hardening::readWordState(folders().paths, inFlight->word);
        }
        counters = now;
        inFlight.reset();
    }

    std::unique_ptr<testing_support::TestFolders> owned;
    testing_support::TestFolders& folders() { return *owned; }
    std::map<QString, WordState> expected;
    std::optional<Counters> counters;
    std::optional<InFlight> inFlight;
    int finished = 0;
};

TEST_F(KilledSession, EveryFinishedAnswerSurvivesAHundredKills) {
    std::mt19937 rng(20240611);
    int killedInFlight = 0;
    for (int round = 0; round < 100; ++round) {
        Session session(folders(), static_cast<unsigned>(rng()));
        // The kill comes a random stretch of work after the start of a random answer; now and
        // then during the load, before any answer.
        const int answers = static_cast<int>(rng() % 10);
        const unsigned spin = rng() % 4000000;
        int begun = 0;
        bool failed = false;
        if (answers == 0) {
            busyWork(spin);
        }
        while (answers > 0 && begun < answers) {
            const auto line = session.next();
            if (!line) {
                break;
            }
            begun += (*line)[0] == 'B' ? 1 : 0;
            if (!take(*line)) {
                failed = true;
                break;
            }
        }
        ASSERT_FALSE(failed) << "round " << round;
        busyWork(spin);
        ASSERT_TRUE(session.kill()) << "round " << round << ": the session ended by itself";
        // Lines written before the kill still count: they are answers that finished.
        while (const auto line = session.next()) {
            ASSERT_TRUE(take(*line)) << "round " << round;
        }
        killedInFlight += inFlight ? 1 : 0;
        checkAfterKill(round);
        if (HasFatalFailure()) {
            return;
        }
    }
    EXPECT_GT(finished, 100) << "too few answers finished between the kills";
    EXPECT_GT(killedInFlight, 10) << "too few kills landed inside an answer";
    RecordProperty("finished_answers", finished);
    RecordProperty("kills_inside_an_answer", killedInFlight);

    // After the last kill the study window opens normally and deals a question.
    ui::installFontSubstitutions();
    testing_support::FakeServices fake;
    settings::IniStore store(folders().settingsFolder());
    Form3 window(fake.servicesOver(folders().paths, store, fake.random));
    window.Form_Load();
    window.Form_Activate();
    EXPECT_TRUE(fake.failure.messages.isEmpty()) << fake.failure.messages.join('\n').toStdString();
    EXPECT_FALSE(window.Text1->text().isEmpty());
}

}  // namespace
