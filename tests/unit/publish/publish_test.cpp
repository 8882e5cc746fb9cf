#include "publish.h"
#include "requests.h"
#include "support/tempdir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

using namespace lumora;

namespace {

LumoraPlayPtr programme(const char* id, const char* type, const char* name = "节目") {
    auto record = std::make_shared<TLumoraPlay>();
    record->id = QString::fromUtf8(id);
    record->type = QString::fromUtf8(type);
    record->name = QString::fromUtf8(name);
    return record;
}

} // namespace

TEST(Publish, EachProgrammeGoesWhereTheClientsRequestLooks) {
    test::TempDir files;
    for (const char* name : {"2303.swf", "42.mp3", "7.flv", "2399.swf", "2303.flv"})
        files.write(QString::fromLatin1(name), "x");
    CatalogueTree tree;
    const auto category = tree.appendTopLevel(programme("2301", "0"));
    tree.appendChild(category, programme("2303", "1"));
    tree.appendChild(category, programme("0042", "2"));                 // stored with leading zeros
    tree.appendChild(category, programme("2306", "3", "识字卡片说明")); // no file
    tree.appendChild(category, programme("abc", "4", "坏编号"));
    tree.appendChild(category, programme("7", "9")); // a type without a file extension
    const auto other = tree.appendTopLevel(programme("2310", "0"));
    tree.appendChild(other, programme("2303", "1")); // the same programme again
    tree.appendChild(other, programme("0007", "4"));

    const demo::PublishPlan plan = demo::planPublication(tree, files.path().toStdString());
    const std::map<QString, QString> expected{
        {"2303.swf", downloadAddress("files/", 2303, "1")},
        {"42.mp3", downloadAddress("files/", 42, "2")},
        {"7.flv", downloadAddress("files/", 7, "4")},
    };
    std::map<QString, QString> published;
    for (const auto& f : plan.files)
        published[QString::fromStdString(f.source.filename().string())] = f.target;
    EXPECT_EQ(published, expected);
    EXPECT_TRUE(published["2303.swf"].startsWith("files/18/"))
        << published["2303.swf"].toStdString();
    EXPECT_TRUE(published["42.mp3"].contains(QRegularExpression("^files/1/[0-9A-F]{16}\\.mp3$")));
    EXPECT_EQ(plan.missing, QStringList({"2306 识字卡片说明", "abc 坏编号"}));
}
