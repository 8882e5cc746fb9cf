#include "edition.h"

#include <array>

namespace lumora {
namespace {

constexpr std::array<Edition, 6> kEditions{{
    {21, "Lumora学拼音", "pinyin", "学拼音", "快乐学拼音"},
    {22, "Lumora儿歌", "erge", "儿歌精选", "Lumora儿歌精选"},
    {23, "Lumora学汉字", "hanzi", "宝宝学识字", "宝宝学识字"},
    {24, "Lumora学数学", "shuxue", "学数学", "Lumora学数学"},
    {25, "幼儿英语2013", "yinyu", "Lumora幼儿英语(2013版)", "幼儿英语2013版"},
    {0, "Lumora精品版", "jingpin", "精品版", "Lumora精品版"},
}};

} // namespace

const Edition& editionFor(int editionCode) {
    for (const Edition& e : kEditions)
        if (e.code == editionCode && e.code != 0)
            return e;
    return kEditions.back();
}

std::span<const Edition> allEditions() {
    return kEditions;
}

bool isChannelEdition(int editionCode) {
    return editionCode >= 21 && editionCode <= 25;
}

int getEditionCode(const std::optional<FileVersion>& version) {
    return version ? int(version->parts[3]) : 0;
}

QString getVersionString(const std::optional<FileVersion>& version) {
    const FileVersion v = version.value_or(FileVersion{});
    return QStringLiteral("%1.%2.%3.%4")
        .arg(v.parts[0])
        .arg(v.parts[1])
        .arg(v.parts[2])
        .arg(v.parts[3]);
}

} // namespace lumora
