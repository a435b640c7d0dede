#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcDownload, "warmap.download")
Q_LOGGING_CATEGORY(lcStorage, "warmap.storage")
Q_LOGGING_CATEGORY(lcFeed, "warmap.feed")
Q_LOGGING_CATEGORY(lcMap, "warmap.map")
Q_LOGGING_CATEGORY(lcSettings, "warmap.settings")
Q_LOGGING_CATEGORY(lcHistory, "warmap.history")
Q_LOGGING_CATEGORY(lcSound, "warmap.sound")
Q_LOGGING_CATEGORY(lcInstallation, "warmap.installation")
