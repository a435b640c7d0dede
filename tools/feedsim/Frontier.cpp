#include "tools/feedsim/Frontier.h"

#include <cstdio>
#include <ctime>

#include "feed/Frontier.h"

namespace feedsim {
namespace {

// Guild names are Latin-1 bytes, as the feed carries them ("\xe4" is a-umlaut, and so on).
constexpr const char* kGuilds[] = {
    "Die Grauen Falken",
    "Ashen Vanguard",
    "Orden des Eisernen Horns",
    "Sturmkr\xe4hen",
    "Thistle and Thorn",
    "Wolfsbanner",
    "The Lantern Watch",
    "Nebelreiter",
    "Br\xfc"
    "der der Furt",
    "Oakshield Company",
    "Silberne Schwinge",
    "Copper Crows",
    "Hammerfaust",
    "Moorwardens",
    "\xd6"
    "stliche Wacht",
    "Riverborn",
};

// The realm that founded each keep group's structures at the start of the simulation.
constexpr int kHomeRealm[21] = {1, 0, 1, 1, 1, 2, 2, 2, 2, 2, 0, 0, 0, 0, 2, 0, 2, 1, 1, 1, 0};

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

// The seed goes through the generator's own mixing first: started from seed × step, neighbouring seeds
// would give one stream shifted by a draw, and so the same frontier.
Frontier::Frontier(std::uint32_t seed) : m_rng(seed) {
    m_rng = (static_cast<std::uint64_t>(next()) << 32) | next();
    for (int s = 0; s < kServers; ++s) {
        for (int id = 0; id < kEntries; ++id) {
            Holding& h = m_servers[s][id];
            const bool lost = next() % 6 == 0;  // some structures start in enemy hands
            h.realm = feed::kRealmNames[lost ? next() % 3 : kHomeRealm[id / 5]];
            h.guild = next() % 4 == 0 ? "" : kGuilds[next() % std::size(kGuilds)];
        }
    }
}

std::uint32_t Frontier::next() {
    // splitmix64: small, fast, and the same on every machine.
    std::uint64_t z = (m_rng += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

void Frontier::advance() {
    ++m_steps;
    for (int s = 0; s < kServers; ++s) {
        const int captures = 1 + static_cast<int>(next() % 3);
        for (int c = 0; c < captures; ++c) {
            Holding& h = m_servers[s][next() % kEntries];
            const std::string before = h.realm;
            while (h.realm == before) h.realm = feed::kRealmNames[next() % 3];
            h.guild = next() % 3 == 0 ? "" : kGuilds[next() % std::size(kGuilds)];
        }
        Holding& regrouped = m_servers[s][next() % kEntries];
        regrouped.guild = kGuilds[next() % std::size(kGuilds)];
    }
}

int Frontier::serverIndex(std::string_view server) {
    for (int i = 0; i < kServers; ++i) {
        if (feed::kServerNames[i] == server) return i;
    }
    return -1;
}

std::string Frontier::feedXml(int server) const {
    // The time stamp moves ten minutes per step from a fixed start, through the calendar.
    constexpr std::time_t kStart = 1796716800;  // 08.12.2026 08:00:00 UTC
    const std::time_t time = kStart + static_cast<std::time_t>(m_steps) * 600;
    std::tm parts{};
    gmtime_r(&time, &parts);
    char date[40];
    std::strftime(date, sizeof date, "%d.%m.%Y %H:%M:%S", &parts);
    std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<keeps date=\"";
    xml += date;
    xml += "\">\n";
    for (int id = 0; id < kEntries; ++id) {
        const Holding& h = m_servers[server][id];
        xml += id % 5 == 0 ? "  <keep" : "  <tower";
        xml += " id=\"" + std::to_string(id) + "\" realm=\"" + h.realm + "\" guildname=\"" + escape(h.guild) + "\"/>\n";
    }
    xml += "</keeps>\n";
    return xml;
}

}  // namespace feedsim
