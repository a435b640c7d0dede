// The helper "warmap-fetch": one download over libcurl and its TLS stack in a process of its own, so
// the program itself never maps them and gets back all they took once the download is over. The
// program's translation comes on standard input; the answer goes to standard output, log lines to
// standard error.
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <cstdio>

#include "core/Download.h"
#include "core/FetchProtocol.h"

namespace {

// A translation is a few dozen KiB; more is not one of the program's.
constexpr qint64 kMostTranslationBytes = 4 * 1024 * 1024;

}  // namespace

int main(int argc, char* argv[]) {
    // The program reads each line back into its own log, by this prefix.
    qSetMessagePattern(QStringLiteral("%{category}: %{message}"));
    QCoreApplication app(argc, argv);
    const auto request = core::parseFetchArguments(QCoreApplication::arguments().mid(1));
    if (!request) {
        std::fputs(
            "usage: warmap-fetch URL CONNECT_MS STALL_MS TOTAL_MS MAX_BODY MAX_DECODED MAX_REDIRECTS\n"
            "(run by Warmap, which writes its translation to standard input)\n",
            stderr);
        return 2;
    }
    // The program has checked the translation before handing it over; its problem texts speak it.
    QFile input;
    QByteArray translation;
    if (input.open(STDIN_FILENO, QIODevice::ReadOnly)) translation = input.read(kMostTranslationBytes);
    QTranslator translator;
    if (!translation.isEmpty() &&
        translator.load(reinterpret_cast<const uchar*>(translation.constData()), static_cast<int>(translation.size())))
        QCoreApplication::installTranslator(&translator);
    const std::string answer = core::encodeFetchAnswer(core::downloadUrl(request->url, request->limits));
    QFile output;
    const bool written =
        output.open(STDOUT_FILENO, QIODevice::WriteOnly) &&
        output.write(answer.data(), static_cast<qint64>(answer.size())) == static_cast<qint64>(answer.size()) &&
        output.flush();
    return written ? 0 : 1;
}
