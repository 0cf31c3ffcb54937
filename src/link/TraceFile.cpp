#include "link/TraceFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace kq {

std::string FormatTraceLine(TraceEvent event, std::span<const uint8_t> bytes) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms.count()));
    std::string line = stamp;
    line += event == TraceEvent::Sent ? " TX" : event == TraceEvent::Received ? " RX" : " RX none";
    char hex[4];
    for (const uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    return line;
}

bool InstallTraceFromEnvironment(CXmit& link) {
    const char* path = std::getenv("KQIFACE_TRACE");
    if (path == nullptr || *path == '\0') {
        return false;
    }
    std::shared_ptr<std::FILE> file(std::fopen(path, "a"), [](std::FILE* f) {
        if (f) {
            std::fclose(f);
        }
    });
    if (!file) {
        return false;
    }
    link.SetTraceHook([file](TraceEvent event, std::span<const uint8_t> bytes) {
        const std::string line = FormatTraceLine(event, bytes);
        std::fprintf(file.get(), "%s\n", line.c_str());
        std::fflush(file.get());
    });
    return true;
}

}  // namespace kq
