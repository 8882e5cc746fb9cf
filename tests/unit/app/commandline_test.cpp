#include "commandline.h"
#include "edition.h"

#include <gtest/gtest.h>

using namespace lumora;

TEST(CommandLine, OnlyTheFirstArgumentAsksForInformation) {
    struct Row {
        QStringList arguments;
        InfoRequest expected;
    };
    const Row rows[] = {
        {{"lumora-channel"}, InfoRequest::None},
        {{"lumora-channel", "--help"}, InfoRequest::Help},
        {{"lumora-channel", "-h"}, InfoRequest::Help},
        {{"lumora-channel", "--version"}, InfoRequest::Version},
        {{"lumora-channel", "--VERSION"}, InfoRequest::None},
        {{"lumora-channel", "-START", "--help"}, InfoRequest::None},
        {{"lumora-channel", "--version", "--help"}, InfoRequest::Version},
        {{"lumora-channel", "--helpme"}, InfoRequest::None},
        {{}, InfoRequest::None},
    };
    for (const Row& r : rows)
        EXPECT_EQ(infoRequest(r.arguments), r.expected) << r.arguments.join(' ').toStdString();
}

TEST(CommandLine, VersionNamesTheEditionTheVersionCarries) {
    EXPECT_EQ(versionText(FileVersion{{2, 0, 0, 23}}), "lumora-channel 2.0.0.23 Lumora学汉字\n");
    EXPECT_EQ(versionText(FileVersion{{3, 1, 4, 25}}), "lumora-channel 3.1.4.25 幼儿英语2013\n");
    EXPECT_EQ(versionText(FileVersion{{2, 0, 0, 7}}), "lumora-channel 2.0.0.7 Lumora精品版\n");
    EXPECT_EQ(versionText(std::nullopt), "lumora-channel 0.0.0.0 Lumora精品版\n");
}

TEST(CommandLine, HelpListsTheSwitchEveryEditionAndTheSettingsFiles) {
    const QString text = helpText(QStringLiteral("/opt/x/Client/"));
    EXPECT_TRUE(text.contains(QStringLiteral("-START")));
    for (int code : {21, 22, 23, 24, 25}) {
        const QString line =
            QStringLiteral("%1  %2").arg(code).arg(QString::fromUtf8(editionFor(code).appTitle));
        EXPECT_TRUE(text.contains(line)) << code;
    }
    EXPECT_TRUE(text.contains(QStringLiteral("other  Lumora精品版")));
    for (const char* file : {"/opt/x/Client/Config/local.ini", "/opt/x/Client/Config/platform.ini",
                             "/opt/x/Client/../Config/Source.ini"})
        EXPECT_TRUE(text.contains(QLatin1String(file))) << file;
}
