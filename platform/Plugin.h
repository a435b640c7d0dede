#pragma once

#include <QFunctionPointer>
#include <QString>

namespace platform {

// Resolves a function of one of the program's own libraries that lie beside it (lib<name>.so), loading
// the library on first use. Keeps what only a later moment needs (the network stack, the audio system)
// out of start-up. Returns null, after saying why once on stderr, when it cannot be had.
QFunctionPointer LoadPluginFunction(const QString& name, const char* symbol);

}  // namespace platform
