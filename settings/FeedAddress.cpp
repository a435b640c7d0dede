// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FeedAddress.h"

#include <QCoreApplication>

#include <QUrl>
#include <algorithm>
#include <optional>

#include "core/BuildInfo.h"
#include "platform/AddressText.h"
#include "platform/Logging.h"

namespace settings {
namespace {

// A scheme, a host and a port take a few hundred characters at most.
constexpr qsizetype kMostCharacters = 512;

using platform::addressWithoutUser;
using platform::authority;

// The port as written after the host (a name, an address or "[IPv6]"), when there is one. Plain
// scans rather than regular expressions: this runs at every start, and PCRE would cost its first frame.
std::optional<QString> writtenPort(const QString& authority) {
    qsizetype hostEnd = 0;
    if (authority.startsWith(QLatin1Char('['))) {
        hostEnd = authority.indexOf(QLatin1Char(']'));
        if (hostEnd < 0) return std::nullopt;
        ++hostEnd;
    } else {
        while (hostEnd < authority.size() && authority[hostEnd] != QLatin1Char(':') &&
               authority[hostEnd] != QLatin1Char('['))
            ++hostEnd;
    }
    if (hostEnd >= authority.size() || authority[hostEnd] != QLatin1Char(':')) return std::nullopt;
    return authority.mid(hostEnd + 1);
}

// Blanks, tabs and line breaks: ASCII white space.
bool holdsBlanks(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c == QLatin1Char(' ') || (c.unicode() >= 0x09 && c.unicode() <= 0x0d); });
}

}  // namespace

