#include "platform/Plugin.h"

#include <QLibrary>

#include "platform/Logging.h"
#include "platform/Paths.h"

namespace platform {
QFunctionPointer LoadPluginFunction(const QString& name, const char* symbol) {
    // Stays loaded for the rest of the run: what it hands out lives as long.
    QLibrary library(QString::fromStdString(PluginFolder()) + QStringLiteral("/lib") + name);
    if (const QFunctionPointer function = library.resolve(symbol)) return function;
    qCCritical(lcInstallation, "broken installation: %s of %s is missing or unusable: %s", symbol,
               qPrintable(library.fileName()), qPrintable(library.errorString()));
    return nullptr;
}

}  // namespace platform
