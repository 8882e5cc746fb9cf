#include "gbk.h"
#include "inifile.h"
#include "inistore.h"
#include "support/tempdir.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::test::TempDir;

namespace {

QByteArray gbk(const char* utf8) {
    const std::string bytes = toGbk(QString::fromUtf8(utf8));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

TEST(IniFile, SectionsAndKeysIgnoreCaseAndTheFirstOccurrenceWins) {
    const IniFile ini = IniFile::parse("[INFO]\r\n11 = 2 \r\n11=3\r\n[info]\r\n5=x\r\n");
    EXPECT_EQ(ini.value("Info", "11", "d"), "2");
    EXPECT_EQ(ini.value("iNfO", "5", "d"), "d"); // only the first section counts
    EXPECT_EQ(ini.value("Other", "11", "d"), "d");
}

TEST(IniFile, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
    const IniFile ini = IniFile::parse("[a]\nk1=  \"x y\"  \nk2='q'\nk3=\nk4=\"open\n");
    EXPECT_EQ(ini.value("a", "k1", "d"), "x y");
    EXPECT_EQ(ini.value("a", "k2", "d"), "q");
    EXPECT_EQ(ini.value("a", "k3", "d"), ""); // present but empty is not the default
    EXPECT_EQ(ini.value("a", "k4", "d"), "\"open");
}

TEST(IniFile, WritingKeepsEveryOtherLineAndTheLineEnds) {
    IniFile ini = IniFile::parse("; note\r\n[Info]\r\n1=0\r\nx=keep\r\n\r\n[Other]\r\ny=1\r\n");
    ini.setValue("info", "1", "5");
    ini.setValue("Info", "new", "v");
    ini.setValue("Third", "z", "w");
    EXPECT_EQ(ini.bytes(), "; note\r\n[Info]\r\n1=5\r\nx=keep\r\nnew=v\r\n\r\n[Other]\r\ny=1\r\n"
                           "[Third]\r\nz=w\r\n");
}

TEST(IniFile, ValuesRoundTripThroughGbk) {
    IniFile ini;
    ini.setValue("Info", "10", QString::fromUtf8("D:/下载/儿歌"));
    EXPECT_EQ(QByteArray::fromStdString(ini.bytes()), "[Info]\n10=" + gbk("D:/下载/儿歌") + "\n");
    EXPECT_EQ(IniFile::parse(ini.bytes()).value("Info", "10", ""),
              QString::fromUtf8("D:/下载/儿歌"));
}

TEST(IniFile, BytesThatAreNotGbkStillRead) {
    const IniFile ini = IniFile::parse(std::string("[Info]\n8=\xff\xfe\x80z\n1=3\n\0\0\n", 20));
    EXPECT_EQ(ini.value("Info", "1", "d"), "3");
    EXPECT_TRUE(ini.value("Info", "8", "d").endsWith('z'));
}

TEST(IniFile, ValueWithLineBreakCannotAddLines) {
    IniFile ini;
    ini.setValue("Info", "1", "a\n[Evil]\nb=c");
    EXPECT_FALSE(IniFile::parse(ini.bytes()).hasKey("Evil", "b"));
}

TEST(IniStore, ReadAnswersZeroForMissingKeyOrFile) {
    TempDir dir;
    dir.write("a.ini", "[Info]\n23=7\n");
    EXPECT_EQ(readIniValue(dir.file("a.ini"), "info", "23").value(), "7");
    EXPECT_EQ(readIniValue(dir.file("a.ini"), "info", "24").value(), "0");
    EXPECT_EQ(readIniValue(dir.file("missing.ini"), "info", "23").value(), "0");
}

TEST(IniStore, ReadOfSomethingUnreadableFails) {
    TempDir dir;
    dir.write("dir.ini/x", "");
    const Outcome<QString> read = readIniValue(dir.file("dir.ini"), "Info", "1");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.failure().message, dir.file("dir.ini") + " is not a file");
}

TEST(IniStore, WriteNeverCreatesAFile) {
    TempDir dir;
    EXPECT_FALSE(writeIniValue(dir.file("none.ini"), "Info", "1", "1"));
    EXPECT_FALSE(dir.exists("none.ini"));
    dir.write("d.ini/x", "");
    EXPECT_FALSE(writeIniValue(dir.file("d.ini"), "Info", "1", "1"));
}

TEST(IniStore, WriteReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
    TempDir dir;
    dir.write("Config/local.ini", "[Info]\r\n1=0\r\n6=33554455\r\n");
    ASSERT_TRUE(writeIniValue(dir.file("Config/local.ini"), "Info", "1", "1"));
    EXPECT_EQ(dir.read("Config/local.ini"), "[Info]\r\n1=1\r\n6=33554455\r\n");
    EXPECT_EQ(QDir(dir.file("Config")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(IniStore, WriteKeepsTheModeAndWritesThroughALink) {
    TempDir dir;
    dir.write("Config/local.ini", "[Info]\n1=0\n");
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(dir.file("Config/local.ini"), mode));
    ASSERT_TRUE(QFile::link(dir.file("Config/local.ini"), dir.file("link.ini")));
    ASSERT_TRUE(writeIniValue(dir.file("link.ini"), "Info", "1", "3"));
    EXPECT_TRUE(QFileInfo(dir.file("link.ini")).isSymLink());
    EXPECT_EQ(dir.read("Config/local.ini"), "[Info]\n1=3\n");
    constexpr int kOwnerGroupOther = 0x7077; // without the "current user" bits
    EXPECT_EQ(QFile::permissions(dir.file("Config/local.ini")).toInt() & kOwnerGroupOther,
              mode.toInt());
}

TEST(IniStore, WriteIntoAReadOnlyFolderFailsAndKeepsTheFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    dir.write("Config/local.ini", "[Info]\n1=0\n");
    QFile::setPermissions(dir.file("Config"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(writeIniValue(dir.file("Config/local.ini"), "Info", "1", "9"));
    QFile::setPermissions(dir.file("Config"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(dir.read("Config/local.ini"), "[Info]\n1=0\n");
}

TEST(IniStore, IntegersAreDecimalAndThirtyTwoBit) {
    EXPECT_EQ(toIniInteger(" 42 ").value(), 42);
    EXPECT_EQ(toIniInteger("-7").value(), -7);
    EXPECT_EQ(toIniInteger("2147483647").value(), 2147483647);
    for (const char* bad : {"", "abc", "1x", "2147483648", "0x10", "1.5"})
        EXPECT_FALSE(toIniInteger(bad)) << bad;
}

TEST(IniFile, ChineseNamesAreWholeCharacters) {
    // The second byte of a GBK character may be ']' or an ASCII letter.
    const QString section = QString::fromUtf8("誡");
    ASSERT_NE(toGbk(section).find(']'), std::string::npos);
    IniFile ini;
    ini.setValue(section, "k", "1");
    ini.setValue(section, "k", "2");
    EXPECT_EQ(ini.value(section, "k", "d"), "2");
    EXPECT_EQ(QByteArray::fromStdString(ini.bytes()).count('['), 1);

    const QString upper = QString::fromUtf8("癆"), lower = QString::fromUtf8("癮");
    ini.setValue("Info", upper, "a");
    ini.setValue("Info", lower, "b");
    EXPECT_EQ(ini.value("Info", upper, "d"), "a");
    EXPECT_EQ(ini.value("Info", lower, "d"), "b");
}
