#pragma once

#include <QString>
#include <utility>

namespace platform {

// The authority of an address: after "scheme://" (else from the start) up to the path, query or
// fragment, as first and one past last index.
std::pair<qsizetype, qsizetype> authority(const QString& text);

// An address as it may be shown or logged: without its user part, so a password never appears.
QString addressWithoutUser(const QString& text);

}  // namespace platform
