// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/CommandLine.h"

#include <QCommandLineParser>

#include "core/BuildInfo.h"
#include "platform/Translations.h"

namespace settings {

CommandLine parseCommandLine(const QStringList& arguments) {
    const platform::Translations german({}, {});
    return parseCommandLine(arguments, german);
}

CommandLine parseCommandLine(const QStringList& arguments, const platform::Translations& words) {
    QCommandLineParser parser;
    parser.setApplicationDescription(words.translate(
        "settings::CommandLine",
        "Watches who holds the keeps and towers of the frontier on four game servers, tells of every change\n"
        "in a popup with a sound, and shows the frontier map."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  words.translate("settings::CommandLine", "Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     words.translate("settings::CommandLine", "Show the version and exit."));
    const QCommandLineOption feedBase(QStringLiteral("feed-base"),
                                      words.translate("settings::CommandLine",
                                                      "Use the feed server at <url> (http or https, host, port) "
                                                      "for this run, before WARMAP_FEED_BASE and the settings."),
                                      QStringLiteral("url"));
    using Request = platform::SingleInstance::Request;
    const std::pair<QCommandLineOption, Request> requests[] = {
        {QCommandLineOption(
             QStringLiteral("show"),
             words.translate("settings::CommandLine", "Show the map window (of the running Warmap, if any).")),
         Request::ShowWindow},
        {QCommandLineOption(
             QStringLiteral("settings"),
             words.translate("settings::CommandLine", "Open the settings window (of the running Warmap, if any).")),
         Request::ShowSettings},
        {QCommandLineOption(
             QStringLiteral("history"),
             words.translate("settings::CommandLine", "Open the history window (of the running Warmap, if any).")),
         Request::ShowHistory},
        {QCommandLineOption(
             QStringLiteral("recent"),
             words.translate("settings::CommandLine", "Open the recent changes (of the running Warmap, if any).")),
         Request::ShowRecent},
        {QCommandLineOption(QStringLiteral("quit"),
                            words.translate("settings::CommandLine",
                                            "End the running Warmap, as its menu's \"Beenden\" does; starts none.")),
         Request::Quit},
    };
    parser.addOptions({help, version, feedBase});
    for (const auto& [option, request] : requests) parser.addOption(option);
    // Qt's own options ("-platform wayland", "-style Fusion") go on to the application object unchanged.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowicon", "qwindowtitle", "display", "geometry", "style", "stylesheet", "session"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QString name = arguments.isEmpty() ? QStringLiteral("warmap") : arguments.first();
    // Without an application object Qt does not know the program's name.
    const auto usage = [&parser, &name] {
        QString text = parser.helpText();
        const qsizetype at = text.indexOf(QLatin1String("Usage: "));
        if (at >= 0) {
            const qsizetype start = at + 7;
            text.replace(start, text.indexOf(QLatin1Char(' '), start) - start, name);
        }
        return text;
    };

    CommandLine command;
    const auto refuse = [&](const QString& problem) {
        command.action = CommandLine::Action::Refuse;
        command.output = name + QStringLiteral(": ") + problem + QLatin1Char('\n') + usage();
        return command;
    };
    if (!parser.parse(arguments)) return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(words.translate("settings::CommandLine", "unexpected argument '%1'")
                          .arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::ShowHelp;
        command.output = usage();
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::ShowVersion;
        command.output = QStringLiteral("%1 %2.%3.%4\n")
                             .arg(QString::fromUtf8(core::build::kProductName))
                             .arg(core::build::kVersionMajor)
                             .arg(core::build::kVersionMinor)
                             .arg(core::build::kVersionPatch);
        return command;
    }
    command.feedBase = parser.value(feedBase);
    command.platform = parser.value(QStringLiteral("platform"));
    QStringList asked;
    for (const auto& [option, request] : requests) {
        if (!parser.isSet(option)) continue;
        asked << QStringLiteral("--") + option.names().first();
        command.request = request;
    }
    if (asked.size() > 1)
        return refuse(words.translate("settings::CommandLine", "%1 cannot be asked at once")
                          .arg(asked.join(QStringLiteral(", "))));
    return command;
}

}  // namespace settings
