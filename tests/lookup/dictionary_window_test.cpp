#include "tests/lookup/dictionary_fixture.h"

#include "words/codec.h"
#include "words/recordset.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace dictionary_testing {
namespace {

// ---- English path ---------------------------------------------------------------------------

TEST_F(DictionaryWindowTest, ExactHitIsShownSpokenAndEmptiesTheEntry) {
    words({{"apple", "n.苹果"}, {"apply", "v.申请"}, {"book", "n.书"}});
    speechOn();
    load();
    lookUp(" apple ");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
    EXPECT_EQ(spoken(), QStringList{u(" apple ")});  // the entry as typed
    EXPECT_TRUE(window->Text1->text().isEmpty());
    expectNoFailure();
}

TEST_F(DictionaryWindowTest, ExactHitWithSpeechOffSpeaksNothing) {
    words({{"book", "n.书"}});
    load();
    lookUp("book");
    EXPECT_EQ(result(), shown("book\r\nn.书"));
    EXPECT_TRUE(spoken().isEmpty());
    EXPECT_EQ(fake.speech.created, 0);
    EXPECT_TRUE(window->Text1->text().isEmpty());
}

TEST_F(DictionaryWindowTest, OtherCaseListsEveryHeadwordOfTheFirstFourLettersInAnyCase) {
    words({{"apple", "n.苹果"},
           {"applaud", "v.鼓掌"},
           {"Applied", "adj.应用的"},
           {"APPLY", "v.申请"},
           {"app", "n.应用"},
           {"apricot", "n.杏"},
           {"banana", "n.香蕉"}});
    speechOn();
    load();
    lookUp("Apple");
    // Headword order as the database sorts it: by character code.
    EXPECT_EQ(result(), shown("您要找的是不是：\r\n"
                              "APPLY\r\nv.申请\r\n\r\n"
                              "Applied\r\nadj.应用的\r\n\r\n"
                              "applaud\r\nv.鼓掌\r\n\r\n"
                              "apple\r\nn.苹果"));
    EXPECT_EQ(window->mSuggested, 1);
    EXPECT_EQ(window->Text1->text(), u("Apple"));
    EXPECT_TRUE(spoken().isEmpty());
}

TEST_F(DictionaryWindowTest, ShortEntryFindsOnlyHeadwordsEqualApartFromCaseAndBlanks) {
    words({{"Book", "n.书"}, {" book", "n.书本"}, {"books", "n.书籍"}, {"boo", "int.嘘"}});
    load();
    lookUp("BOOK");
    EXPECT_EQ(result(), shown("您要找的是不是：\r\n book\r\nn.书本\r\n\r\nBook\r\nn.书"));
}

TEST_F(DictionaryWindowTest, LeadingBlankStaysInTheLongEntrysPrefix) {
    words({{" applaud", "v.鼓掌"}, {"applied", "adj.应用的"}, {"apply", "v.申请"}});
    load();
    lookUp(" appla");  // L = 6: the prefix " appl" keeps the blank
    EXPECT_EQ(result(), shown("您要找的是不是：\r\n applaud\r\nv.鼓掌"));
    lookUp(" apply");  // the exact-hit test ignores it
    EXPECT_EQ(result(), shown("apply\r\nv.申请"));
}

TEST_F(DictionaryWindowTest, HeadwordShorterThanThePrefixNeverMatches) {
    words({{"abcde", "n.五"}, {"abcdef", "n.六"}, {"ABCDEFxy", "n.八"}});
    load();
    lookUp("abcdefgh");  // L = 8: prefix of 6
    EXPECT_EQ(result(), shown("您要找的是不是：\r\nABCDEFxy\r\nn.八\r\n\r\nabcdef\r\nn.六"));
}

TEST_F(DictionaryWindowTest, NearMatchBeforeTheExactHitIsDropped) {
    words({{"appla", "n.甲"}, {"apple", "n.苹果"}, {"applz", "n.乙"}});
    load();
    lookUp("apple");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
}

TEST_F(DictionaryWindowTest, HeadwordInTwoRowsShowsItsFirstRow) {
    words({{"apple", "n.苹果"}, {"apple", "n.苹果树"}});
    load();
    lookUp("apple");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
}

TEST_F(DictionaryWindowTest, NothingFoundShowsTheNotFoundTextAndKeepsTheEntry) {
    words({{"apple", "n.苹果"}});
    load();
    lookUp("zebra");
    EXPECT_EQ(result(), notFound());
    EXPECT_EQ(window->mSuggested, 0);
    EXPECT_EQ(window->Text1->text(), u("zebra"));
    lookUp("苹果树");
    EXPECT_EQ(result(), notFound());
}

TEST_F(DictionaryWindowTest, EmptyEntryLeavesTheResultAsItWas) {
    words({{"apple", "n.苹果"}});
    load();
    lookUp("apple");
    lookUp("");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
}

TEST_F(DictionaryWindowTest, ResultsNeverAccumulate) {
    words({{"apple", "n.苹果"}, {"apply", "v.申请"}});
    load();
    lookUp("apples");
    lookUp("applx");
    EXPECT_EQ(result(), shown("您要找的是不是：\r\napple\r\nn.苹果\r\n\r\napply\r\nv.申请"));
}

// ---- Chinese path ---------------------------------------------------------------------------

std::vector<words::WordEntry> numberedGlosses(int matching) {
    std::vector<words::WordEntry> rows;
    rows.push_back(entry(u("a0"), u("n.别的"), 100));
    for (int i = 1; i <= matching; ++i) {
        rows.push_back(entry(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')),
                             QStringLiteral("n.词%1").arg(i), 100));
    }
    rows.push_back(entry(u("zz"), u("n.别的"), 100));
    return rows;
}

QString listed(int count) {
    QStringList entries;
    for (int i = 1; i <= count; ++i) {
        entries << QStringLiteral("w%1\r\nn.词%2").arg(i, 2, 10, QLatin1Char('0')).arg(i);
    }
    return entries.join(QStringLiteral("\r\n\r\n"));
}

TEST_F(DictionaryWindowTest, ChineseEntryWithThirtyMatchesListsThemAll) {
    words(numberedGlosses(30));
    load();
    lookUp("词");
    EXPECT_EQ(result(), shown(listed(30)));
    EXPECT_EQ(window->Text1->text(), u("词"));
}

TEST_F(DictionaryWindowTest, ChineseEntryWithMoreMatchesListsThirtyOneAndTheTooManyLine) {
    for (int matching : {31, 45}) {
        words(numberedGlosses(matching));
        load();
        lookUp("词");
        EXPECT_EQ(result(), shown(listed(31) + u("\r\n查询的条目太多，请重新选择条件。")))
            << matching;
    }
}

TEST_F(DictionaryWindowTest, ChineseSearchReachesIntoThePrefixAndIsCaseSensitive) {
    words({{"book", "n.书；v.预订"}, {"read", "v.读书"}, {"Book", "n.书；V.预订"}});
    load();
    lookUp("书；v.");  // runs into the prefix of the second meaning
    EXPECT_EQ(result(), shown("book\r\nn.书；v.预订"));
    lookUp("书");
    EXPECT_EQ(result(),
              shown("Book\r\nn.书；V.预订\r\n\r\nbook\r\nn.书；v.预订\r\n\r\nread\r\nv.读书"));
}

TEST_F(DictionaryWindowTest, ChineseEntryWithOuterBlanksIsSearchedWithoutThem) {
    words({{"book", "n.书"}});
    load();
    lookUp("书  ");
    EXPECT_EQ(result(), shown("book\r\nn.书"));
}

TEST_F(DictionaryWindowTest, ChineseCharacterFirstTakesTheChinesePathWhateverFollows) {
    words({{"x", "n.书book"}, {"书book", "n.书"}});
    speechOn();
    load();
    lookUp("书book");
    // Found by its gloss, not by its headword; nothing spoken, the entry kept.
    EXPECT_EQ(result(), shown("x\r\nn.书book"));
    EXPECT_TRUE(spoken().isEmpty());
    EXPECT_EQ(window->Text1->text(), u("书book"));
}

TEST_F(DictionaryWindowTest, BlankDigitOrPunctuationFirstTakesTheEnglishPath) {
    // Every gloss holds its headword too: the Chinese path would list the row and keep the
    // entry; the English path hits it and empties the entry.
    words({{"apple", "n.apple苹果"}, {"7up", "n.7up七喜"}, {"'em", "pron.'em他们"}});
    load();
    for (const char* typed : {" apple", "7up", "'em"}) {
        lookUp(typed);
        EXPECT_TRUE(window->Text1->text().isEmpty()) << typed;
    }
}

// ---- Rows and tables the look-up must survive -----------------------------------------------

TEST_F(DictionaryWindowTest, RowsWithoutHeadwordOrGlossNeverStopTheLookUp) {
    words({{"apple", "n.苹果"}, {"pear", "n.梨"}});
    {
        words::Database db(fake.folders.paths.file(words::kWordFile));
        db.execute(u("update qmlexitable set qmnote = null where qmword = 'pear'"));
        db.execute(u("insert into qmlexitable (qmword, qmnote, qmuse, qmdelete) "
                     "values (null, ?, 1, 1), ('   ', ?, 1, 1)"),
                   {words::toStoredNote(u("n.苹果")), words::toStoredNote(u("n.苹果"))});
    }
    load();
    lookUp("pear");
    EXPECT_EQ(result(), shown("pear\r\n"));
    lookUp("苹果");
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
    lookUp("   ");  // blanks only: no headword-less row is a hit or a match
    EXPECT_EQ(result(), notFound());
    lookUp("pea");
    EXPECT_EQ(result(), notFound());
    expectNoFailure();
}

TEST_F(DictionaryWindowTest, EmptyWordTableFindsNothing) {
    words(std::vector<words::WordEntry>{});
    load();
    lookUp("apple");
    EXPECT_EQ(result(), notFound());
    lookUp("苹果");
    EXPECT_EQ(result(), notFound());
    expectNoFailure();
}

TEST_F(DictionaryWindowTest, MissingWordDatabaseGoesToTheFailurePath) {
    load();
    ASSERT_EQ(fake.failure.messages.size(), 1);
    EXPECT_TRUE(fake.failure.messages[0].contains(u("qmlexi.dic")))
        << fake.failure.messages[0].toStdString();
}

// ---- Keys, looks, load and leaving ----------------------------------------------------------

TEST_F(DictionaryWindowTest, EnterInTheEntryIsAClickOnSearch) {
    words({{"apple", "n.苹果"}, {"apply", "v.申请"}});
    load();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        window->Text1->setText(u("apple"));
        QTest::keyClick(window->Text1, key);
        EXPECT_EQ(result(), shown("apple\r\nn.苹果")) << key;
        EXPECT_TRUE(window->Text1->text().isEmpty());
    }
    window->Text2->clear();
    QTest::keyClicks(window->Text1, u("apple"));
    EXPECT_EQ(window->Text1->text(), u("apple"));  // other keys reach the box and look up nothing
    EXPECT_TRUE(result().isEmpty());
}

