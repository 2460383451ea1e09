// The study window's controls, looks and hover handlers.
#include "tests/drill/study_window_fixture.h"

#include "app/start_window.h"
#include "settings/settings_window.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRawFont>
#include <QTabBar>
#include <QTest>
#include <QTextLayout>

#include <cstdlib>
#include <string>

namespace {

using namespace study_testing;

class StudyLooks : public StudyWindowTest {
  protected:
    Form3& shownWithQuestion() {
        fake.folders.writeNumberedWords(40);
        learn("600");
        Form3& w = open();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
};

void moveOver(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

TEST_F(StudyLooks, ControlsStandWhereTheLayoutPutsThem) {
    Form3& w = load();
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.minimumSize(), QSize(800, 600));
    EXPECT_EQ(w.maximumSize(), QSize(800, 600));
    const struct {
        const char* name;
        QWidget* control;
        QRect rect;
    } controls[] = {
        {"Image1", w.Image1, {0, 0, 800, 600}},
        {"Text1", w.Text1, {64, 72, 673, 57}},
        {"Label1", w.Label1, {120, 24, 625, 33}},
        {"Text2", w.Text2, {352, 40, 89, 25}},
        {"Frame1", w.Frame1, {64, 136, 673, 369}},
        {"Command1", w.Command1, {672, 424, 57, 33}},
        {"Command2", w.Command2, {664, 552, 121, 33}},
        {"Image2", w.Image2, {328, 527, 169, 40}},
        {"Image5", w.Image5, {160, 536, 60, 22}},
        {"Image4", w.Image4, {584, 536, 108, 23}},
        {"Label4", w.Label4, {64, 576, 80, 16}},
        {"Combo1", w.Combo1, {152, 573, 49, 20}},
        {"Label2", w.Label2, {328, 576, 225, 17}},
        {"Label3", w.Label3, {552, 576, 137, 17}},
        {"Option1(0)", w.Option1[0], {40, 24, 593, 49}},
        {"Option1(1)", w.Option1[1], {40, 80, 593, 49}},
        {"Option1(2)", w.Option1[2], {40, 136, 593, 49}},
        {"Option1(3)", w.Option1[3], {40, 192, 593, 49}},
        {"Option1(4)", w.Option1[4], {40, 248, 593, 49}},
        {"Option1(5)", w.Option1[5], {40, 312, 377, 33}},
        {"Option1(6)", w.Option1[6], {40, 304, 593, 49}},
        {"Option1(7)", w.Option1[7], {56, 312, 377, 33}},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(c.control->geometry(), c.rect) << c.name;
    }
    const int cellLefts[] = {332, 347, 364, 380, 396, 412, 427, 443, 458, 474};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(w.Image3[static_cast<size_t>(i)]->geometry(), QRect(cellLefts[i], 531, 13, 32));
    }
    for (auto* row : w.Option1) {
        EXPECT_EQ(row->parentWidget(), w.Frame1);
    }
}

TEST_F(StudyLooks, FontsColoursTextsAndVisibility) {
    Form3& w = load();
    EXPECT_EQ(w.Text1->font().pointSizeF(), 24);
    EXPECT_EQ(w.Text1->font().weight(), QFont::Black);
    EXPECT_TRUE(w.Text1->font().italic());
    EXPECT_TRUE(w.Text1->font().families().contains(QStringLiteral("Arial Black")));
    EXPECT_EQ(w.Text1->palette().color(QPalette::Base), QColor(0, 192, 192));
    EXPECT_EQ(w.text1Colour(), QColor(128, 255, 255));
    EXPECT_EQ(w.Text2->font().pointSizeF(), 15.75);
    EXPECT_TRUE(w.Text2->font().families().contains(QStringLiteral("黑体")));
    EXPECT_EQ(w.Label1->font().pointSizeF(), 14.25);
    EXPECT_TRUE(w.Label1->font().bold());
    EXPECT_EQ(w.Label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(w.Label1->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(w.Label1->autoFillBackground());
    EXPECT_EQ(w.Frame1->palette().color(QPalette::Window), QColor(0, 192, 192));
    for (int i = 0; i < 8; ++i) {
        const bool small = i == 5 || i == 7;
        const QFont f = w.Option1[static_cast<size_t>(i)]->font();
        EXPECT_EQ(f.pointSizeF(), small ? 12 : 14.25) << i;
        EXPECT_TRUE(f.bold()) << i;
        EXPECT_TRUE(
            f.families().contains(small ? QStringLiteral("宋体") : QStringLiteral("楷体_GB2312")))
            << i;
        EXPECT_EQ(w.rowBackColour(i), QColor(0, 192, 192)) << i;
        EXPECT_EQ(w.rowTextColour(i), QColor(192, 255, 255)) << i;
    }
    EXPECT_EQ(w.Command1->text(), QStringLiteral("Command1"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("开始学习"));
    EXPECT_TRUE(w.Command2->isHidden());
    EXPECT_EQ(w.Command2->font().pointSizeF(), 10.5);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("难度选择："));
    EXPECT_EQ(w.Label4->font().pointSizeF(), 12);
    for (QLabel* label : {w.Label2, w.Label3}) {
        EXPECT_EQ(label->font().pointSizeF(), 12);
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0, 192, 192));
    }
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("10"));
    // Both picture buttons start dark; the image lists hold two looks each.
    EXPECT_EQ(w.Image4->look(), w.ImageList1.name(1));
    EXPECT_EQ(w.Image5->look(), w.ImageList2.name(2));
    EXPECT_EQ(w.ImageList1.picture(1).size(), QSize(108, 23));
    EXPECT_EQ(w.ImageList2.picture(1).size(), QSize(60, 22));
}

