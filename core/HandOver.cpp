// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/HandOver.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Translations.h"

namespace core {
namespace {

using Request = platform::SingleInstance::Request;
using namespace std::chrono_literals;

QString handed(const platform::Translations& words, Request request) {
    switch (request) {
        case Request::ShowWindow:
            return words.translate("core::HandOver", "Warmap l\u00e4uft schon; sein Fenster wird gezeigt.\n");
        case Request::ShowSettings:
            return words.translate("core::HandOver", "Warmap l\u00e4uft schon; seine Einstellungen werden gezeigt.\n");
        case Request::ShowHistory:
            return words.translate("core::HandOver", "Warmap l\u00e4uft schon; sein Verlauf wird gezeigt.\n");
        case Request::ShowRecent:
            return words.translate("core::HandOver",
                                   "Warmap l\u00e4uft schon; seine letzten Meldungen werden gezeigt.\n");
        case Request::Quit:
            return words.translate("core::HandOver", "Warmap wird beendet.\n");
    }
    return {};
}

QString noAnswer(const platform::Translations& words) {
    return words.translate("core::HandOver", "warmap: Warmap l\u00e4uft schon, antwortet aber nicht.\n");
}

void say(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

// Asks the running Warmap; the exit status of this start.
int ask(const platform::Translations& words, const std::string& folder, Request request) {
    if (!platform::SingleInstance::askToShow(folder, 2s, request)) {
        say(noAnswer(words));
        return 1;
    }
    say(handed(words, request));
    return 0;
}

}  // namespace

std::optional<int> handOverToRunningInstance(const platform::Translations& words, platform::SingleInstance& instance,
                                             const std::string& folder, Request request) {
    // Retries in case the running one ends meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (instance.claim()) return std::nullopt;
        if (platform::SingleInstance::askToShow(folder, 2s, request)) {
            say(handed(words, request));
            return 0;
        }
    }
    say(noAnswer(words));
    return 1;
}

int quitRunningInstance(const platform::Translations& words, const std::string& folder) {
    if (!platform::SingleInstance::isRunning(folder)) {
        say(words.translate("core::HandOver", "Warmap l\u00e4uft nicht.\n"));
        return 0;
    }
    const int status = ask(words, folder, Request::Quit);
    // It lets go of its lock as soon as it is told; a pass under way may take a moment longer.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (status == 0 && platform::SingleInstance::isRunning(folder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    return status;
}

int startWithoutDisplay(const platform::Translations& words, const std::string& folder, Request request,
                        const std::string& problem) {
    if (platform::SingleInstance::isRunning(folder)) return ask(words, folder, request);
    say(words.translate("core::HandOver", "warmap: cannot start without a display: %1\n")
            .arg(QString::fromLocal8Bit(problem.c_str())));
    return 1;
}

}  // namespace core