base::Result<QString, AddressProblem> normalisedFeedBase(const QString& text) {
    const QString typed = text.trimmed();
    const auto [start, end] = authority(typed);
    const QString authority = typed.mid(start, end - start);
    AddressProblem problem = AddressProblem::None;
    if (typed.isEmpty())
        problem = AddressProblem::Empty;
    else if (typed.size() > kMostCharacters)
        problem = AddressProblem::TooLong;
    else if (holdsBlanks(typed))
        problem = AddressProblem::Blanks;
    else if (authority.contains(QLatin1Char('@')))
        problem = AddressProblem::UserPart;
    else if (const auto port = writtenPort(authority); port && !port->isEmpty()) {
        // QUrl would refuse it with a word about the scheme.
        bool number = false;
        const int value = port->toInt(&number);
        if (!number || value < 1 || value > 65535) problem = AddressProblem::Port;
    }
    if (problem != AddressProblem::None) return base::Failure{problem};
    const QUrl url(typed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        problem = AddressProblem::Scheme;
    else if (url.host().isEmpty())
        problem = AddressProblem::NoHost;
    else if (url.hasQuery() || url.hasFragment() || (!url.path().isEmpty() && url.path() != QLatin1String("/")))
        problem = AddressProblem::PathOrQuery;
    if (problem != AddressProblem::None) return base::Failure{problem};
    return url.adjusted(QUrl::RemovePath).toString(QUrl::FullyEncoded);
}

namespace {

// What each problem is called: for the settings window (translated) and for the log (English).
struct ProblemWords {
    AddressProblem problem;
    const char* text;
    const char* cause;
};
constexpr ProblemWords kProblemWords[] = {
    {AddressProblem::Empty, QT_TRANSLATE_NOOP("settings::FeedAddress", "Warmap braucht die Adresse des Feed-Servers."),
     "it is empty"},
    {AddressProblem::TooLong,
     QT_TRANSLATE_NOOP("settings::FeedAddress", "Die Feed-Adresse ist zu lang (höchstens %1 Zeichen)."),
     "it is too long"},
    {AddressProblem::Blanks, QT_TRANSLATE_NOOP("settings::FeedAddress", "Die Feed-Adresse enthält Leerzeichen."),
     "it holds blanks"},
    {AddressProblem::Scheme,
     QT_TRANSLATE_NOOP("settings::FeedAddress", "Die Feed-Adresse muss mit http:// oder https:// beginnen."),
     "it is no http or https address"},
    {AddressProblem::NoHost, QT_TRANSLATE_NOOP("settings::FeedAddress", "Die Feed-Adresse nennt keinen Rechner."),
     "it names no host"},
    {AddressProblem::UserPart,
     QT_TRANSLATE_NOOP("settings::FeedAddress", "Die Feed-Adresse darf weder Benutzernamen noch Passwort enthalten."),
     "it holds a user name or password"},
    {AddressProblem::PathOrQuery,
     QT_TRANSLATE_NOOP("settings::FeedAddress",
                       "Die Feed-Adresse besteht nur aus Schema, Rechner und Port; der Pfad ist fest."),
     "it holds a path or query besides scheme, host and port"},
    {AddressProblem::Port,
     QT_TRANSLATE_NOOP("settings::FeedAddress", "Der Port der Feed-Adresse muss eine Zahl von 1 bis 65535 sein."),
     "its port is no number from 1 to 65535"},
};

const ProblemWords* wordsFor(AddressProblem problem) {
    for (const ProblemWords& words : kProblemWords) {
        if (words.problem == problem) return &words;
    }
    return nullptr;
}

}  // namespace

QString problemText(AddressProblem problem) {
    const ProblemWords* words = wordsFor(problem);
    if (!words) return {};
    const QString text = QCoreApplication::translate("settings::FeedAddress", words->text);
    return problem == AddressProblem::TooLong ? text.arg(kMostCharacters) : text;
}

const char* problemCause(AddressProblem problem) {
    const ProblemWords* words = wordsFor(problem);
    return words ? words->cause : "";
}

QString sourceText(FeedBaseSource source) {
    switch (source) {
        case FeedBaseSource::CommandLine:
            return QCoreApplication::translate("settings::FeedAddress", "der Kommandozeile (--feed-base)");
        case FeedBaseSource::Environment:
            return QStringLiteral("WARMAP_FEED_BASE");
        case FeedBaseSource::File:
            return QCoreApplication::translate("settings::FeedAddress", "den Einstellungen");
        case FeedBaseSource::BuildDefault:
            return QCoreApplication::translate("settings::FeedAddress", "der Voreinstellung des Pakets");
        case FeedBaseSource::None:
            break;
    }
    return {};
}

FeedBaseChoice chooseFeedBase(const QString& commandLine, const QString& fromFile, bool log) {
    FeedBaseChoice choice;
    const std::pair<FeedBaseSource, QString> sources[] = {
        {FeedBaseSource::CommandLine, commandLine},
        {FeedBaseSource::Environment, qEnvironmentVariable("WARMAP_FEED_BASE")},
        {FeedBaseSource::File, fromFile},
        {FeedBaseSource::BuildDefault, QString::fromUtf8(core::build::kDefaultFeedBase)},
    };
    for (const auto& [source, text] : sources) {
        if (text.trimmed().isEmpty()) continue;
        const base::Result<QString, AddressProblem> normalised = normalisedFeedBase(text);
        if (normalised) {
            choice.base = *normalised;
            choice.source = source;
            while (choice.base.endsWith(QLatin1Char('/'))) choice.base.chop(1);
            return choice;
        }
        // The file and the build's default are checked where they are read.
        if (choice.refused == FeedBaseSource::None &&
            (source == FeedBaseSource::CommandLine || source == FeedBaseSource::Environment)) {
            choice.refused = source;
            choice.refusedBecause = normalised.error();
            choice.refusedText = addressWithoutUser(text.trimmed());
            if (log)
                qCWarning(lcSettings, "%s \"%s\" is not used: %s; asking for a feed address",
                          source == FeedBaseSource::CommandLine ? "--feed-base" : "WARMAP_FEED_BASE",
                          qPrintable(choice.refusedText), problemCause(normalised.error()));
        }
    }
    return choice;
}

}  // namespace settings
