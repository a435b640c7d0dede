#include <QApplication>
#include <QLibraryInfo>
#include <csignal>
#include <cstdio>
#include <optional>

#include "core/HandOver.h"
#include "core/WarmapApplication.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "platform/WindowSystem.h"
#include "settings/CommandLine.h"
#include "settings/SettingsFile.h"

namespace {

// What the command line asks before anything else happens: help, the version, or a refusal, each
// printed and ended here, without a display, a lock or a socket.
std::optional<int> answered(const settings::CommandLine& command) {
    using Action = settings::CommandLine::Action;
    if (command.action == Action::Run) return std::nullopt;
    const QByteArray text = command.output.toLocal8Bit();
    std::fputs(text.constData(), command.action == Action::Refuse ? stderr : stdout);
    return command.action == Action::Refuse ? settings::kUsageExitStatus : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Under a file-size limit a write must fail (EFBIG), so the save fails cleanly, rather than end the
    // program and leave its temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // The language comes first: the command line's answers and the hand-over line speak it.
    settings::Settings stored = settings::loadSettings(settings::settingsFilePath());
    platform::Translations translations(
        QString::fromStdString(platform::dataFolder()) + QStringLiteral("/translations"),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    translations.use(platform::languageOf(stored.language));
    const settings::CommandLine command = settings::parseCommandLine(arguments, translations);
    if (const auto status = answered(command)) return *status;

    using Request = platform::SingleInstance::Request;
    const std::string runtimeFolder = platform::runtimeFolder();
    if (command.request == Request::Quit) return core::quitRunningInstance(translations, runtimeFolder);
    platform::preferX11WhereWaylandAlsoOffersIt();
    // Qt would abort without a display, and leave the socket behind.
    if (const base::Status display = platform::checkDisplay(command.platform); !display)
        return core::startWithoutDisplay(translations, runtimeFolder, command.request, display.error());
    platform::SingleInstance instance(runtimeFolder);
    if (const auto status = core::handOverToRunningInstance(translations, instance, runtimeFolder, command.request)) {
        if (*status == 0 && !command.feedBase.isEmpty())
            std::fputs(translations
                           .translate("core::main",
                                      "warmap: --feed-base applies to a new run only; the running "
                                      "Warmap keeps its feed address.\n")
                           .toLocal8Bit()
                           .constData(),
                       stderr);
        return *status;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Warmap"));
    // Closing the Warmap window leaves the popup and the refresh cycle running.
    QApplication::setQuitOnLastWindowClosed(false);
    translations.install();
    core::WarmapApplication warmap(command, std::move(stored), instance, translations);
    if (!warmap.start()) return 1;
    return QApplication::exec();
}
