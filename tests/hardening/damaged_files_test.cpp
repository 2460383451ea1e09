// Damaged and busy files met by the windows themselves: each reaches the failure path once,
// with a message that names the file, and no file of the program folder or the settings
// folder is changed by the attempt.
#include "drill/study_window.h"
#include "lookup/dictionary_window.h"
#include "settings/keys.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/case_names.h"
#include "ui/picture.h"

#include <QFile>
#include <QLineEdit>

#include <sqlite3.h>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>

namespace {

namespace keys = settings::keys;
using hardening::FolderSnapshot;
using testing_support::entry;

struct Damage {
    const char* name;
    std::function<void(const std::filesystem::path&)> apply;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

std::vector<words::WordEntry> someWords(int n) {
    std::vector<words::WordEntry> rows;
    for (int i = 1; i <= n; ++i) {
        rows.push_back(
            entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i), n + 30 - i));
    }
    return rows;
}

void writeBytes(const std::filesystem::path& file, const QByteArray& bytes) {
    QFile f(core::pathText(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

const Damage kWordFileDamages[] = {
    {"truncated to half",
     [](const std::filesystem::path& f) {
         std::filesystem::resize_file(f, std::filesystem::file_size(f) / 2);
     }},
    {"cut after its header page",
     [](const std::filesystem::path& f) { std::filesystem::resize_file(f, 100); }},
    {"random bytes",
     [](const std::filesystem::path& f) {
         std::mt19937 g(5);
         QByteArray bytes;
         for (int i = 0; i < 40000; ++i) {
             bytes.append(static_cast<char>(g()));
         }
         writeBytes(f, bytes);
     }},
    {"empty", [](const std::filesystem::path& f) { writeBytes(f, {}); }},
    {"a database without the table",
     [](const std::filesystem::path& f) {
         std::filesystem::remove(f);
         auto db = words::Database::create(f);
         db->execute(QStringLiteral("create table other (x)"));
     }},
    {"the table without its fields",
     [](const std::filesystem::path& f) {
         std::filesystem::remove(f);
         auto db = words::Database::create(f);
         db->execute(QStringLiteral("create table qmlexitable (qmword text)"));
         db->execute(QStringLiteral("insert into qmlexitable values ('a')"));
     }},
};

class DamagedWordFile : public ::testing::TestWithParam<Damage> {
  protected:
    void SetUp() override {
        ui::installFontSubstitutions();
        fake.folders.writeEmptyLists();
        fake.folders.writeWordFile(words::kWordFile, someWords(3000));
        fake.folders.store().write(keys::modeWhichone, QStringLiteral("learn"));
        fake.folders.store().write(keys::modeLearn, QStringLiteral("600"));
        GetParam().apply(fake.folders.paths.file(words::kWordFile));
    }
    testing_support::FakeServices fake;
};

TEST_P(DamagedWordFile, StudyWindowLoadReportsItByNameAndChangesNothing) {
    const FolderSnapshot before(fake);
    Form3 window(fake.services());
    window.Form_Load();
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("qmlexi.dic")))
        << fake.failure.messages.first().toStdString();
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

TEST_P(DamagedWordFile, ATestReportsItByNameToo) {
    fake.folders.store().write(keys::modeWhichone, QStringLiteral("test"));
    fake.folders.store().write(keys::modeTest, QStringLiteral("all"));
    const FolderSnapshot before(fake);
    Form3 window(fake.services());
    window.Form_Load();
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("qmlexi.dic")));
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

TEST_P(DamagedWordFile, DictionaryWindowReportsItByNameAtLoadOrLookUpAndChangesNothing) {
    const FolderSnapshot before(fake);
    Form4 window(fake.services());
    window.Form_Load();
    if (fake.failure.messages.isEmpty()) {
        // A table that opens but lacks the gloss field fails at the first look-up.
        window.Text1->setText(QStringLiteral("书"));
        window.Image2_Click();
    }
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("qmlexi.dic")))
        << fake.failure.messages.first().toStdString();
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedWordFile, ::testing::ValuesIn(kWordFileDamages),
                         [](const auto& info) {
                             return testing_support::caseName(info.param.name);
                         });

// ---- The settings file --------------------------------------------------------------------

TEST(DamagedSettings, BinaryJunkInTheSettingsFileIsReportedByNameAndKept) {
    ui::installFontSubstitutions();
    testing_support::FakeServices fake;
    fake.folders.writeEmptyLists();
    fake.folders.writeWordFile(words::kWordFile, someWords(700));
    std::mt19937 g(11);
    QByteArray junk;
    for (int i = 0; i < 3000; ++i) {
        junk.append(static_cast<char>(g()));
    }
    writeBytes(fake.folders.store().fileOf("qmword").toStdString(), junk);
    const FolderSnapshot before(fake);

    Form3 window(fake.services());
    window.Form_Load();
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("qmword.ini")))
        << fake.failure.messages.first().toStdString();
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