/// The English family name that a face declares in its naming table (Windows platform, US
/// English, else Macintosh Roman English), lower case. Fontconfig, and with it Qt, names a
/// family in the language of the locale (文泉驿正黑 under zh_CN.UTF-8); this name tells the
/// face drawn the same way in every locale.
std::string englishFamilyName(const QRawFont& font) {
    const QByteArray table = font.fontTable("name");
    const auto u16 = [&](qsizetype at) {
        return at + 2 <= table.size() ? static_cast<unsigned>(static_cast<quint8>(table[at]) << 8 |
                                                              static_cast<quint8>(table[at + 1]))
                                      : 0u;
    };
    constexpr unsigned kFamily = 1;
    const unsigned count = u16(2);
    const qsizetype strings = u16(4);
    std::string mac;
    for (unsigned i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * static_cast<qsizetype>(i);
        const unsigned platform = u16(record), language = u16(record + 4);
        const qsizetype length = u16(record + 8), at = strings + u16(record + 10);
        if (u16(record + 6) != kFamily || at + length > table.size()) {
            continue;
        }
        if (platform == 3 && language == 0x0409) {
            QString name;
            for (qsizetype c = 0; c + 1 < length; c += 2) {
                name += QChar(static_cast<char16_t>(u16(at + c)));
            }
            return name.toLower().toStdString();
        }
        if (platform == 1 && language == 0 && mac.empty()) {
            mac = QString::fromLatin1(table.constData() + at, length).toLower().toStdString();
        }
    }
    return mac;
}

/// The faces that draw a text's Chinese characters and its Latin letters in a font, as the
/// text is laid out for drawing ("" where the text has none), by their English family names.
struct DrawnFaces {
    std::string chinese;
    std::string latin;
};

DrawnFaces drawnFaces(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList chinese;
    QStringList latin;
    for (int i = 0; i < text.size(); ++i) {
        const QChar::Script script = text.at(i).script();
        QStringList* faces = script == QChar::Script_Han     ? &chinese
                             : script == QChar::Script_Latin ? &latin
                                                             : nullptr;
        if (faces == nullptr) {
            continue;
        }
        for (const QGlyphRun& run : layout.glyphRuns(i, 1)) {
            const QString family = QString::fromStdString(englishFamilyName(run.rawFont()));
            if (!faces->contains(family)) {
                faces->append(family);
            }
        }
    }
    return {chinese.join(QStringLiteral(" + ")).toStdString(),
            latin.join(QStringLiteral(" + ")).toStdString()};
}

