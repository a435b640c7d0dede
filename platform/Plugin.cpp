#include "platform/Plugin.h"

#include <QPluginLoader>

#include "platform/Logging.h"
#include "platform/Paths.h"

namespace platform {

QObject* loadPluginObject(const QString& name, const char* interfaceId) {
    const QString path = QString::fromStdString(pluginFolder()) + QStringLiteral("/lib") + name + QStringLiteral(".so");
    QPluginLoader loader(path);
    QObject* plugin = loader.instance();
    QString error = loader.errorString();
    if (plugin && !plugin->qt_metacast(interfaceId)) {
        error = QStringLiteral("it is a plugin of something else");
        plugin = nullptr;
    }
    if (!plugin)
        qCCritical(lcInstallation, "broken installation: %s of %s is missing or unusable: %s", interfaceId,
                   qPrintable(path), qPrintable(error));
    return plugin;
}

}  // namespace platform