TEST(DamagedSettings, NoWriteReplacesAFileOfJunk) {
    QTemporaryDir dir;
    static constexpr char kJunk[] = "[check]\nwordvol=12\x00\x01\xff\xfe binary\n";
    const QByteArray junk(kJunk, sizeof kJunk - 1);
    settings::IniStore store(dir.path());
    writeBytes(store.fileOf("qmword").toStdString(), junk);
    EXPECT_THROW(store.write(keys::checkLearnedtime, QStringLiteral("1")), core::Error);
    EXPECT_THROW(store.remove(keys::checkLearnedtime), core::Error);
    // Asked again, the store reports it again rather than reading an empty store.
    EXPECT_THROW(store.read(keys::checkLearnedtime), core::Error);
    QFile f(store.fileOf("qmword"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), junk);
}

TEST(DamagedSettings, AnEmptyLockLeftByAKilledWriterDoesNotHoldUpTheNextWrite) {
    QTemporaryDir dir;
    settings::IniStore store(dir.path());
    store.write(keys::checkLearnedtime, QStringLiteral("7"));
    // What a writer killed between making its lock file and filling it leaves behind.
    const std::string lock = (store.fileOf("qmword") + QStringLiteral(".lock")).toStdString();
    writeBytes(lock, {});
    // Made a while ago, so that the store need not wait to tell it from a lock being taken.
    std::filesystem::last_write_time(
        lock, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(5));

    const auto start = std::chrono::steady_clock::now();
    store.write(keys::checkLearnedtime, QStringLiteral("8"));
    // Left to itself the settings library waits half a minute for such a lock to go stale.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(settings::IniStore(dir.path()).read(keys::checkLearnedtime), QStringLiteral("8"));
    EXPECT_FALSE(QFile::exists(store.fileOf("qmword") + QStringLiteral(".lock")));
}

// ---- The new-word list locked by another process ------------------------------------------

/// Another process that holds an exclusive lock on a database file until it is ended.
class LockingProcess {
  public:
    explicit LockingProcess(const std::filesystem::path& file) {
        int ready[2];
        if (pipe(ready) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            sqlite3* db = nullptr;
            char ok = 0;
            if (sqlite3_open(file.string().c_str(), &db) == SQLITE_OK &&
                sqlite3_exec(db, "begin exclusive", nullptr, nullptr, nullptr) == SQLITE_OK) {
                ok = 1;
            }
            if (write(ready[1], &ok, 1) != 1) {
                _exit(3);
            }
            pause();
            _exit(0);
        }
        close(ready[1]);
        char ok = 0;
        locked_ = read(ready[0], &ok, 1) == 1 && ok == 1;
        close(ready[0]);
    }
    ~LockingProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool locked() const { return locked_; }

  private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

class LockedNewWordList : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::installFontSubstitutions();
        fake.folders.writeWordFile(words::kWordFile, someWords(700));
        fake.folders.writeWordFile(words::kNewWordTemplate, {}, words::kNewWordTable);
        std::vector<words::WordEntry> list;
        for (int i = 1; i <= 25; ++i) {
            list.push_back(
                entry(QStringLiteral("w%1").arg(i), QStringLiteral("n.词%1").arg(i), 40, 15));
        }
        fake.folders.writeWordFile(words::kNewWordFile, list, words::kNewWordTable);
        fake.folders.store().write(keys::checkFallible, QStringLiteral("25"));
        fake.folders.store().write(keys::autoFallible, QStringLiteral("25"));
        fake.folders.store().write(keys::checkLearnedtime, QStringLiteral("0"));
    }
    testing_support::FakeServices fake;
};

TEST_F(LockedNewWordList, NewWordPlanLoadReportsItByNameAndChangesNothing) {
    fake.folders.store().write(keys::modeWhichone, QStringLiteral("learn"));
    fake.folders.store().write(keys::modeLearn, QStringLiteral("fallible"));
    LockingProcess other(fake.folders.paths.file(words::kNewWordFile));
    ASSERT_TRUE(other.locked());
    const FolderSnapshot before(fake);

    Form3 window(fake.services());
    window.Form_Load();
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("fallible.dic")))
        << fake.failure.messages.first().toStdString();
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

TEST_F(LockedNewWordList, AMissWhileTheListIsLockedIsReportedByNameAndChangesNothing) {
    fake.folders.store().write(keys::modeWhichone, QStringLiteral("learn"));
    fake.folders.store().write(keys::modeLearn, QStringLiteral("600"));
    Form3 window(fake.services());
    window.Form_Load();
    window.Form_Activate();
    ASSERT_TRUE(fake.failure.messages.isEmpty());
    ASSERT_FALSE(window.Text1->text().isEmpty());

    LockingProcess other(fake.folders.paths.file(words::kNewWordFile));
    ASSERT_TRUE(other.locked());
    const FolderSnapshot before(fake);
    // No row is selected: the release judges a wrong answer, whose upkeep meets the lock.
    window.Option1_MouseUp(0);
    ASSERT_EQ(fake.failure.messages.size(), 1) << fake.failure.messages.join('\n').toStdString();
    EXPECT_TRUE(fake.failure.messages.first().contains(QStringLiteral("fallible.dic")))
        << fake.failure.messages.first().toStdString();
    EXPECT_EQ(FolderSnapshot(fake).changesSince(before), QStringList());
}

}  // namespace