TEST_F(DictionaryWindowTest, SearchPictureClickRunsTheLookUp) {
    words({{"apple", "n.苹果"}});
    load();
    window->Text1->setText(u("apple"));
    QTest::mouseClick(window->Image2, Qt::LeftButton);
    EXPECT_EQ(result(), shown("apple\r\nn.苹果"));
}

void moveOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(DictionaryWindowTest, ButtonsShowHoverLooksUntilThePointerCrossesTheBackground) {
    words({{"apple", "n.苹果"}});
    load();
    EXPECT_EQ(window->Image2->look(), u("search hover"));
    EXPECT_EQ(window->Image3->look(), u("exit hover"));
    EXPECT_EQ(window->Image2->picture().toImage(), window->ImageList1.picture(3).toImage());
    EXPECT_EQ(window->Image3->picture().toImage(), window->ImageList1.picture(2).toImage());
    moveOver(window->Image1);
    EXPECT_EQ(window->Image2->look(), u("search normal"));
    EXPECT_EQ(window->Image3->look(), u("exit normal"));
    moveOver(window->Image2);
    EXPECT_EQ(window->Image2->look(), u("search hover"));
    EXPECT_EQ(window->Image3->look(), u("exit normal"));
    moveOver(window->Image3);
    EXPECT_EQ(window->Image3->look(), u("exit hover"));
    // The four pictures differ from each other.
    for (int i = 1; i <= 4; ++i) {
        for (int j = i + 1; j <= 4; ++j) {
            EXPECT_NE(window->ImageList1.picture(i).toImage(),
                      window->ImageList1.picture(j).toImage())
                << i << " " << j;
        }
    }
}

