// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Schema.h"

namespace history {

// Realms, guilds and ids repeat endlessly, so they are words stored once and referred to by number.
// A server's whole state is written on its first recording and then once a day, so any moment is
// rebuilt from the last whole state before it and at most a day of changes.
const std::vector<SchemaStep>& schemaSteps() {
    static const std::vector<SchemaStep> kSteps = {
        {1, R"sql(
CREATE TABLE word(id INTEGER PRIMARY KEY, text TEXT NOT NULL UNIQUE);
CREATE TABLE pass(id INTEGER PRIMARY KEY, time INTEGER NOT NULL);
CREATE INDEX pass_time ON pass(time);
CREATE TABLE feed(server INTEGER NOT NULL, pass INTEGER NOT NULL REFERENCES pass, date TEXT NOT NULL,
                  PRIMARY KEY(server, pass)) WITHOUT ROWID;
CREATE TABLE whole(server INTEGER NOT NULL, pass INTEGER NOT NULL, position INTEGER NOT NULL,
                   id INTEGER NOT NULL, realm INTEGER NOT NULL, guild INTEGER NOT NULL,
                   PRIMARY KEY(server, pass, position)) WITHOUT ROWID;
CREATE TABLE change(server INTEGER NOT NULL, pass INTEGER NOT NULL, position INTEGER NOT NULL,
                    id INTEGER NOT NULL, old_realm INTEGER NOT NULL, new_realm INTEGER NOT NULL,
                    old_guild INTEGER NOT NULL, new_guild INTEGER NOT NULL,
                    PRIMARY KEY(server, pass, position)) WITHOUT ROWID;
CREATE TABLE notice(pass INTEGER NOT NULL, seq INTEGER NOT NULL, line TEXT NOT NULL,
                    PRIMARY KEY(pass, seq)) WITHOUT ROWID;
)sql"},
        // Feeds of any length: how many positions each recorded feed had. Every feed of a file of
        // layout 1 had 105; positions a feed lacks are changes whose new realm is kAbsent.
        {2, R"sql(
ALTER TABLE feed ADD COLUMN size INTEGER NOT NULL DEFAULT 105;
)sql"},
    };
    return kSteps;
}

}  // namespace history
