#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "core/Download.h"

namespace core {

// What the program and its helper "warmap-fetch" say to each other: the request on the helper's
// command line, the answer on its standard output. Both ends are built from this one file.
struct FetchRequest {
    std::string url;
    DownloadLimits limits;
};

// The helper's arguments for a request, and the request they carry; nothing when they are not one.
QStringList fetchArguments(const FetchRequest& request);
std::optional<FetchRequest> parseFetchArguments(const QStringList& arguments);

// "WARMAP-FETCH 1\n", the status, the problem's byte count and the problem, each on a line of its own,
// then the body to the end: any bytes, NUL included.
std::string encodeFetchAnswer(const DownloadResult& result);
// Nothing when the bytes are no whole answer (a helper that died halfway, say).
std::optional<DownloadResult> decodeFetchAnswer(std::string_view answer);

}  // namespace core