TEST_F(DictionaryWindowTest, UpkeepButtonsShowOnlyWithTheMaintainerFile) {
    words({{"apple", "n.苹果"}});
    const auto expectShown = [this](bool shown) {
        load();
        for (QPushButton* b :
             {window->Command1, window->Command2, window->Command3, window->Command4}) {
            EXPECT_EQ(b->isHidden(), !shown) << b->text().toStdString();
        }
    };
    expectShown(false);
    // A folder of the file's name is no file.
    std::filesystem::create_directories(fake.folders.paths.maintainerFile);
    expectShown(false);
    std::filesystem::remove(fake.folders.paths.maintainerFile);
    fake.folders.createMaintainerFile();
    expectShown(true);
}

TEST_F(DictionaryWindowTest, MaintainerFileThatCannotBeTestedCountsAsAbsent) {
    words({{"apple", "n.苹果"}});
    // A folder that links to itself: the existence test itself fails.
    const auto loop = fake.folders.paths.maintainerFile.parent_path() / "loop";
    std::filesystem::create_directories(loop.parent_path());
    std::filesystem::create_directory_symlink(loop, loop);
    fake.folders.paths.maintainerFile = loop / "waittoadd.txt";
    load();
    expectNoFailure();
    EXPECT_TRUE(window->Command1->isHidden());
    EXPECT_TRUE(window->mWords.isOpen());
}

