#pragma once

#include <QObject>
#include <QString>

namespace platform {

// Loads one of the program's own plugins that lie beside it (lib<name>.so) on first use and returns its
// object when that implements the interface with this id. Keeps what only a later moment needs (the
// network stack, the audio system, SQLite, Qt Charts) out of start-up. Returns null, after saying why
// once on stderr, when it cannot be had. The plugin stays loaded for the rest of the run.
QObject* loadPluginObject(const QString& name, const char* interfaceId);

// The one typed way to a plugin: its object as the interface it implements, or null (see above).
template <class Interface>
Interface* loadPlugin(const QString& name) {
    return qobject_cast<Interface*>(loadPluginObject(name, qobject_interface_iid<Interface*>()));
}

}  // namespace platform