TEST_F(StudyLooks, EachControlDrawsItsChineseInItsOwnFaceAfterTheOtherWindowsWereDrawn) {
    // The start and settings windows draw Song text first, the start window's download offer
    // at the size and weight of the answer rows.
    testing_support::FakeServices others;
    QFile(core::pathText(others.folders.paths.file("error.bat"))).open(QIODevice::WriteOnly);
    Form1 start(others.services());
    start.show();
    start.Form_Activate();  // no voice found: the download offer shows
    ASSERT_TRUE(start.Label2->isVisible());
    start.grab();
    Form2 settingsWindow(others.services());
    settingsWindow.show();
    settingsWindow.grab();
    Form3& w = shownWithQuestion();
    w.setRowFontSize(2, 12);  // a long gloss's size, that of the Song rows
    const QImage image = w.grab().toImage();
    image.save(testing_support::outputFolder(QStringLiteral("grabs")) +
               QStringLiteral("/study_window_after_others.png"));

    const std::string kai = "ar pl ukai cn";
    const std::string ming = "ar pl uming cn";
    const std::string hei = "wenquanyi zen hei";
    const QString gloss = QStringLiteral("n.词语");
    const struct {
        const char* name;
        const QWidget* control;
        QString text;
        std::string chinese;
    } controls[] = {
        {"Option1(0)", w.Option1[0], w.Option1[0]->text(), kai},
        {"Option1(1)", w.Option1[1], w.Option1[1]->text(), kai},
        {"Option1(2) at 12 pt", w.Option1[2], w.Option1[2]->text(), kai},
        {"Option1(3)", w.Option1[3], w.Option1[3]->text(), kai},
        {"Option1(4)", w.Option1[4], w.Option1[4]->text(), kai},
        {"Option1(6)", w.Option1[6], gloss, kai},
        {"Option1(5)", w.Option1[5], gloss, ming},
        {"Option1(7)", w.Option1[7], gloss, ming},
        {"Label1", w.Label1, QStringLiteral("您可以选择下一级进行学习"), ming},
        {"Label2", w.Label2, w.Label2->text(), ming},
        {"Text2", w.Text2, QStringLiteral("词频 99"), hei},
        {"start window Label2", start.Label2, start.Label2->text(), ming},
        {"settings window tabs", settingsWindow.SSTab1->tabBar(), QStringLiteral("学习"), ming},
    };
    for (const auto& c : controls) {
        const DrawnFaces faces = drawnFaces(c.control->font(), c.text);
        EXPECT_EQ(faces.chinese, c.chinese) << c.name << ": " << c.text.toStdString();
        // Latin letters keep the Latin face.
        if (!faces.latin.empty()) {
            EXPECT_EQ(faces.latin, "dejavu sans") << c.name;
        }
    }
}

TEST_F(StudyLooks, RowsLightUnderThePointerUntilItCrossesTheFrame) {
    Form3& w = shownWithQuestion();
    moveOver(w.Option1[2], {100, 20});
    EXPECT_EQ(w.rowBackColour(2), QColor(51, 192, 192));
    EXPECT_EQ(w.rowTextColour(2), QColor(192, 255, 255));
    EXPECT_EQ(w.rowBackColour(1), QColor(0, 192, 192));
    // Straight on to the next row: both stay lit.
    moveOver(w.Option1[3], {100, 20});
    EXPECT_EQ(w.rowBackColour(2), QColor(51, 192, 192));
    EXPECT_EQ(w.rowBackColour(3), QColor(51, 192, 192));
    // The frame resets all eight rows, the hidden ones and a changed text colour included.
    w.setRowTextColour(4, QColor(44, 44, 238));
    w.setRowBackColour(7, QColor(51, 192, 192));
    moveOver(w.Frame1, {10, 10});
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(w.rowBackColour(i), QColor(0, 192, 192)) << i;
        EXPECT_EQ(w.rowTextColour(i), QColor(192, 255, 255)) << i;
    }
}