TEST_F(DictionaryWindowTest, ControlsStandWhereTheWindowPlacesThem) {
    words({{"apple", "n.苹果"}});
    load();
    EXPECT_EQ(window->size(), QSize(800, 600));
    struct Place {
        QWidget* control;
        QRect geometry;
    };
    const Place places[] = {
        {window->Image1, {0, 0, 800, 600}},    {window->Text1, {352, 464, 345, 33}},
        {window->Text2, {136, 96, 537, 297}},  {window->Text3, {448, 312, 161, 65}},
        {window->Image2, {216, 520, 108, 23}}, {window->Image3, {456, 520, 108, 23}},
        {window->Command1, {24, 200, 81, 33}}, {window->Command2, {480, 40, 105, 25}},
        {window->Command3, {304, 40, 97, 25}}, {window->Command4, {160, 40, 105, 33}},
    };
    for (const auto& p : places) {
        EXPECT_EQ(p.control->geometry(), p.geometry) << p.control->metaObject()->className();
    }
    EXPECT_EQ(window->Label1->pos(), QPoint(104, 472));
    EXPECT_EQ(window->Label1->text(), u("请录入需要查询的词汇"));
    EXPECT_EQ(window->Command1->text(), u("录入"));
    EXPECT_EQ(window->Command2->text(), u("查找重复词"));
    EXPECT_EQ(window->Command3->text(), u("词库修订"));
    EXPECT_EQ(window->Command4->text(), u("vbl"));
    EXPECT_TRUE(window->Text3->isHidden());

    const QColor yellow(255, 255, 0);
    EXPECT_EQ(window->Label1->palette().color(QPalette::WindowText), yellow);
    EXPECT_EQ(window->Label1->palette().color(QPalette::Window), QColor(0, 192, 192));
    for (QWidget* box :
         {static_cast<QWidget*>(window->Text1), static_cast<QWidget*>(window->Text2)}) {
        EXPECT_EQ(box->palette().color(QPalette::Text), yellow);
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0, 128, 128));
    }
    EXPECT_DOUBLE_EQ(window->Label1->font().pointSizeF(), 15.75);
    EXPECT_DOUBLE_EQ(window->Text1->font().pointSizeF(), 15.75);
    EXPECT_DOUBLE_EQ(window->Text2->font().pointSizeF(), 14.25);
    EXPECT_TRUE(window->Text1->font().families().contains(u("宋体")));
}

