#include "core/FetchHelper.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include "base/Wording.h"
#include "core/FetchProtocol.h"
#include "platform/Dialogs.h"
#include "platform/Logging.h"
#include "platform/Paths.h"

namespace core {
namespace {

// The helper keeps the limits itself; this is only for a helper that hangs past all of them.
std::chrono::milliseconds deadlineOf(const DownloadLimits& limits) {
    return limits.connectTimeout + limits.totalTimeout + std::chrono::seconds(30);
}

DownloadResult helperFailed(const QString& helper, const QString& cause) {
    qCWarning(lcDownload, "no download: the helper %s %s", qPrintable(helper), qPrintable(cause));
    return {DownloadResult::Status::NoConnection,
            {},
            base::translate("core::FetchHelper", "Hilfsprogramm warmap-fetch fehlt oder versagt")};
}

// The helper's log lines ("warmap.download: …", see FetchMain) become the program's own, each in
// the category it was written in; anything else it wrote is told as the helper's.
void relogLines(QByteArray& pending, bool all) {
    static constexpr QByteArrayView kOwn("warmap.download: ");
    qsizetype end = 0;
    while ((end = pending.indexOf('\n')) >= 0 || (all && !pending.isEmpty())) {
        const QByteArray line = end >= 0 ? pending.left(end) : pending;
        pending.remove(0, end >= 0 ? end + 1 : pending.size());
        if (line.startsWith(kOwn))
            qCWarning(lcDownload, "%s", line.mid(kOwn.size()).constData());
        else if (!line.isEmpty())
            qCWarning(lcDownload, "warmap-fetch: %s", line.constData());
    }
}

}  // namespace

void reportDownloadFailure(platform::Dialogs& dialogs) {
    dialogs.show({base::translate("core::FetchHelper", "fehler im inet"), platform::kApplicationTitle,
                  platform::Message::Icon::Critical});
}

DownloadResult downloadThroughHelper(const std::string& url, const DownloadLimits& limits,
                                     const QByteArray& translation) {
    const QString helper = QString::fromStdString(platform::pluginFolder()) + QStringLiteral("/warmap-fetch");
    if (!QFileInfo(helper).isExecutable()) return helperFailed(helper, QStringLiteral("is missing"));
    QProcess process;
    // Its lines must come back in the form relogLines reads, whatever pattern the program's log uses.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_MESSAGE_PATTERN"));
    process.setProcessEnvironment(environment);
    process.start(helper, fetchArguments({url, limits}));
    if (!process.waitForStarted())
        return helperFailed(helper, QStringLiteral("does not start: ") + process.errorString());
    process.write(translation);
    process.closeWriteChannel();

    // Body and framing, and no more: a helper gone astray cannot fill the memory.
    const qint64 mostBytes = static_cast<qint64>(std::max(limits.maxBodyBytes, limits.maxDecodedBytes)) + 64 * 1024;
    // Waited time only: a message box held open from the events handled between waits is none.
    const std::chrono::milliseconds deadline = deadlineOf(limits);
    std::chrono::milliseconds waited{0};
    QByteArray answer;
    QByteArray logged;
    while (process.state() != QProcess::NotRunning) {
        const auto start = std::chrono::steady_clock::now();
        process.waitForFinished(20);
        waited += std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        answer += process.readAllStandardOutput();
        logged += process.readAllStandardError();
        relogLines(logged, false);
        if (answer.size() > mostBytes || waited > deadline) {
            process.kill();
            process.waitForFinished();
            relogLines(logged, true);
            return helperFailed(helper, answer.size() > mostBytes ? QStringLiteral("answered too much")
                                                                  : QStringLiteral("did not end in time"));
        }
        QCoreApplication::processEvents();
    }
    answer += process.readAllStandardOutput();
    logged += process.readAllStandardError();
    relogLines(logged, true);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return helperFailed(helper,
                            QStringLiteral("ended with %1")
                                .arg(process.exitStatus() == QProcess::NormalExit ? QString::number(process.exitCode())
                                                                                  : QStringLiteral("a crash")));
    auto decoded = decodeFetchAnswer(std::string_view(answer.constData(), static_cast<std::size_t>(answer.size())));
    if (!decoded) return helperFailed(helper, QStringLiteral("gave no answer Warmap reads"));
    return std::move(*decoded);
}

Downloader helperDownloader(QByteArray translation) {
    return [translation = std::move(translation)](const std::string& url, const DownloadLimits& limits) {
        return downloadThroughHelper(url, limits, translation);
    };
}

}  // namespace core
