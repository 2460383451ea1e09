// A scripted study session on the real study window (offscreen), run as a child process by
// the kill test:
//   hardening_session PROGRAM_FOLDER SETTINGS_FOLDER SEED
// It loads the window over the folders and answers questions until it is killed: right or
// wrong as its seed decides, by clicks on the rows. Before each answer it writes
//   B <n> <R|W> <word>
// and after the handler has returned what the window holds as stored: the counters of its
// settings store, the word's qmuse in its word table, and the word's rows on the new-word list
// (read from the file, as the window keeps that list closed between misses):
//   D <n> <learnedtime> <check/fallible> <auto/fallible> <word> <qmuse> <list rows> <qmdelete...>
// A failure reported by the window is written as "F <message>" and ends the session.
#include "core/real_services.h"
#include "drill/answer_row.h"
#include "drill/study_window.h"
#include "settings/keys.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/fakes.h"
#include "ui/picture.h"
#include "words/word_store.h"

#include <QApplication>
#include <QTest>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace keys = settings::keys;

namespace {

void say(const std::string& line) {
    // One write per line, so that a kill leaves no half line on the pipe.
    const std::string whole = line + "\n";
    if (write(STDOUT_FILENO, whole.data(), whole.size()) != static_cast<ssize_t>(whole.size())) {
        _exit(4);
    }
}

// A value as one field of a line: "-" for the empty text.
std::string text(const QString& s) {
    return s.isEmpty() ? std::string("-") : s.toStdString();
}

// The word's qmuse as the window's own word table holds it (every handler positions the
// table afresh before it reads a row, so moving it here changes nothing for the window).
long long inMemoryUse(words::Recordset& rs, const QString& word) {
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (rs.field(words::kWord).text() == word) {
            return static_cast<long long>(rs.field(words::kUse).number());
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER SETTINGS_FOLDER SEED\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ui::installFontSubstitutions();
    const core::Paths paths{argv[1], std::filesystem::path(argv[1]) / "no-maintainer-file"};
    settings::IniStore store(QString::fromLocal8Bit(argv[2]));
    // Fakes for the rest: the pause after a right answer takes no time on the fake clock.
    testing_support::WindowFakes fakes;
    const QStringList& failures = fakes.failure.messages;
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    core::MixingRandom random(0x9E3779B97F4A7C15ull ^ seed);
    const core::WindowServices services = fakes.servicesOver(paths, store, random);
    std::mt19937 answers(seed);

    Form3 window(services);
    window.show();
    QApplication::processEvents();
    for (int n = 1; failures.isEmpty(); ++n) {
        const bool right = answers() % 3 != 0;
        const QString word = window.mCurWord;
        int row = window.mChoiceSlot[0];
        if (!right) {
            row = row == 0 ? 1 : 0;
        }
        say("B " + std::to_string(n) + (right ? " R " : " W ") + text(word));
        drill::AnswerRow* r = window.Option1[static_cast<size_t>(row)];
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
        if (!failures.isEmpty()) {
            break;
        }
        // What the window holds: its own store's counters and its word table's row. The
        // new-word list is closed again after every miss, so its rows are read from the file.
        hardening::WordState state = hardening::readWordState(paths, word);
        state.use = inMemoryUse(window.mMain.rs, word);
        say("D " + std::to_string(n) + " " + text(store.read(keys::checkLearnedtime)) + " " +
            text(store.read(keys::checkFallible)) + " " + text(store.read(keys::autoFallible)) +
            " " + text(word) + " " + hardening::formatWordState(state));
    }
    say("F " + text(failures.join(QStringLiteral(" | ")).simplified()));
    return 3;
}
