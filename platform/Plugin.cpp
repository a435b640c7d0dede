#include "platform/Plugin.h"

#include <QLibrary>
#include <cstdio>

#include "platform/Paths.h"

namespace platform {

QFunctionPointer LoadPluginFunction(const QString& name, const char* symbol) {
    // Stays loaded for the rest of the run: what it hands out lives as long.
    QLibrary library(QString::fromStdString(ProgramFolder()) + QStringLiteral("/lib") + name);
    if (const QFunctionPointer function = library.resolve(symbol)) return function;
    std::fprintf(stderr, "warmap: %s\n", qPrintable(library.errorString()));
    return nullptr;
}

}  // namespace platform
