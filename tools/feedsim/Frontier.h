#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "feed/Frontier.h"

namespace feedsim {

struct Holding {
    std::string realm;  // "Albion", "Midgard" or "Hibernia"
    std::string guild;  // Latin-1 bytes; empty when no guild holds it
};

// The simulated frontier of the four servers. Its state is a pure function of the seed and the number
// of steps taken, so runs are repeatable; tests may also set single owners.
class Frontier {
public:
    static constexpr int kEntries = feed::kStructures;
    static constexpr int kServers = static_cast<int>(feed::kServerNames.size());

    explicit Frontier(std::uint32_t seed);

    // One step of fighting: a few structures on every server change hands, a few change guild.
    void advance();
    int steps() const { return m_steps; }

    // -1 when the server is not one of the four.
    static int serverIndex(std::string_view server);

    Holding& at(int server, int id) { return m_servers[server][id]; }

    // The feed document of one server, encoded in ISO-8859-1 as the real feed is.
    std::string feedXml(int server) const;

private:
    std::uint32_t next();

    std::uint64_t m_rng;
    int m_steps = 0;
    std::array<std::array<Holding, kEntries>, kServers> m_servers;
};

}  // namespace feedsim
