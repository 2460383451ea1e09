#include "drill/new_word_list.h"

#include "core/failure.h"
#include "settings/keys.h"
#include "tests/drill/failing_store.h"
#include "tests/support/case_names.h"
#include "tests/support/folders.h"
#include "words/codec.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using answer_testing::FailingStore;
using drill::enterMissedWord;
using drill::ListEntry;
using drill::MissedWord;
using testing_support::entry;
using testing_support::readRows;
using testing_support::TestFolders;
namespace keys = settings::keys;

class NewWordListUpkeep : public ::testing::Test {
  protected:
    void SetUp() override {
        folders.writeEmptyLists();
        store().write(keys::checkFallible, "5");
        store().write(keys::autoFallible, "5");
    }
    settings::Store& store() { return folders.store(); }
    std::vector<words::WordEntry> list() {
        return readRows(folders.paths.file(words::kNewWordFile), words::kNewWordTable);
    }
    void writeList(const std::vector<words::WordEntry>& rows) {
        folders.writeWordFile(words::kNewWordFile, rows, words::kNewWordTable);
    }
    ListEntry miss(const MissedWord& word, settings::Store* through = nullptr) {
        return enterMissedWord(pair, folders.paths, through ? *through : store(), word);
    }

    TestFolders folders;
    words::StorePair pair;
    const MissedWord apple{"apple", words::toStoredNote("n.苹果"), 100};
};

TEST_F(NewWordListUpkeep, MissedWordJoinsTheListOnceWithBothCountersRaised) {
    EXPECT_EQ(miss(apple), ListEntry::Added);
    const auto rows = list();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].qmword, QString("apple"));
    EXPECT_EQ(rows[0].qmnote, apple.note);
    EXPECT_EQ(rows[0].qmuse, 100);
    EXPECT_EQ(rows[0].qmdelete, 15);
    EXPECT_EQ(store().read(keys::checkFallible), "6");
    EXPECT_EQ(store().read(keys::autoFallible), "6");
    EXPECT_FALSE(pair.isOpen());
    EXPECT_EQ(pair.conn, nullptr);
}

TEST_F(NewWordListUpkeep, WordOnTheListIsRaisedByTwoEveryRowAndCountersStay) {
    writeList({entry("apple", "n.旧", 50, 15), entry("pear", "n.梨", 40, 12),
               entry("apple", "n.旧", 50, 7), entry("Apple", "n.旧", 50, 9)});
    EXPECT_EQ(miss(apple), ListEntry::Found);
    const auto rows = list();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].qmdelete, 17);
    EXPECT_EQ(rows[0].qmnote, apple.note);
    EXPECT_EQ(rows[1].qmdelete, 12);
    // A retired row comes back above 8 without being counted again.
    EXPECT_EQ(rows[2].qmdelete, 9);
    EXPECT_EQ(rows[3].qmdelete, 9);  // headwords compare case-sensitively
    EXPECT_EQ(rows[0].qmuse, 50);
    EXPECT_EQ(store().read(keys::checkFallible), "5");
    EXPECT_EQ(store().read(keys::autoFallible), "5");
}

TEST_F(NewWordListUpkeep, NoPendingWordsMeansNoLookUpSoTheWordIsAddedAgain) {
    for (const char* pending : {"0", ""}) {
        writeList({entry("apple", "n.旧", 50, 15)});
        store().write(keys::autoFallible, pending);
        EXPECT_EQ(miss(apple), ListEntry::Added) << pending;
        EXPECT_EQ(list().size(), 2u) << pending;
        EXPECT_EQ(list()[0].qmdelete, 15) << pending;
        EXPECT_EQ(store().read(keys::autoFallible), "1") << pending;
    }
}

TEST_F(NewWordListUpkeep, NullHeadwordRowsNeverMatch) {
    writeList({{std::nullopt, words::toStoredNote("n.无"), 10, 12}});
    EXPECT_EQ(miss({"", apple.note, 3}), ListEntry::Added);
    EXPECT_EQ(list().size(), 2u);
}

