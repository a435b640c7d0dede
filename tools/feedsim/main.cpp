// feedsim: plays the publisher's keep feed for the four servers on 127.0.0.1.
//   feedsim [--port N] [--port-file F] [--seed N] [--steps N] [--advance-every SECONDS]
//           [--fault Server=kind]... [--write Server FILE]
// Faults: 404 500 refuse stall trickle cut huge malformed none.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "tools/feedsim/FeedServer.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Loopback keep-feed simulator");
    parser.addHelpOption();
    const QCommandLineOption port("port", "Port on 127.0.0.1 (0 picks a free one).", "N", "8642");
    const QCommandLineOption portFile("port-file", "Write the port here once listening.", "FILE");
    const QCommandLineOption seed("seed", "Seed of the simulated frontier.", "N", "1");
    const QCommandLineOption steps("steps", "Steps of fighting before serving.", "N", "0");
    const QCommandLineOption every("advance-every", "Take a step every so many seconds (0: never).", "SECONDS", "0");
    const QCommandLineOption fault("fault", "Make a server misbehave, e.g. Avalon=404.", "Server=kind");
    const QCommandLineOption write("write", "Write the server's current feed to FILE and exit.", "Server");
    parser.addOptions({port, portFile, seed, steps, every, fault, write});
    parser.addPositionalArgument("FILE", "With --write: the file the feed is written to.", "[FILE]");
    parser.process(app);

    feedsim::Frontier frontier(parser.value(seed).toUInt());
    for (int i = 0, n = parser.value(steps).toInt(); i < n; ++i) frontier.advance();

    if (parser.isSet(write)) {
        const int server = feedsim::Frontier::serverIndex(parser.value(write).toStdString());
        if (server < 0 || parser.positionalArguments().size() != 1) {
            std::fprintf(stderr, "usage: feedsim --write Server FILE\n");
            return 2;
        }
        QFile out(parser.positionalArguments().first());
        const std::string xml = frontier.feedXml(server);
        if (!out.open(QIODevice::WriteOnly) || out.write(xml.data(), static_cast<qint64>(xml.size())) < 0) return 1;
        return 0;
    }

    feedsim::FeedServer server(frontier);
    for (const QString& request : parser.values(fault)) {
        const QStringList parts = request.split('=');
        feedsim::Fault kind;
        const int index = parts.size() == 2 ? feedsim::Frontier::serverIndex(parts[0].toStdString()) : -1;
        if (index < 0 || !feedsim::parseFault(parts[1], kind)) {
            std::fprintf(stderr, "bad --fault %s\n", qPrintable(request));
            return 2;
        }
        server.setFault(index, kind);
    }
    if (!server.listen(static_cast<quint16>(parser.value(port).toUInt()))) {
        std::fprintf(stderr, "feedsim: cannot listen on 127.0.0.1:%s\n", qPrintable(parser.value(port)));
        return 1;
    }
    if (parser.isSet(portFile)) {
        QFile file(parser.value(portFile));
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray::number(server.port()) + "\n");
    }
    std::printf("feedsim listening on 127.0.0.1:%u\n", server.port());
    std::fflush(stdout);

    QTimer stepper;
    if (const int seconds = parser.value(every).toInt(); seconds > 0) {
        QObject::connect(&stepper, &QTimer::timeout, [&frontier] { frontier.advance(); });
        stepper.start(seconds * 1000);
    }
    return app.exec();
}