TEST_F(StudyLooks, HoverColoursAreWhatTheRowShows) {
    Form3& w = shownWithQuestion();
    moveOver(w.Option1[0], {100, 20});
    const QImage lit = w.Option1[0]->grab().toImage();
    const QImage plain = w.Option1[1]->grab().toImage();
    EXPECT_EQ(QColor(lit.pixel(8, 8)), QColor(51, 192, 192));
    EXPECT_EQ(QColor(plain.pixel(8, 8)), QColor(0, 192, 192));
}

TEST_F(StudyLooks, PictureButtonsTakeTheirLightLookUntilThePointerIsOverTheBackground) {
    Form3& w = load();
    moveOver(w.Image5, {5, 5});
    EXPECT_EQ(w.Image5->look(), w.ImageList2.name(1));
    moveOver(w.Image4, {5, 5});
    EXPECT_EQ(w.Image4->look(), w.ImageList1.name(2));
    EXPECT_EQ(w.Image5->look(), w.ImageList2.name(1));  // still light
    const QString rowsBefore = w.Option1[0]->text();
    w.setRowBackColour(0, QColor(51, 192, 192));
    moveOver(w.Image1, {400, 10});
    EXPECT_EQ(w.Image4->look(), w.ImageList1.name(1));
    EXPECT_EQ(w.Image5->look(), w.ImageList2.name(2));
    EXPECT_EQ(w.rowBackColour(0), QColor(51, 192, 192));  // the rows are not touched
}

TEST_F(StudyLooks, StartPictureRunsTheDriver) {
    Form3& w = shownWithQuestion();
    speechOn();
    fake.speech.spoken.clear();
    random().fallback = 0.25;
    QTest::mouseClick(w.Image5, Qt::LeftButton, Qt::NoModifier, {30, 11});
    expectNoFailure();
    EXPECT_EQ(w.Text1->text(), QStringLiteral("w11"));
    EXPECT_EQ(spoken(), QStringList{QStringLiteral("w11")});
}

TEST_F(StudyLooks, ExitPictureLeavesTheWindow) {
    Form3& w = shownWithQuestion();
    QTest::mouseClick(w.Image4, Qt::LeftButton, Qt::NoModifier, {50, 11});
    expectNoFailure();
    ASSERT_EQ(fake.navigator.shown.size(), 1u);
    EXPECT_FALSE(w.isVisible());
}

TEST(AnswerRows, AClickSelectsTheRowBeforeItsReleaseIsReported) {
    QWidget frame;
    frame.resize(700, 200);
    auto* first = new drill::AnswerRow(&frame);
    first->setGeometry(40, 24, 593, 49);
    auto* second = new drill::AnswerRow(&frame);
    second->setGeometry(40, 80, 593, 49);
    std::vector<bool> selectedAtRelease;
    QObject::connect(first, &drill::AnswerRow::mouseUp,
                     [&] { selectedAtRelease.push_back(first->isChecked()); });
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    // Anywhere on the wide row, not only near an indicator.
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, {400, 24});
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, {400, 24});  // stays selected
    QTest::mouseClick(first, Qt::RightButton, Qt::NoModifier, {400, 24});
    EXPECT_EQ(selectedAtRelease, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(first->isChecked());

    // Rows are not exclusive by themselves: the window keeps one selected, and deselects.
    first->setChecked(false);
    EXPECT_FALSE(first->isChecked());
    QTest::mouseClick(second, Qt::RightButton, Qt::NoModifier, {400, 24});
    EXPECT_FALSE(second->isChecked());  // only a left click selects
}

