#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// libxml2's types, kept out of every includer.
struct _xmlDoc;
struct _xmlNode;

namespace feed {

// A failure while reading a feed document, worded for the user (it follows "Fehler: ").
class FeedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a feed lacks when it has no entry at a position: "Eintrag 104 fehlt".
FeedError missingEntry(std::size_t position);

// One keep feed document: the root "keeps" and its child nodes by position, in document order.
// Parsed from bytes by a conforming XML parser: a document that is not well-formed is no feed. The
// declared encoding is honoured (any that iconv knows), internal entities are expanded within the
// parser's amplification limits, and nothing external is ever loaded. Comments, processing
// instructions and text that is not only whitespace count as positions; whitespace-only text does
// not. All text comes back as UTF-8.
class FeedDocument {
public:
    static FeedDocument parse(std::string_view bytes);
    // A document that stands for a source that could not be read; problem says why.
    static FeedDocument notAFeed(std::string problem);

    FeedDocument(FeedDocument&&) noexcept;
    FeedDocument& operator=(FeedDocument&&) noexcept;
    ~FeedDocument();

    // True when the bytes parsed and the document has its "keeps" element.
    bool isFeed() const { return m_problem.empty(); }
    // Why the document is not a feed; empty when it is one.
    const std::string& problem() const { return m_problem; }

    std::size_t entryCount() const { return m_entries.size(); }

    // Attribute of the entry at a position, as text. Throws FeedError when the position is missing or
    // the entry is an element without that attribute. A node that is no element (a comment, say) has
    // no attributes and reads as empty text, so it never pairs with a real entry.
    std::string attribute(std::size_t position, const char* name) const;

    // The feed's "date" attribute; throws FeedError when the document is no feed or has none.
    std::string date() const;

private:
    struct DocFree {
        void operator()(_xmlDoc* doc) const;
    };

    FeedDocument() = default;
    void index();

    std::unique_ptr<_xmlDoc, DocFree> m_doc;
    _xmlNode* m_keeps = nullptr;
    std::vector<_xmlNode*> m_entries;
    std::string m_problem;
};

}  // namespace feed
