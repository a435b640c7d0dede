// Feeds arbitrary bytes to the feed reader and the comparison, as a new feed and as a saved copy.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "feed/CompareKeeps.h"
#include "feed/FeedDocument.h"
#include "feed/KeepNames.h"

namespace {

void readEverything(const feed::FeedDocument& doc) {
    try {
        doc.date();
    } catch (const feed::FeedError&) {
    }
    for (std::size_t i = 0; i < doc.entryCount() + 1; ++i) {
        for (const char* name : {"id", "realm", "guildname"}) {
            try {
                doc.attribute(i, name);
            } catch (const feed::FeedError&) {
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string previousBytes = input.ConsumeRandomLengthString(size);
    const std::string currentBytes = input.ConsumeRemainingBytesAsString();
    const feed::FeedDocument previous = feed::FeedDocument::parse(previousBytes);
    const feed::FeedDocument current = feed::FeedDocument::parse(currentBytes);
    readEverything(previous);
    readEverything(current);

    static const feed::KeepNames kNames("/nonexistent");  // every name reads "UNKNOWN"
    feed::MessageLines lines;
    (void)feed::compareKeeps(current, previous, "Avalon", kNames, lines);
    feed::MessageLines ownLines;
    (void)feed::compareKeeps(current, current, "Avalon", kNames, ownLines);
    if (!ownLines.empty()) __builtin_trap();  // a feed never differs from itself
    return 0;
}
