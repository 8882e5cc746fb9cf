#include "externalinterfacexml.h"

#include <QJsonObject>

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct ParseCase {
    const char* xml;
    const char* name;
    QJsonArray arguments;
};

TEST(ExternalInterfaceXml, ParsesRequests) {
    const ParseCase cases[] = {
        {"<invoke name=\"getDuration\"></invoke>", "getDuration", {}},
        {"<invoke name=\"f\" returntype=\"xml\"/>", "f", {}},
        {"<invoke name=\"sendEvent\"><arguments><string>playpause</string></arguments></invoke>",
         "sendEvent",
         {"playpause"}},
        {"<invoke name=\"sendEvent\"><arguments><string>position</string><number>12.5</number>"
         "</arguments></invoke>",
         "sendEvent",
         {"position", 12.5}},
        {"<invoke name=\"g\" returntype=\"xml\"><arguments><true/><false/><null/><number>-3e2"
         "</number><string></string></arguments></invoke>",
         "g",
         {true, false, QJsonValue::Null, -300.0, ""}},
        {"<invoke name=\"h\"><arguments><string>a &lt;b&gt; &amp; \"c\"</string></arguments>"
         "</invoke>",
         "h",
         {"a <b> & \"c\""}},
        {"<invoke name=\"k\"><arguments><array><property id=\"0\"><number>1</number></property>"
         "<property id=\"1\"><string>x</string></property></array><object><property id=\"key\">"
         "<true/></property></object></arguments></invoke>",
         "k",
         {QJsonArray{1.0, "x"}, QJsonObject{{"key", true}}}},
        {"  <invoke name=\"w\">\n <arguments>\n <number> 7 </number>\n </arguments>\n</invoke>\n",
         "w",
         {7.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        const Outcome<InvokeRequest> request = parseInvoke(QString::fromUtf8(c.xml));
        ASSERT_TRUE(request) << request.failure().message.toStdString();
        EXPECT_EQ(request->name, QString::fromUtf8(c.name));
        EXPECT_EQ(request->arguments, c.arguments);
    }
}

TEST(ExternalInterfaceXml, RefusesMalformedRequests) {
    const char* cases[] = {
        "",
        "getDuration",
        "<invoke></invoke>",
        "<invoke name=\"\"></invoke>",
        "<call name=\"f\"></call>",
        "<invoke name=\"f\">",
        "<invoke name=\"f\"><arguments><number>x</number></arguments></invoke>",
        "<invoke name=\"f\"><arguments><number></number></arguments></invoke>",
        "<invoke name=\"f\"><arguments><date>1</date></arguments></invoke>",
        "<invoke name=\"f\"><arguments><true>1</true></arguments></invoke>",
        "<invoke name=\"f\"><arguments><string><b/></string></arguments></invoke>",
        "<invoke name=\"f\"><arguments>text</arguments></invoke>",
        "<invoke name=\"f\"><other/></invoke>",
        "<invoke name=\"f\"></invoke><invoke name=\"g\"></invoke>",
        "<invoke name=\"f\"></invoke>trailing",
        "<invoke name=\"f\"><arguments><array><number>1</number></array></arguments></invoke>",
        "<invoke name=\"f\"><arguments><array><property id=\"0\"/></array></arguments></invoke>",
        "<invoke name=\"f\"><arguments><string>unterminated</arguments></invoke>",
    };
    for (const char* xml : cases) {
        SCOPED_TRACE(xml);
        const Outcome<InvokeRequest> request = parseInvoke(QString::fromUtf8(xml));
        ASSERT_FALSE(request);
        EXPECT_TRUE(request.failure().message.startsWith("external-interface request: "));
    }
}

TEST(ExternalInterfaceXml, RefusesDeepNesting) {
    QString xml = QStringLiteral("<invoke name=\"f\"><arguments>");
    for (int i = 0; i < 10000; ++i)
        xml += QStringLiteral("<array><property id=\"0\">");
    EXPECT_FALSE(parseInvoke(xml));
}

TEST(ExternalInterfaceXml, FormatsReplies) {
    const struct {
        QJsonValue value;
        const char* xml;
    } cases[] = {
        {12.5, "<number>12.5</number>"},
        {3.0, "<number>3</number>"},
        {-0.1, "<number>-0.1</number>"},
        {1e21, "<number>1e+21</number>"},
        {"a<b>&", "<string>a&lt;b&gt;&amp;</string>"},
        {"", "<string></string>"},
        {true, "<true/>"},
        {false, "<false/>"},
        {QJsonValue::Null, "<null/>"},
        {QJsonValue::Undefined, "<undefined/>"},
        {QJsonArray{1.0, "%1"}, "<array><property id=\"0\"><number>1</number></property>"
                                "<property id=\"1\"><string>%1</string></property></array>"},
        {QJsonObject{{"a&", false}},
         "<object><property id=\"a&amp;\"><false/></property></object>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        EXPECT_EQ(formatValue(c.value), QString::fromUtf8(c.xml));
    }
}

TEST(ExternalInterfaceXml, FormattedValuesReadBackAsArguments) {
    const QJsonArray values{12.5, "x <y>", true, QJsonValue::Null,
                            QJsonObject{{"k", QJsonArray{1.0, 2.0}}}};
    QString xml = QStringLiteral("<invoke name=\"echo\"><arguments>");
    for (const auto& value : values)
        xml += formatValue(value);
    xml += QStringLiteral("</arguments></invoke>");
    const Outcome<InvokeRequest> request = parseInvoke(xml);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->arguments, values);
}

} // namespace
} // namespace lumora
