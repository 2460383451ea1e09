// A process killed in the middle of its writes leaves the database readable, with every
// change that had been written before the kill.
#include "words/recordset.h"
#include "words/word_store.h"

#include "tests/support/folders.h"

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <gtest/gtest.h>

#include <random>

namespace {

using testing_support::readRows;
using testing_support::TestFolders;

// The child adds rows and changes the first one, reporting each finished write on the pipe.
[[noreturn]] void writeUntilKilled(const std::filesystem::path& file, int reportFd) {
    try {
        words::Database db(file);
        words::Recordset rs;
        rs.open(db, QString::fromLatin1(words::kListByWordDesc));
        for (int i = 1;; ++i) {
            rs.addNew();
            rs.setField(words::kWord, words::Value(QStringLiteral("w%1").arg(i)));
            rs.setField(words::kDelete, 15);
            rs.update();
            rs.moveFirst();
            rs.setField(words::kUse, i);
            const int done = i;
            if (write(reportFd, &done, sizeof done) != sizeof done) {
                _exit(3);
            }
        }
    } catch (...) {
        _exit(2);
    }
}

TEST(KilledWriter, LeavesTheFileWholeWithEveryReportedChange) {
    std::mt19937 rng(7);
    for (int round = 0; round < 8; ++round) {
        TestFolders folders;
        folders.writeWordFile(words::kNewWordFile, {testing_support::entry("a", "n.甲", 0, 1)},
                              words::kNewWordTable);
        const auto file = folders.paths.file(words::kNewWordFile);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            writeUntilKilled(file, fds[1]);
        }
        close(fds[1]);
        const int wanted = 5 + static_cast<int>(rng() % 60);
        int reported = 0;
        int value = 0;
        while (reported < wanted && read(fds[0], &value, sizeof value) == sizeof value) {
            reported = value;
        }
        kill(child, SIGKILL);
        // Writes finished after the last read still count; read what is left on the pipe.
        int status = 0;
        waitpid(child, &status, 0);
        while (read(fds[0], &value, sizeof value) == sizeof value) {
            reported = value;
        }
        close(fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own: " << status;

        ASSERT_TRUE(testing_support::integrityOk(file)) << "round " << round;
        const auto rows = readRows(file, words::kNewWordTable);
        EXPECT_GE(static_cast<int>(rows.size()), reported + 1) << "round " << round;
        words::Database reopened(file);
        words::Recordset rs;
        rs.open(reopened, QString::fromLatin1(words::kListByWordDesc));
        EXPECT_GE(rs.recordCount(), reported + 1);
    }
}

}  // namespace
