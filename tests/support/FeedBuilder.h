#pragma once

#include <map>
#include <string>

namespace testing_support {

// Builds keep feed documents for tests: 105 entries, all "Albion" held by "G" unless changed.
class FeedBuilder {
public:
    FeedBuilder& Realm(int position, const std::string& realm) {
        m_realms[position] = realm;
        return *this;
    }
    FeedBuilder& Guild(int position, const std::string& guild) {
        m_guilds[position] = guild;
        return *this;
    }
    FeedBuilder& Id(int position, const std::string& id) {
        m_ids[position] = id;
        return *this;
    }
    FeedBuilder& Count(int count) {
        m_count = count;
        return *this;
    }
    FeedBuilder& Date(const std::string& date) {
        m_date = date;
        return *this;
    }
    FeedBuilder& Before(int position, const std::string& rawXml) {
        m_before[position] = rawXml;
        return *this;
    }

    std::string Xml() const {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<keeps date=\"" + m_date + "\">\n";
        for (int i = 0; i < m_count; ++i) {
            if (auto it = m_before.find(i); it != m_before.end()) xml += it->second;
            xml += "  <keep id=\"" + Get(m_ids, i, std::to_string(i)) + "\" realm=\"" + Get(m_realms, i, "Albion") +
                   "\" guildname=\"" + Get(m_guilds, i, "G") + "\"/>\n";
        }
        return xml + "</keeps>\n";
    }

private:
    static std::string Get(const std::map<int, std::string>& m, int i, const std::string& fallback) {
        auto it = m.find(i);
        return it == m.end() ? fallback : it->second;
    }
    std::map<int, std::string> m_realms, m_guilds, m_ids, m_before;
    int m_count = 105;
    std::string m_date = "08.12.2026 08:00:00";
};

}  // namespace testing_support
