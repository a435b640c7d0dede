#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace feed {

// A failure while reading a feed document, worded for the user (it follows "Fehler: ").
class FeedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One keep feed document: the root "keeps" and its child nodes by position, in document order.
// Parsed from bytes honouring the declared encoding; comments and processing instructions count as
// positions, whitespace-only text does not. External and DTD entities are never fetched or expanded.
class FeedDocument {
public:
    static FeedDocument Parse(std::string_view bytes);
    static FeedDocument Load(const std::string& path);

    FeedDocument(FeedDocument&&) = default;
    FeedDocument& operator=(FeedDocument&&) = default;

    // True when the bytes parsed and the document has its "keeps" element.
    bool IsFeed() const { return m_problem.empty(); }
    // Why the document is not a feed; empty when it is one.
    const std::string& Problem() const { return m_problem; }

    std::size_t EntryCount() const { return m_entries.size(); }

    // Attribute of the entry at a position, as text. Throws FeedError when the position is missing or
    // the entry is an element without that attribute. A node that is no element (a comment, say) has
    // no attributes and reads as empty text, so it never pairs with a real entry.
    std::string Attribute(std::size_t position, const char* name) const;

    // The feed's "date" attribute; throws FeedError when the document is no feed or has none.
    std::string Date() const;

private:
    FeedDocument() = default;
    void Index();

    pugi::xml_document m_doc;
    pugi::xml_node m_keeps;
    std::vector<pugi::xml_node> m_entries;
    std::string m_problem;
};

}  // namespace feed
