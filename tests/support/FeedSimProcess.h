#pragma once

#include <QProcess>
#include <QStringList>
#include <string>

namespace testing_support {

// A plain blocking GET for test plumbing; empty on failure.
std::string httpGet(const std::string& url);

// Runs the feed simulator on 127.0.0.1 for the length of a test; stops it by its process id.
class FeedSimProcess {
public:
    explicit FeedSimProcess(QStringList extraArguments = {});
    ~FeedSimProcess();

    bool isRunning() const { return m_port != 0; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // Sends a control request such as "set?server=Logres&id=7&realm=Albion"; returns the reply body.
    std::string control(const std::string& request) const;
    // What the simulator serves for a server right now.
    std::string served(const std::string& server) const {
        return httpGet(base() + "/herald/servers/" + server + "/keeps/keeps.xml");
    }
    // The feed of a server as the simulator would write it with the same seed and steps.
    static std::string writtenFeed(const QStringList& arguments, const std::string& server);

private:
    QProcess m_process;
    unsigned m_port = 0;
};

}  // namespace testing_support