TEST(AnswerRows, EdgesAreRaisedUntilTheRowIsSelected) {
    QWidget frame;
    frame.resize(700, 100);
    auto* row = new drill::AnswerRow(&frame);
    row->setGeometry(40, 24, 593, 49);
    const QColor back(0, 192, 192);
    row->setBackColour(back);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    // As 8-bit pixels: the edge colours are derived at finer precision than the screen's.
    const QRgb light = back.lighter(150).rgb();
    const QRgb dark = back.darker(180).rgb();
    // The shade line: black at alpha 90 over the given colour.
    const auto shaded = [](const QColor& under) {
        const auto mix = [](int c) { return (c * (255 - 90) + 127) / 255; };
        return QColor(mix(under.red()), mix(under.green()), mix(under.blue()));
    };
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
               std::abs(a.blue() - b.blue()) <= 1;
    };
    for (const bool selected : {false, true}) {
        row->setChecked(selected);
        const QImage image = row->grab().toImage();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        const QRgb outer = selected ? dark : light;
        const QRgb inner = selected ? light : dark;
        // Whole edges, corners included: top and left in one colour, bottom and right in the
        // other, which is drawn last where they meet.
        for (int x = 0; x < right; ++x) {
            EXPECT_EQ(image.pixel(x, 0), outer) << selected << " top " << x;
            EXPECT_EQ(image.pixel(x + 1, bottom), inner) << selected << " bottom " << x;
        }
        for (int y = 0; y < bottom; ++y) {
            EXPECT_EQ(image.pixel(0, y), outer) << selected << " left " << y;
            EXPECT_EQ(image.pixel(right, y + 1), inner) << selected << " right " << y;
        }
        // The shade runs inside the lower and right edges of a raised row, inside the upper
        // and left ones of a pressed row; the face between is the row's colour.
        const QPoint shade = selected ? QPoint(1, 20) : QPoint(right - 1, 20);
        const QPoint shade2 = selected ? QPoint(300, 1) : QPoint(300, bottom - 1);
        EXPECT_TRUE(near(QColor(image.pixel(shade)), shaded(back))) << selected;
        EXPECT_TRUE(near(QColor(image.pixel(shade2)), shaded(back))) << selected;
        const QPoint face = selected ? QPoint(right - 1, 20) : QPoint(1, 20);
        EXPECT_EQ(QColor(image.pixel(face)), back) << selected;
    }
}

TEST_F(StudyLooks, OneRowIsSelectedAtATime) {
    Form3& w = load();
    w.Option1[3]->setChecked(true);
    w.Option1[1]->setChecked(true);
    EXPECT_TRUE(w.Option1[1]->isChecked());
    EXPECT_FALSE(w.Option1[3]->isChecked());
}

TEST_F(StudyLooks, GrabShowsTheWindowAsDesigned) {
    Form3& w = shownWithQuestion();
    w.lightCells(3);
    w.Label1->setText(QStringLiteral("您可以选择下一级进行学习"));
    w.Option1[2]->setText(QStringLiteral("n.") + QString(70, QChar(0x8BCD)));
    w.setRowFontSize(2, 12);
    w.Option1_MouseMove(4);
    const QImage image = w.grab().toImage();
    ASSERT_EQ(image.size(), QSize(800, 600));
    image.save(testing_support::outputFolder(QStringLiteral("grabs")) +
               QStringLiteral("/study_window.png"));
    // Frame, rows, lit and unlit bar cells, and the background's two regions.
    EXPECT_EQ(QColor(image.pixel(70, 300)), QColor(0, 192, 192));   // frame
    EXPECT_EQ(QColor(image.pixel(112, 170)), QColor(0, 192, 192));  // row 0
    EXPECT_EQ(QColor(image.pixel(338, 547)), QColor(255, 102, 0));  // cell 0 lit
    EXPECT_NE(QColor(image.pixel(480, 547)), QColor(255, 102, 0));  // cell 9 not
    EXPECT_EQ(QColor(image.pixel(330, 584)), QColor(0, 192, 192));  // Label2
    EXPECT_LT(QColor(image.pixel(20, 20)).lightness(), 100);        // dark top
    EXPECT_GT(QColor(image.pixel(20, 540)).lightness(), 180);       // light foot
}

}  // namespace