TEST_F(DictionaryWindowTest, ShownWindowLoadsOnceWithTheFocusInTheEntry) {
    words({{"apple", "n.苹果"}});
    window = std::make_unique<Form4>(fake.services());
    window->show();
    EXPECT_TRUE(window->mWords.isOpen());
    EXPECT_EQ(window->focusWidget(), window->Text1);
    window->hide();
    window->show();
    expectNoFailure();
}

TEST_F(DictionaryWindowTest, ExitClosesTheStoreAndShowsTheStartWindow) {
    words({{"apple", "n.苹果"}});
    load();
    window->show();
    QTest::mouseClick(window->Image3, Qt::LeftButton);
    EXPECT_FALSE(window->mWords.isOpen());
    EXPECT_EQ(window->mWords.conn, nullptr);
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_EQ(fake.navigator.shown[0], core::WindowKind::Start);
    EXPECT_FALSE(window->isVisible());
    expectNoFailure();
}

TEST_F(DictionaryWindowTest, BackgroundTitleStaysClearOfTheUpkeepButtons) {
    words({{"apple", "n.苹果"}});
    load();
    const QImage background = window->Image1->picture().toImage();
    ASSERT_EQ(background.size(), QSize(800, 600));
    // The title is drawn in yellow; the ground under the buttons is teal.
    const auto titleColoured = [](QColor c) {
        return c.red() > 150 && c.green() > 150 && c.blue() < 150;
    };
    int titlePixels = 0;
    for (int y = 0; y < 86; ++y) {
        for (int x = 0; x < 800; ++x) {
            titlePixels += titleColoured(background.pixelColor(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(titlePixels, 100);  // the title is there at all
    for (QPushButton* b :
         {window->Command1, window->Command2, window->Command3, window->Command4}) {
        const QRect place = b->geometry();
        for (int y = place.top(); y <= place.bottom(); ++y) {
            for (int x = place.left(); x <= place.right(); ++x) {
                ASSERT_FALSE(titleColoured(background.pixelColor(x, y)))
                    << b->text().toStdString() << " at " << x << "," << y;
            }
        }
    }
}

// ---- Grabs of the window, looked at by hand (kept in the build tree) ----------------------------

TEST_F(DictionaryWindowTest, GrabsWithAndWithoutTheMaintainerFile) {
    const QString grabs = testing_support::outputFolder(u("grabs"));
    words({{"apple", "n.苹果"}, {"applaud", "v.鼓掌"}, {"apply", "v.申请；应用"}});
    load();
    lookUp("Apple");
    window->Text1->setText(u("Apple"));
    const QImage plain = window->grab().toImage();
    EXPECT_EQ(plain.size(), QSize(800, 600));
    EXPECT_TRUE(plain.save(grabs + u("/lookup_window_plain.png")));

    fake.folders.createMaintainerFile();
    load();
    lookUp("书");
    const QImage maintainer = window->grab().toImage();
    EXPECT_TRUE(maintainer.save(grabs + u("/lookup_window_maintainer.png")));
    // The upkeep buttons change the picture where they stand.
    EXPECT_NE(plain.copy(24, 200, 81, 33), maintainer.copy(24, 200, 81, 33));

    // Once the pointer has crossed the background, both buttons show their normal looks.
    moveOver(window->Image1);
    const QImage normalLooks = window->grab().toImage();
    EXPECT_TRUE(normalLooks.save(grabs + u("/lookup_window_normal_looks.png")));
    EXPECT_NE(maintainer.copy(216, 520, 108, 23), normalLooks.copy(216, 520, 108, 23));
}

}  // namespace
}  // namespace dictionary_testing
