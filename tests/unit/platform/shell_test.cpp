#include "shell.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ExternalAddress, WebAddressesAndOtherSchemesGoToTheDesktop) {
    const struct {
        const char* given;
        const char* opened;
    } cases[] = {
        {"http://www.example.com/online", "http://www.example.com/online"},
        {"  https://example.com/a?b=1 ", "https://example.com/a?b=1"},
        {"www.example.com", "http://www.example.com"},
        {"mailto:help@example.com", "mailto:help@example.com"},
        {"tencent://message/?uin=123", "tencent://message/?uin=123"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        const auto url = externalAddress(QString::fromUtf8(c.given));
        ASSERT_TRUE(url.has_value());
        EXPECT_EQ(url->toString(), QString::fromUtf8(c.opened));
    }
}

TEST(ExternalAddress, LocalFilesAndProgramsAreRefused) {
    const char* refused[] = {
        "",
        "   ",
        "/usr/bin/xterm",
        "file:///usr/bin/xterm",
        "FILE:///home/user/.local/share/applications/evil.desktop",
        "file://localhost/etc/passwd",
        "~/bin/run.sh",
        "./run.sh",
        "../Client/lumora-channel",
    };
    for (const char* address : refused) {
        SCOPED_TRACE(address);
        EXPECT_FALSE(externalAddress(QString::fromUtf8(address)).has_value());
    }
}

} // namespace
} // namespace lumora
