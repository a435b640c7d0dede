#pragma once

#include <QLoggingCategory>

// Every logging category of the program: one English line per failure, on stderr, which the journal
// picks up. QT_LOGGING_RULES="warmap.*=false" silences them.
Q_DECLARE_LOGGING_CATEGORY(lcDownload)      // "warmap.download": a feed that could not be fetched
Q_DECLARE_LOGGING_CATEGORY(lcStorage)       // "warmap.storage": a saved copy that could not be written
Q_DECLARE_LOGGING_CATEGORY(lcFeed)          // "warmap.feed": a feed that could not be compared
Q_DECLARE_LOGGING_CATEGORY(lcMap)           // "warmap.map": a map that could not be drawn
Q_DECLARE_LOGGING_CATEGORY(lcSettings)      // "warmap.settings": the configuration file and the feed address
Q_DECLARE_LOGGING_CATEGORY(lcHistory)       // "warmap.history": the history file and its window
Q_DECLARE_LOGGING_CATEGORY(lcSound)         // "warmap.sound": no sound server to play the chime on
Q_DECLARE_LOGGING_CATEGORY(lcInstallation)  // "warmap.installation": a library of the program missing
