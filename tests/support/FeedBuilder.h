#pragma once

#include <map>
#include <string>

namespace testing_support {

// Builds keep feed documents for tests: 105 entries, all "Albion" held by "G" unless changed.
class FeedBuilder {
public:
    FeedBuilder& realm(int position, const std::string& realm) {
        m_realms[position] = realm;
        return *this;
    }
    FeedBuilder& guild(int position, const std::string& guild) {
        m_guilds[position] = guild;
        return *this;
    }
    FeedBuilder& id(int position, const std::string& id) {
        m_ids[position] = id;
        return *this;
    }
    FeedBuilder& count(int count) {
        m_count = count;
        return *this;
    }
    FeedBuilder& date(const std::string& date) {
        m_date = date;
        return *this;
    }
    FeedBuilder& before(int position, const std::string& rawXml) {
        m_before[position] = rawXml;
        return *this;
    }

    std::string xml() const {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<keeps date=\"" + m_date + "\">\n";
        for (int i = 0; i < m_count; ++i) {
            if (auto it = m_before.find(i); it != m_before.end()) xml += it->second;
            xml += "  <keep id=\"" + get(m_ids, i, std::to_string(i)) + "\" realm=\"" + get(m_realms, i, "Albion") +
                   "\" guildname=\"" + get(m_guilds, i, "G") + "\"/>\n";
        }
        return xml + "</keeps>\n";
    }

private:
    static std::string get(const std::map<int, std::string>& m, int i, const std::string& fallback) {
        auto it = m.find(i);
        return it == m.end() ? fallback : it->second;
    }
    std::map<int, std::string> m_realms, m_guilds, m_ids, m_before;
    int m_count = 105;
    std::string m_date = "08.12.2026 08:00:00";
};

}  // namespace testing_support
