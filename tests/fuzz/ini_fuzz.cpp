// Feeds arbitrary bytes to the INI reader as the keep-name catalogue, and looks up names in it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "feed/IniReader.h"
#include "feed/KeepNames.h"
#include "feed/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string kFolder = [] {
        char pattern[] = "/tmp/warmap-ini-fuzz.XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    const std::string path = kFolder + "/keepnames.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const feed::KeepNames names(kFolder);
    for (const char* id : {"0", "7", "104", "", " 35 "}) {
        const std::string name = names.keepName(id);
        if (!feed::isUtf8(name)) __builtin_trap();  // names reach the screen as UTF-8, whatever the file held
    }
    for (int buffer : {1, 3, 256}) {
        const std::string value = feed::readIniString("keepnames", "5", "fallback", path, buffer);
        if (value.size() >= static_cast<std::size_t>(buffer)) __builtin_trap();
    }
    return 0;
}