TEST_F(NewWordListUpkeep, EmptyListCounterBringsTheTemplateBackFirst) {
    writeList({entry("old", "n.旧", 50, 15), entry("apple", "n.旧", 50, 15)});
    store().remove(keys::checkFallible);
    store().write(keys::autoFallible, "30");
    EXPECT_EQ(miss(apple), ListEntry::Added);
    const auto rows = list();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].qmdelete, 15);
    EXPECT_EQ(store().read(keys::checkFallible), "1");
    EXPECT_EQ(store().read(keys::autoFallible), "31");
}

TEST_F(NewWordListUpkeep, ListIsReopenedFromTheFileAtEveryMiss) {
    EXPECT_EQ(miss(apple), ListEntry::Added);
    EXPECT_EQ(miss(apple), ListEntry::Found);
    EXPECT_EQ(miss(apple), ListEntry::Found);
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(list()[0].qmdelete, 19);
    EXPECT_EQ(store().read(keys::checkFallible), "6");
}

// A failure anywhere in the addition leaves list and counters as before it, and the
// word's next miss adds it as if nothing had happened.
class FailedAddition : public NewWordListUpkeep,
                       public ::testing::WithParamInterface<const settings::Key*> {};

TEST_P(FailedAddition, LeavesListAndCountersAgreeingAndTheNextMissAddsTheWord) {
    writeList({entry("pear", "n.梨", 40, 12)});
    FailingStore failing(store());
    failing.failWriteOf = GetParam();
    EXPECT_EQ(miss(apple, &failing), ListEntry::NotAdded);
    EXPECT_EQ(list().size(), 1u);
    EXPECT_EQ(store().read(keys::checkFallible), "5");
    EXPECT_EQ(store().read(keys::autoFallible), "5");
    EXPECT_FALSE(pair.isOpen());
    EXPECT_EQ(pair.conn, nullptr);

    EXPECT_EQ(miss(apple, &failing), ListEntry::Added);
    EXPECT_EQ(list().size(), 2u);
    EXPECT_EQ(store().read(keys::checkFallible), "6");
    EXPECT_EQ(store().read(keys::autoFallible), "6");
}

INSTANTIATE_TEST_SUITE_P(EitherCounter, FailedAddition,
                         ::testing::Values(&keys::checkFallible, &keys::autoFallible),
                         [](const auto& info) {
                             return testing_support::caseName(info.param->section, info.param->key);
                         });

TEST_F(NewWordListUpkeep, FailureBeforeTheAdditionIsPassedOnWithNothingChanged) {
    std::filesystem::remove(folders.paths.file(words::kNewWordFile));
    EXPECT_THROW(miss(apple), core::Error);
    EXPECT_EQ(store().read(keys::checkFallible), "5");
    EXPECT_EQ(store().read(keys::autoFallible), "5");
    EXPECT_FALSE(pair.isOpen());
}

TEST_F(NewWordListUpkeep, FailedTemplateCopyLeavesTheCounterEmptySoTheNextMissCopiesAgain) {
    writeList({entry("old", "n.旧", 50, 15)});
    store().remove(keys::checkFallible);
    std::filesystem::rename(folders.paths.file(words::kNewWordTemplate),
                            folders.paths.file("aside.dic"));
    EXPECT_THROW(miss(apple), core::Error);
    EXPECT_EQ(store().read(keys::checkFallible), "");
    EXPECT_EQ(list().size(), 1u);

    std::filesystem::rename(folders.paths.file("aside.dic"),
                            folders.paths.file(words::kNewWordTemplate));
    EXPECT_EQ(miss(apple), ListEntry::Added);
    EXPECT_EQ(list().size(), 1u);
    EXPECT_EQ(store().read(keys::checkFallible), "1");
}

}  // namespace
