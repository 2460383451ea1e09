#include "settings/store.h"
#include "settings/keys.h"

#include "core/failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using settings::keys::autoFallible;
using settings::keys::checkCombo;
using settings::keys::checkFallible;
using settings::keys::checkWordNumber;
using settings::keys::modeLearn;
using settings::keys::voiceSwitch;

class SettingsStore : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    settings::IniStore store{dir.path()};

    QByteArray bytesOf(const char* application) const {
        QFile f(store.fileOf(application));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void putJunk(const char* application) const {
        QFile junk(store.fileOf(application));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray("\x00\x01[\xff\xfe\n=\x00\x00garbage\n", 18));
    }
};

TEST_F(SettingsStore, ValuesRoundTripByteForByte) {
    store.write(checkCombo, QStringLiteral("7 "));
    store.write(modeLearn, QStringLiteral("暂无记录"));
    store.write(checkWordNumber, QStringLiteral("a,b"));
    EXPECT_EQ(store.read(checkCombo), QStringLiteral("7 "));
    EXPECT_EQ(store.read(modeLearn), QStringLiteral("暂无记录"));
    EXPECT_EQ(store.read(checkWordNumber), QStringLiteral("a,b"));

    settings::IniStore fresh(dir.path());
    EXPECT_EQ(fresh.read(checkCombo), QStringLiteral("7 "));
    EXPECT_EQ(fresh.read(modeLearn), QStringLiteral("暂无记录"));
}

TEST_F(SettingsStore, MissingAndDeletedKeysReadEmpty) {
    EXPECT_EQ(store.read(checkCombo), QString());
    store.write(checkCombo, QStringLiteral("3 "));
    store.remove(checkCombo);
    EXPECT_EQ(store.read(checkCombo), QString());
    EXPECT_EQ(settings::IniStore(dir.path()).read(checkCombo), QString());
}

TEST_F(SettingsStore, ASecondStoreSeesAWriteAtOnce) {
    settings::IniStore other(dir.path());
    EXPECT_EQ(other.read(checkCombo), QString());  // the other store has read the file before
    store.write(checkCombo, QStringLiteral("12 "));
    EXPECT_EQ(other.read(checkCombo), QStringLiteral("12 "));
    other.write(checkCombo, QStringLiteral("1 "));
    EXPECT_EQ(store.read(checkCombo), QStringLiteral("1 "));
}

TEST_F(SettingsStore, WriteManyStoresEveryKeyOfEachApplication) {
    settings::IniStore other(dir.path());
    EXPECT_EQ(other.read(checkFallible), QString());  // the other store has read the file before
    store.writeMany({{checkFallible, QStringLiteral("6")},
                     {autoFallible, QStringLiteral("4")},
                     {voiceSwitch, QStringLiteral("true")},
                     {autoFallible, QStringLiteral("5")}});
    EXPECT_EQ(other.read(checkFallible), QStringLiteral("6"));
    EXPECT_EQ(other.read(autoFallible), QStringLiteral("5"));  // the later value of a key wins
    EXPECT_EQ(other.read(voiceSwitch), QStringLiteral("true"));
    EXPECT_EQ(settings::IniStore(dir.path()).read(autoFallible), QStringLiteral("5"));
    store.writeMany({});
    EXPECT_EQ(store.read(checkFallible), QStringLiteral("6"));
}

TEST_F(SettingsStore, WriteManyTakesInAnotherStoresChangesFirst) {
    store.writeMany({{checkFallible, QStringLiteral("1")}, {autoFallible, QStringLiteral("1")}});
    settings::IniStore other(dir.path());
    other.write(checkCombo, QStringLiteral("9 "));
    other.write(checkFallible, QStringLiteral("7"));
    store.writeMany({{autoFallible, QStringLiteral("2")}, {modeLearn, QStringLiteral("600")}});
    settings::IniStore fresh(dir.path());
    EXPECT_EQ(fresh.read(checkCombo), QStringLiteral("9 "));
    EXPECT_EQ(fresh.read(checkFallible), QStringLiteral("7"));
    EXPECT_EQ(fresh.read(autoFallible), QStringLiteral("2"));
    EXPECT_EQ(fresh.read(modeLearn), QStringLiteral("600"));
}

TEST_F(SettingsStore, WriteManyRefusesAFileOfJunkBeforeWritingAnything) {
    store.write(voiceSwitch, QStringLiteral("false"));
    const QByteArray otherFile = bytesOf("qmgm");
    putJunk("qmword");
    const QByteArray junk = bytesOf("qmword");

    QString byWrite;
    try {
        settings::IniStore(dir.path()).write(checkFallible, QStringLiteral("6"));
    } catch (const core::Error& e) {
        byWrite = e.message();
    }
    EXPECT_TRUE(byWrite.contains(QStringLiteral("qmword.ini"))) << byWrite.toStdString();
    // The speech switch's file comes first in the call, the damaged one second: neither is
    // written.
    try {
        settings::IniStore(dir.path())
            .writeMany({{voiceSwitch, QStringLiteral("true")},
                        {checkFallible, QStringLiteral("6")},
                        {autoFallible, QStringLiteral("6")}});
        ADD_FAILURE() << "a file of junk was written over";
    } catch (const core::Error& e) {
        EXPECT_EQ(e.message(), byWrite);
    }
    EXPECT_EQ(bytesOf("qmword"), junk);
    EXPECT_EQ(bytesOf("qmgm"), otherFile);
}

TEST_F(SettingsStore, ApplicationsSectionsAndKeysAreKeptApart) {
    const settings::Key upper{"qmword", "Mode", "Learn"};
    const settings::Key otherApp{"qmgm", "Mode", "learn"};
    store.write(modeLearn, QStringLiteral("600"));
    EXPECT_EQ(store.read(upper), QString());
    EXPECT_EQ(store.read(otherApp), QString());
    EXPECT_TRUE(QFile::exists(store.fileOf("qmword")));
}

TEST_F(SettingsStore, NumbersReadLeadingOrStrict) {
    store.write(checkCombo, QStringLiteral("10 "));
    EXPECT_EQ(store.number(checkCombo), 10);
    EXPECT_EQ(store.strictNumber(checkCombo), 10);
    store.write(checkCombo, QStringLiteral("abc"));
    EXPECT_EQ(store.number(checkCombo), 0);
    EXPECT_THROW(store.strictNumber(checkCombo), core::Error);
    store.writeNumber(checkCombo, 2.45);
    EXPECT_EQ(store.read(checkCombo), QStringLiteral("2.45"));
}

TEST_F(SettingsStore, AFileOfJunkIsReportedByName) {
    QFile junk(store.fileOf("qmword"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("\x00\x01[\xff\xfe\n=\x00\x00garbage\n", 18));
    junk.close();
    settings::IniStore reader(dir.path());
    try {
        const QString value = reader.read(checkCombo);
        // Qt may read junk as an empty store; it must not crash or invent a value.
        EXPECT_TRUE(value.isEmpty());
    } catch (const core::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("qmword.ini")));
    }
}

}  // namespace
