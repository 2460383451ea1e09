// The four choice makers of the study window.
#include "tests/drill/study_window_fixture.h"

namespace {

using namespace study_testing;
namespace keys = settings::keys;

class ChoiceMakers : public StudyWindowTest {
  protected:
    Form3& loadWords(const std::vector<words::WordEntry>& rows) {
        words(rows);
        learn("600");
        return load();
    }
};

TEST_F(ChoiceMakers, SamePrefixRedrawsOtherPrefixesAndCapitals) {
    Form3& w = loadWords({entry("big", "adj.大的", 100), entry("Zebra", "n.斑马", 99),
                          entry("book", "n.书", 98), entry("desk", "n.桌子", 97)});
    push(random(), {at(1, 4), at(2, 4), at(3, 4), at(4, 4)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("n.书")), QStringLiteral("n.桌子"));
    EXPECT_EQ(w.mDrawPos, 4);
    EXPECT_EQ(w.mDrawUse, 97);
    EXPECT_EQ(random().draws, 4);    // adj. differs, Zebra is capitalised, n.书 is the answer
    EXPECT_EQ(random().reseeds, 5);  // one at load, then one before every draw
}

TEST_F(ChoiceMakers, GlossWithoutPointPassesAnyPrefix) {
    Form3& w = loadWords({entry("ok", "好的", 100), entry("desk", "n.桌子", 97)});
    push(random(), {at(1, 2)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("adj.大的")), QStringLiteral("好的"));
}

TEST_F(ChoiceMakers, SamePrefixResolvesAVerbFormToItsBaseGloss) {
    Form3& w = loadWords({entry("ran", "v.run 的过去式", 100), entry("run", "v.跑", 99),
                          entry("run", "v.奔跑", 98), entry("sat", "v.sit的过去式", 97)});
    push(random(), {at(1, 4)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("v.走")), QStringLiteral("v.跑"));  // first run
    EXPECT_EQ(w.mBaseWord, QStringLiteral("run"));
    EXPECT_EQ(w.mDrawUse, 100);  // the drawn row's own use, not the base's

    // In a verb-form question the distractors are verb answer texts.
    w.mVerbChoice = QStringLiteral("yes");
    push(random(), {at(1, 4)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("v.走")), QStringLiteral("run v.跑(vbl)"));
    push(random(), {at(2, 4)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("v.走")), QStringLiteral(" v.跑(vbl)"));
    // A base that is no headword: a blank, the base and the mark.
    push(random(), {at(4, 4)});
    EXPECT_EQ(w.chooseselect(QStringLiteral("v.走")), QStringLiteral(" sit(vbl)"));
    EXPECT_TRUE(w.mBaseWord.isEmpty());
}

TEST_F(ChoiceMakers, DrawUseRoundsHalvesToEven) {
    Form3& w = loadWords({entry("a", "n.一", 121.5), entry("b", "n.二", 121),
                          entry("c", "n.三", 22.5), entry("d", "n.四", 21.5)});
    // All four count as in play only above 29; give the draw the whole table.
    w.mWordCount = 4;
    push(random(), {at(4, 4)});
    w.chooseselectart(QString());
    EXPECT_EQ(w.mDrawUse, 22);
    push(random(), {at(3, 4)});
    w.chooseselectart(QString());
    EXPECT_EQ(w.mDrawUse, 22);
    push(random(), {at(1, 4)});
    w.chooseselectart(QString());
    EXPECT_EQ(w.mDrawUse, 122);
}

TEST_F(ChoiceMakers, VerbMakerTakesOnlyVDotGlosses) {
    Form3& w =
        loadWords({entry("take", "vt.拿", 100), entry("go", "vi.去", 99), entry("book", "n.书", 98),
                   entry("Run", "v.经营", 97), entry("sit", "v.坐", 96)});
    push(random(), {at(1, 5), at(2, 5), at(3, 5), at(4, 5), at(5, 5)});
    EXPECT_EQ(w.chooseselectverb(QStringLiteral("x")), QStringLiteral("sit v.坐(vbl)"));
    EXPECT_EQ(w.mBaseWord, QStringLiteral("sit"));
    EXPECT_TRUE(random().script.empty());
}

TEST_F(ChoiceMakers, VerbMakerRedrawsAVerbFormWithoutBase) {
    Form3& w = loadWords({entry("gone", "v.go过去分词", 100), entry("went", "v.go的过去式", 99),
                          entry("go", "v.去", 98)});
    push(random(), {at(1, 3), at(2, 3)});
    EXPECT_EQ(w.chooseselectverb(QString()), QStringLiteral("go v.去(vbl)"));
}

TEST_F(ChoiceMakers, AnyMakerMayReturnTheRightAnswerButNoCapital) {
    Form3& w = loadWords({entry("Ann", "n.安", 100), entry("book", "n.书", 99),
                          entry("'tis", "abbr.是", 98), entry("1st", "num.第一", 97)});
    push(random(), {at(1, 4), at(2, 4)});
    EXPECT_EQ(w.chooseselectart(QStringLiteral("n.书")), QStringLiteral("n.书"));
    push(random(), {at(3, 4)});
    EXPECT_EQ(w.chooseselectart(QString()), QStringLiteral("abbr.是"));
    push(random(), {at(4, 4)});
    EXPECT_EQ(w.chooseselectart(QString()), QStringLiteral("num.第一"));
}

TEST_F(ChoiceMakers, NewWordMakerLooksTheBaseUpInTheWordDatabase) {
    words({entry("run", "v.跑", 100)});
    fake.folders.writeWordFile(
        words::kNewWordFile,
        {entry("Paris", "n.巴黎", 40, 20), entry("ran", "v.run的过去式", 40, 19),
         entry("pear", "n.梨", 40, 18)},
        words::kNewWordTable);
    learn("fallible");
    Form3& w = load();
    ASSERT_EQ(w.mFallibleCount, 3);
    w.mNew.rs.sort(QStringLiteral("qmdelete desc"));
    push(random(), {at(1, 3), at(2, 3)});
    EXPECT_EQ(w.chooseselect2(QString()), QStringLiteral("run v.跑(vbl)"));
    EXPECT_FALSE(w.mMain.isOpen());
    push(random(), {at(3, 3)});
    EXPECT_EQ(w.chooseselect2(QString()), QStringLiteral("n.梨"));
}

TEST_F(ChoiceMakers, BoundLargerThanTheListDrawsFromItsRows) {
    Form3& w = loadWords({entry("a", "n.一", 100), entry("b", "n.二", 99), entry("c", "n.三", 98)});
    w.mWordCount = 15374;
    push(random(), {0.9999999});
    EXPECT_EQ(w.chooseselectart(QString()), QStringLiteral("n.三"));
    EXPECT_EQ(w.mDrawPos, 3);
}

TEST_F(ChoiceMakers, ListWithoutQualifyingRowEndsWithNothing) {
    // No verb at all, and every headword capitalised: each maker gives up after its bound.
    Form3& w = loadWords({entry("Ann", "n.安", 100), entry("Bob", "n.鲍勃", 99)});
    random().fallback = 0.3;
    EXPECT_EQ(w.chooseselectverb(QString()), QString());
    EXPECT_EQ(w.chooseselectart(QString()), QString());
    EXPECT_EQ(w.chooseselect(QStringLiteral("n.书")), QString());
    expectNoFailure();

    // A rare qualifying row is found by the scan after the random draws.
    Form3& rare = loadWords(
        {entry("Ann", "n.安", 100), entry("Bob", "n.鲍勃", 99), entry("cat", "n.猫", 98)});
    random().fallback = 0.0;  // the draws only ever reach row 1
    EXPECT_EQ(rare.chooseselectart(QString()), QStringLiteral("n.猫"));
    EXPECT_EQ(rare.mDrawPos, 3);
}

}  // namespace
