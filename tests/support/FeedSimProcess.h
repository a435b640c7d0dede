#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

namespace testing_support {

// A plain blocking GET for test plumbing; empty on failure.
std::string HttpGet(const std::string& url);

// Runs the feed simulator on 127.0.0.1 for the length of a test; stops it by its process id.
class FeedSimProcess {
public:
    explicit FeedSimProcess(QStringList extraArguments = {});
    ~FeedSimProcess();

    bool Running() const { return m_port != 0; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // Sends a control request such as "set?server=Logres&id=7&realm=Albion"; returns the reply body.
    std::string Control(const std::string& request) const;
    // What the simulator serves for a server right now.
    std::string Served(const std::string& server) const {
        return HttpGet(Base() + "/herald/servers/" + server + "/keeps/keeps.xml");
    }
    // The feed of a server as the simulator would write it with the same seed and steps.
    static std::string WrittenFeed(const QStringList& arguments, const std::string& server);

private:
    QProcess m_process;
    unsigned m_port = 0;
};

}  // namespace testing_support
