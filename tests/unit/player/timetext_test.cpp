#include "timetext.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumora {
namespace {

TEST(FormatSeconds, ShowsHoursOnlyWhenThereAreAny) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},    {5, "00:05"},      {75, "01:15"},      {599, "09:59"},
        {3599, "59:59"}, {3600, "1:00:00"}, {3725, "1:02:05"},  {36000, "10:00:00"},
        {-1, "00:00"},   {-3725, "00:00"},  {INT_MIN, "00:00"}, {INT_MAX, "596523:14:07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatSeconds(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

} // namespace
} // namespace lumora
