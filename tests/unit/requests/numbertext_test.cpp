#include "numbertext.h"

#include <gtest/gtest.h>

using namespace lumora;

TEST(ParseInt32, AcceptsSignedDecimalWithinRange) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"0042", 42},
        {"+7", 7},
        {"-7", -7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"abc", std::nullopt},
        {"4 2", std::nullopt},
        {" 42", std::nullopt},
        {"42 ", std::nullopt},
        {"0x10", std::nullopt},
        {"$10", std::nullopt},
        {"--1", std::nullopt},
        {"１２", std::nullopt}, // full-width digits are not decimal text here
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInt32(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(ParseInt64, CoversTheWholeRange) {
    EXPECT_EQ(parseInt64(u"9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(parseInt64(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(parseInt64(u"9223372036854775808"), std::nullopt);
    EXPECT_EQ(parseInt64(u"-9223372036854775809"), std::nullopt);
    EXPECT_EQ(parseInt64(u"4294967297"), 4294967297LL);
}

TEST(ToInt32, FailsWithTheConversionErrorNamingTheText) {
    const Outcome<std::int32_t> number = toInt32(u"-12");
    ASSERT_TRUE(number);
    EXPECT_EQ(*number, -12);
    for (const char16_t* text : {u"abc", u"", u"2147483648"}) {
        const Outcome<std::int32_t> bad = toInt32(text);
        ASSERT_FALSE(bad);
        EXPECT_EQ(bad.failure().message,
                  QStringLiteral("'%1' is not a valid integer value").arg(QStringView(text)));
    }
}
