#include "catalogueloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace lumora {

namespace {

void prepareParser() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        // Files declared as gb2312 routinely hold GBK-only characters (朱镕基); read them as
        // GBK, its superset, instead of failing on the first such character.
        xmlAddEncodingAlias("GBK", "GB2312");
    });
}

// An attribute value as the parser hands it over without entity substitution: "&" comes as
// "&#38;", other entity references stay as written ("&name;"), so a nested-entity bomb cannot
// grow through an attribute.
QString attributeText(std::string_view bytes) {
    if (bytes.find("&#38;") == std::string_view::npos)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString::fromUtf8(
        QByteArray(bytes.data(), qsizetype(bytes.size())).replace("&#38;", "&"));
}

// The last text read for one attribute. Types and parent ids repeat from entry to entry; a
// repeat shares the string instead of allocating another.
struct RecentText {
    std::string bytes;
    QString text;

    const QString& read(std::string_view value) {
        if (value != bytes || text.isNull()) {
            bytes.assign(value);
            text = attributeText(value);
        }
        return text;
    }
};

// An entry of a shipped catalogue takes about this many bytes of the file (a short name, four
// attributes); a file of longer entries reserves more room than its nodes take.
constexpr qint64 kBytesPerEntry = 60;
constexpr qint64 kMostReserved = 1 << 20;

struct Parse {
    xmlParserCtxt* context = nullptr;
    CatalogueBuilder* builder = nullptr;
    int depth = 0; // open elements of the document; entries are at depth 2
    std::stop_token stop;
    RecentText type;
    RecentText pid;
};

// Entries are the document element's child elements; elements nested deeper are not read.
// An entry lacking an attribute reads it as empty text: no pid makes a top-level node, no
// type gives image 0 like any type that is not a number.
void startElement(void* user, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**,
                  int attributeCount, int defaultedCount, const xmlChar** attributes) {
    auto* context = static_cast<xmlParserCtxt*>(user);
    auto* parse = static_cast<Parse*>(context->_private);
    // Elements inside entity replacement text come through a context of their own: skip them.
    if (!parse || context != parse->context || ++parse->depth != 2)
        return;
    if (parse->stop.stop_requested()) {
        xmlStopParser(context);
        return;
    }
    // Each entry has its own error guard: a failure abandons that entry only, and no exception
    // may cross the parser's C frames.
    try {
        auto record = std::make_shared<TLumoraPlay>();
        // Attributes defaulted by a DTD are not in the document.
        for (int k = 0; k < attributeCount - defaultedCount; ++k) {
            const xmlChar** a = attributes + 5 * k; // name, prefix, URI, value, end
            if (a[1])
                continue;
            const char* name = reinterpret_cast<const char*>(a[0]);
            const std::string_view value(reinterpret_cast<const char*>(a[3]), a[4] - a[3]);
            if (!qstrcmp(name, "type"))
                record->type = parse->type.read(value);
            else if (!qstrcmp(name, "id"))
                record->id = attributeText(value);
            else if (!qstrcmp(name, "pid"))
                record->pid = parse->pid.read(value);
            else if (!qstrcmp(name, "name"))
                record->name = attributeText(value);
        }
        parse->builder->add(std::move(record));
    } catch (...) {
    }
}

void endElement(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* context = static_cast<xmlParserCtxt*>(user);
    auto* parse = static_cast<Parse*>(context->_private);
    if (parse && context == parse->context)
        --parse->depth;
}

struct ContextDeleter {
    void operator()(xmlParserCtxt* context) const {
        xmlFreeDoc(context->myDoc); // holds only the DTD's declarations
        context->myDoc = nullptr;
        xmlFreeParserCtxt(context);
    }
};

Failure parserFailure(xmlParserCtxt* context, const QString& path) {
    const xmlError* error = context ? xmlCtxtGetLastError(context) : nullptr;
    if (!error || !error->message)
        return Failure{QStringLiteral("cannot read catalogue ") + path};
    QString message = QString::fromUtf8(error->message).trimmed();
    if (error->line > 0)
        message += QStringLiteral(" (line %1)").arg(error->line);
    return Failure{message};
}

} // namespace

QString catalogueFilePath(const QString& appDir, int channel) {
    return QDir(appDir).filePath(QStringLiteral("Resource/xml/%1.xml").arg(channel));
}

Outcome<LoadOutcome> loadCatalogueFile(const QString& path, CatalogueTree& tree,
                                       std::stop_token stop) {
    tree.clear();
    const QFileInfo file(path);
    if (!file.isFile())
        return LoadOutcome{};
    prepareParser();
    const QByteArray fileName = QFile::encodeName(path);
    std::unique_ptr<xmlParserCtxt, ContextDeleter> context(
        xmlCreateFileParserCtxt(fileName.constData()));
    if (!context)
        return parserFailure(nullptr, path);
    // The entries are read straight from the parser's events; no document tree is built.
    xmlSAXVersion(context->sax, 2);
    context->sax->startElementNs = startElement;
    context->sax->endElementNs = endElement;
    context->sax->characters = nullptr;
    context->sax->ignorableWhitespace = nullptr;
    context->sax->cdataBlock = nullptr;
    context->sax->comment = nullptr;
    context->sax->processingInstruction = nullptr;
    context->sax->reference = nullptr;
    // No network, no external DTD, no entity substitution; errors are kept, not printed.
    // Names of a megabyte are well below the parser's default limits, so XML_PARSE_HUGE (which
    // also lifts the entity amplification guard) stays off.
    xmlCtxtUseOptions(context.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);

    CatalogueBuilder builder(tree);
    // Growing the node tables entry by entry moved and faulted in twice their final size.
    builder.reserve(int(std::min<qint64>(file.size() / kBytesPerEntry, kMostReserved)));
    Parse parse{context.get(), &builder, 0, stop, {}, {}};
    context->_private = &parse;
    xmlParseDocument(context.get());
    if (stop.stop_requested()) {
        tree.clear();
        return Failure{QStringLiteral("reading catalogue ") + path + QStringLiteral(" stopped")};
    }
    if (!context->wellFormed) {
        tree.clear();
        return parserFailure(context.get(), path);
    }
    return builder.finish();
}

} // namespace lumora
