// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace history {

// One step of the history file's layout: the SQL that brings a file of version `to - 1` to `to`.
struct SchemaStep {
    int to;
    const char* sql;
};

// Every step from an empty file to the layout this program writes, oldest first. A file of an older
// version is brought up to date by the steps it lacks, in one transaction; one of a newer version is
// never touched.
const std::vector<SchemaStep>& schemaSteps();

}  // namespace history
