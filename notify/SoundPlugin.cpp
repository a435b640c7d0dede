// The plugin "warmap-sound": the alert sound over Qt Multimedia, loaded on the first popup.
#include <QObject>

#include "notify/AlertSound.h"
#include "notify/SoundFactory.h"

namespace notify {

class SoundPlugin final : public QObject, public SoundFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.warmap.SoundFactory/1")
    Q_INTERFACES(notify::SoundFactory)
public:
    std::unique_ptr<Sound> createSound() const override { return std::make_unique<AlertSound>(); }
};

}  // namespace notify

#include "SoundPlugin.moc"
