#include "feed/FeedDocument.h"

#include <fstream>
#include <iterator>

namespace feed {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

}  // namespace

FeedDocument FeedDocument::Parse(std::string_view bytes) {
    FeedDocument doc;
    const pugi::xml_parse_result result =
        doc.m_doc.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
    if (!result) {
        doc.m_problem = std::string("Dokument nicht lesbar: ") + result.description() + " (Byte " +
                        std::to_string(result.offset) + ")";
        return doc;
    }
    doc.Index();
    return doc;
}

FeedDocument FeedDocument::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        FeedDocument doc;
        doc.m_problem = "Datei nicht lesbar: " + path;
        return doc;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(bytes);
}

void FeedDocument::Index() {
    m_keeps = m_doc.child("keeps");
    if (!m_keeps) {
        m_problem = "Element \"keeps\" fehlt";
        return;
    }
    for (pugi::xml_node child : m_keeps.children()) m_entries.push_back(child);
}

std::string FeedDocument::Attribute(std::size_t position, const char* name) const {
    if (position >= m_entries.size()) {
        throw FeedError("Eintrag " + std::to_string(position) + " fehlt");
    }
    const pugi::xml_node node = m_entries[position];
    if (node.type() != pugi::node_element) return {};
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        throw FeedError(std::string("Attribut \"") + name + "\" fehlt bei Eintrag " + std::to_string(position));
    }
    return attribute.value();
}

std::string FeedDocument::Date() const {
    if (!IsFeed()) throw FeedError(m_problem);
    const pugi::xml_attribute date = m_keeps.attribute("date");
    if (!date) throw FeedError("Attribut \"date\" fehlt");
    return date.value();
}

}  // namespace feed
