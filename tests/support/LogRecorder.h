#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace testing_support {

// Records what the program logs while it lives, as "category: message" lines, instead of printing it.
class LogRecorder {
public:
    LogRecorder() : m_previous(qInstallMessageHandler(&LogRecorder::record)) { active() = this; }
    ~LogRecorder() {
        qInstallMessageHandler(m_previous);
        active() = nullptr;
    }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    const QStringList& lines() const { return m_lines; }
    // The lines of one category that contain every one of the texts.
    QStringList matching(const QString& category, const QStringList& texts) const {
        QStringList found;
        for (const QString& line : m_lines) {
            bool all = line.startsWith(category + QStringLiteral(": "));
            for (const QString& text : texts) all = all && line.contains(text);
            if (all) found << line;
        }
        return found;
    }

private:
    static LogRecorder*& active() {
        static LogRecorder* active = nullptr;
        return active;
    }
    static void record(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (active()) active()->m_lines << QString::fromUtf8(context.category) + QStringLiteral(": ") + message;
    }

    QtMessageHandler m_previous;
    QStringList m_lines;
};

}  // namespace testing_support
