#include "externalinterfacexml.h"

#include <QJsonObject>
#include <QLocale>
#include <QXmlStreamReader>

#include <stdexcept>

namespace lumora {
namespace {

// Nesting beyond this is refused, so that a hostile request cannot exhaust the stack.
constexpr int kMaxDepth = 64;

[[noreturn]] void fail(const QXmlStreamReader& xml, const char* what) {
    throw std::invalid_argument(QStringLiteral("external-interface request: %1 (offset %2)")
                                    .arg(QString::fromLatin1(what))
                                    .arg(xml.characterOffset())
                                    .toStdString());
}

// Moves to the next start or end element, refusing stray text.
QXmlStreamReader::TokenType nextElement(QXmlStreamReader& xml) {
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::EndElement)
            return token;
        if (token == QXmlStreamReader::Characters && !xml.isWhitespace())
            fail(xml, "unexpected text");
    }
    if (xml.hasError())
        fail(xml, "malformed XML");
    return QXmlStreamReader::EndDocument;
}

QJsonValue readValue(QXmlStreamReader& xml, int depth);

// Reads <property id="..">value</property> children up to the closing tag of the container.
template <typename Add> void readProperties(QXmlStreamReader& xml, int depth, Add add) {
    while (nextElement(xml) == QXmlStreamReader::StartElement) {
        if (xml.name() != QLatin1String("property"))
            fail(xml, "expected a property");
        const QString id = xml.attributes().value(QLatin1String("id")).toString();
        if (nextElement(xml) != QXmlStreamReader::StartElement)
            fail(xml, "property without a value");
        add(id, readValue(xml, depth + 1));
        if (nextElement(xml) != QXmlStreamReader::EndElement)
            fail(xml, "property with more than one value");
    }
    if (xml.hasError() || xml.tokenType() != QXmlStreamReader::EndElement)
        fail(xml, "unterminated container");
}

// Reads the value whose start element is the current token, through its end element.
QJsonValue readValue(QXmlStreamReader& xml, int depth) {
    if (depth > kMaxDepth)
        fail(xml, "nested too deeply");
    const QString tag = xml.name().toString();
    auto empty = [&](QJsonValue value) {
        if (nextElement(xml) != QXmlStreamReader::EndElement)
            fail(xml, "element should be empty");
        return value;
    };
    if (tag == QLatin1String("true"))
        return empty(true);
    if (tag == QLatin1String("false"))
        return empty(false);
    if (tag == QLatin1String("null"))
        return empty(QJsonValue::Null);
    if (tag == QLatin1String("undefined"))
        return empty(QJsonValue::Undefined);
    if (tag == QLatin1String("string"))
        return xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (tag == QLatin1String("number")) {
        const QString text =
            xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement).trimmed();
        bool ok = false;
        const double number = QLocale::c().toDouble(text, &ok);
        if (!ok || xml.hasError())
            fail(xml, "not a number");
        return number;
    }
    if (tag == QLatin1String("array")) {
        QJsonArray array;
        readProperties(xml, depth, [&](const QString&, QJsonValue v) { array.append(v); });
        return array;
    }
    if (tag == QLatin1String("object")) {
        QJsonObject object;
        readProperties(xml, depth, [&](const QString& id, QJsonValue v) { object.insert(id, v); });
        return object;
    }
    fail(xml, "unknown value type");
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

InvokeRequest readInvoke(const QString& text) {
    QXmlStreamReader xml(text);
    if (nextElement(xml) != QXmlStreamReader::StartElement || xml.name() != QLatin1String("invoke"))
        fail(xml, "expected <invoke>");
    InvokeRequest request;
    request.name = xml.attributes().value(QLatin1String("name")).toString();
    if (request.name.isEmpty())
        fail(xml, "no function name");
    while (nextElement(xml) == QXmlStreamReader::StartElement) {
        if (xml.name() != QLatin1String("arguments"))
            fail(xml, "expected <arguments>");
        while (nextElement(xml) == QXmlStreamReader::StartElement)
            request.arguments.append(readValue(xml, 1));
    }
    if (xml.hasError() || xml.name() != QLatin1String("invoke"))
        fail(xml, "unterminated <invoke>");
    if (nextElement(xml) != QXmlStreamReader::EndDocument)
        fail(xml, "text after </invoke>");
    return request;
}

} // namespace

Outcome<InvokeRequest> parseInvoke(const QString& text) {
    // The reader's routines leave with an exception at the first fault; it ends here.
    try {
        return readInvoke(text);
    } catch (const std::invalid_argument& e) {
        return Failure{QString::fromStdString(e.what())};
    }
}

QString formatValue(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("<true/>") : QStringLiteral("<false/>");
    case QJsonValue::Double:
        return QStringLiteral("<number>%1</number>")
            .arg(QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest));
    case QJsonValue::String:
        return QStringLiteral("<string>%1</string>").arg(escaped(value.toString()));
    case QJsonValue::Array: {
        QString out = QStringLiteral("<array>");
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i)
            out += QStringLiteral("<property id=\"%1\">%2</property>")
                       .arg(i)
                       .arg(formatValue(array.at(i)));
        return out + QStringLiteral("</array>");
    }
    case QJsonValue::Object: {
        QString out = QStringLiteral("<object>");
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            out += QStringLiteral("<property id=\"%1\">%2</property>")
                       .arg(escaped(it.key()), formatValue(it.value()));
        return out + QStringLiteral("</object>");
    }
    case QJsonValue::Null:
        return QStringLiteral("<null/>");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("<undefined/>");
}

} // namespace lumora
