#include "feed/FeedDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cstring>
#include <mutex>
#include <optional>

#include "base/Wording.h"

namespace feed {
namespace {

// Internal entities are expanded as the document model does; no DTD or entity is fetched, nothing
// goes to the network, no error is printed, and the parser's amplification limits stay on.
constexpr int kParseOptions =
    XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;

xmlParserInputPtr refuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void prepareParser() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        // The loader is process-wide in libxml2; ours refuses every external entity and DTD.
        xmlSetExternalEntityLoader(refuseExternal);
    });
}

bool isWhitespaceOnly(const xmlChar* text) {
    if (text == nullptr) return true;
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    }
    return true;
}

bool isNamed(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && (node->ns == nullptr || node->ns->prefix == nullptr) &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// An attribute's value, or nothing when the element has no attribute of that name.
std::optional<std::string> attributeOf(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) return std::nullopt;
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

std::string unreadable() {
    return base::translate("feed::FeedDocument", "Dokument nicht lesbar");
}

std::string describe(const xmlError* error) {
    if (error == nullptr || error->message == nullptr) return unreadable();
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    return base::filled(base::translate("feed::FeedDocument", "Dokument nicht lesbar: %1 (Zeile %2)"),
                        {message, std::to_string(error->line)});
}

// A UTF-16 document (marked or recognisable by its first character) of an odd number of bytes ends in
// half a code unit: an illegal byte sequence, which libxml2 drops without a word.
bool isUtf16WithHalfACodeUnit(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 == 0) return false;
    const auto b0 = static_cast<unsigned char>(bytes[0]), b1 = static_cast<unsigned char>(bytes[1]);
    return (b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE) || (b0 == '<' && b1 == 0) || (b0 == 0 && b1 == '<');
}

}  // namespace

void FeedDocument::DocFree::operator()(_xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

FeedDocument::FeedDocument(FeedDocument&&) noexcept = default;
FeedDocument& FeedDocument::operator=(FeedDocument&&) noexcept = default;
FeedDocument::~FeedDocument() = default;

FeedDocument FeedDocument::parse(std::string_view bytes) {
    prepareParser();
    FeedDocument doc;
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return notAFeed(base::translate("feed::FeedDocument", "Dokument zu groß"));
    if (isUtf16WithHalfACodeUnit(bytes))
        return notAFeed(base::translate("feed::FeedDocument", "UTF-16-Dokument endet mit einem halben Zeichen"));
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) return notAFeed(unreadable());
    doc.m_doc.reset(
        xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, kParseOptions));
    if (!doc.m_doc) doc.m_problem = describe(xmlCtxtGetLastError(context));
    xmlFreeParserCtxt(context);
    if (doc.m_doc) doc.index();
    return doc;
}

FeedDocument FeedDocument::notAFeed(std::string problem) {
    FeedDocument doc;
    doc.m_problem = problem.empty() ? unreadable() : std::move(problem);
    return doc;
}

void FeedDocument::index() {
    for (xmlNode* node = m_doc->children; node != nullptr; node = node->next) {
        if (isNamed(node, "keeps")) {
            m_keeps = node;
            break;
        }
    }
    if (m_keeps == nullptr) {
        m_problem = base::translate("feed::FeedDocument", "Element \"keeps\" fehlt");
        return;
    }
    for (xmlNode* child = m_keeps->children; child != nullptr; child = child->next) {
        if (child->type == XML_TEXT_NODE && isWhitespaceOnly(child->content)) continue;
        m_entries.push_back(child);
    }
}

FeedError missingEntry(std::size_t position) {
    return FeedError(
        base::filled(base::translate("feed::FeedDocument", "Eintrag %1 fehlt"), {std::to_string(position)}));
}

std::string FeedDocument::attribute(std::size_t position, const char* name) const {
    if (position >= m_entries.size()) {
        throw missingEntry(position);
    }
    xmlNode* node = m_entries[position];
    if (node->type != XML_ELEMENT_NODE) return {};
    if (auto value = attributeOf(node, name)) return *std::move(value);
    throw FeedError(base::filled(base::translate("feed::FeedDocument", "Attribut \"%1\" fehlt bei Eintrag %2"),
                                 {name, std::to_string(position)}));
}

std::string FeedDocument::date() const {
    if (!isFeed()) throw FeedError(m_problem);
    if (auto date = attributeOf(m_keeps, "date")) return *std::move(date);
    throw FeedError(base::translate("feed::FeedDocument", "Attribut \"date\" fehlt"));
}

}  // namespace feed
