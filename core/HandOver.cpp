// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/HandOver.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace core {
namespace {

using Request = platform::SingleInstance::Request;
using namespace std::chrono_literals;

const char* handed(Request request) {
    switch (request) {
        case Request::ShowWindow:
            return "Warmap l\u00e4uft schon; sein Fenster wird gezeigt.\n";
        case Request::ShowSettings:
            return "Warmap l\u00e4uft schon; seine Einstellungen werden gezeigt.\n";
        case Request::ShowHistory:
            return "Warmap l\u00e4uft schon; sein Verlauf wird gezeigt.\n";
        case Request::ShowRecent:
            return "Warmap l\u00e4uft schon; seine letzten Meldungen werden gezeigt.\n";
        case Request::Quit:
            return "Warmap wird beendet.\n";
    }
    return "";
}

constexpr const char* kNoAnswer = "warmap: Warmap l\u00e4uft schon, antwortet aber nicht.\n";

// Asks the running Warmap; the exit status of this start.
int ask(const std::string& folder, Request request) {
    if (!platform::SingleInstance::askToShow(folder, 2s, request)) {
        std::fputs(kNoAnswer, stderr);
        return 1;
    }
    std::fputs(handed(request), stderr);
    return 0;
}

}  // namespace

std::optional<int> handOverToRunningInstance(platform::SingleInstance& instance, const std::string& folder,
                                             Request request) {
    // Retries in case the running one ends meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (instance.claim()) return std::nullopt;
        if (platform::SingleInstance::askToShow(folder, 2s, request)) {
            std::fputs(handed(request), stderr);
            return 0;
        }
    }
    std::fputs(kNoAnswer, stderr);
    return 1;
}

int quitRunningInstance(const std::string& folder) {
    if (!platform::SingleInstance::isRunning(folder)) {
        std::fputs("Warmap l\u00e4uft nicht.\n", stderr);
        return 0;
    }
    const int status = ask(folder, Request::Quit);
    // It lets go of its lock as soon as it is told; a pass under way may take a moment longer.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (status == 0 && platform::SingleInstance::isRunning(folder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    return status;
}

int startWithoutDisplay(const std::string& folder, Request request, const std::string& problem) {
    if (platform::SingleInstance::isRunning(folder)) return ask(folder, request);
    std::fprintf(stderr, "warmap: cannot start without a display: %s\n", problem.c_str());
    return 1;
}

}  // namespace core
