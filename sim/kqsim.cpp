// kqsim: a simulated unit on a pseudo-terminal, published as a link at a path of
// your choice so that the tool's port scan finds it (KQIFACE_PORTS=<folder>/COM%d).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "SimUnit.h"
#include "UnitState.h"

namespace {

volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t frontPanelRequested = 0;
void OnFrontPanel(int) {
    frontPanelRequested = 1;
}
void OnSignal(int) {
    stopRequested = 1;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: kqsim --link PATH [options]\n"
                 "  --model 0x82|0x78   model code (default 0x82)\n"
                 "  --sw N              software version byte, major*10+minor (default 21)\n"
                 "  --hw N              hardware version (default 3)\n"
                 "  --status N          status byte of the identification reply (default 0)\n"
                 "  --no-hw             three-byte identification reply\n"
                 "  --state DIR         keep the unit's configuration in DIR across restarts\n"
                 "signals: SIGUSR1 changes the channel as the front panel would (8 MHz up)\n"
                 "         and raises the changed status\n"
                 "faults:\n"
                 "  --silent            never answer\n"
                 "  --refuse C[,C...]   refuse these command codes (e.g. 0x50,0x70)\n"
                 "  --refuse-all        refuse every request\n"
                 "  --bad-checksum      damage every reply's checksum\n"
                 "  --noise HEX         send these bytes before every reply (e.g. 55AA)\n"
                 "  --stop-after N      stop answering after N requests\n"
                 "  --paced             deliver replies at the real 115200-baud rate\n"
                 "  --quiet             do not log requests\n");
}

bool ParseNumber(const char* text, long low, long high, long& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t most) {
    std::string text;
    char cell[4];
    for (size_t i = 0; i < bytes.size() && i < most; ++i) {
        std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
        text += cell;
    }
    if (bytes.size() > most) {
        text += "... (" + std::to_string(bytes.size()) + " bytes)";
    }
    return text;
}

// The tool polls five times a second: a run of identical requests is logged once, and
// its count when the run ends (another line, or a quiet moment on the line).
struct RequestLog {
    std::string last;
    int repeats = 0;

    void Request(const std::string& line) {
        if (line == last) {
            ++repeats;
            return;
        }
        Flush();
        std::printf("kqsim: %s\n", line.c_str());
        std::fflush(stdout);
        last = line;
    }
    void Flush() {
        if (repeats > 0) {
            std::printf("kqsim: (the same %d more times)\n", repeats);
            std::fflush(stdout);
        }
        repeats = 0;
        last.clear();
    }
} requestLog;

// 10 bits a byte at 115200 baud.
constexpr long kByteNs = 86806;

void WriteAll(int fd, const std::vector<uint8_t>& bytes, bool paced) {
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (size_t done = 0; done < bytes.size();) {
        const size_t chunk = paced ? 1 : bytes.size() - done;
        if (paced) {
            next.tv_nsec += kByteNs;
            if (next.tv_nsec >= 1000000000L) {
                next.tv_nsec -= 1000000000L;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        }
        const ssize_t put = write(fd, bytes.data() + done, chunk);
        if (put < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                pollfd pfd{fd, POLLOUT, 0};
                poll(&pfd, 1, 100);
                continue;
            }
            return;
        }
        done += static_cast<size_t>(put);
    }
}

struct Options {
    std::string link;
    std::string state;
    kq::sim::SimIdentity identity;
    kq::sim::SimFaults faults;
    bool quiet = false;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long n = 0;
        auto number = [&](long low, long high) {
            if (!value || !ParseNumber(value, low, high, n)) {
                std::fprintf(stderr, "kqsim: %s needs a number from %ld to %ld\n", arg.c_str(), low,
                             high);
                return false;
            }
            ++i;
            return true;
        };
        if (arg == "--link" && value) {
            o.link = value;
            ++i;
        } else if (arg == "--state" && value) {
            o.state = value;
            ++i;
        } else if (arg == "--model") {
            if (!number(0, 255))
                return false;
            o.identity.model = static_cast<uint8_t>(n);
        } else if (arg == "--sw") {
            if (!number(0, 255))
                return false;
            o.identity.software = static_cast<uint8_t>(n);
        } else if (arg == "--hw") {
            if (!number(0, 255))
                return false;
            o.identity.hardware = static_cast<uint8_t>(n);
        } else if (arg == "--status") {
            if (!number(0, 255))
                return false;
            o.identity.status = static_cast<uint8_t>(n);
        } else if (arg == "--no-hw") {
            o.identity.reportsHardware = false;
        } else if (arg == "--silent") {
            o.faults.silent = true;
        } else if (arg == "--refuse-all") {
            o.faults.refuseAll = true;
        } else if (arg == "--refuse" && value) {
            std::string list = value;
            ++i;
            for (size_t start = 0; start <= list.size();) {
                const size_t comma = std::min(list.find(',', start), list.size());
                if (!ParseNumber(list.substr(start, comma - start).c_str(), 0, 255, n)) {
                    std::fprintf(stderr, "kqsim: bad command code in --refuse %s\n", list.c_str());
                    return false;
                }
                o.faults.refused.insert(static_cast<uint8_t>(n));
                start = comma + 1;
            }
        } else if (arg == "--bad-checksum") {
            o.faults.badChecksum = true;
        } else if (arg == "--noise" && value) {
            const std::string hex = value;
            ++i;
            for (size_t k = 0; k + 1 < hex.size(); k += 2) {
                if (!ParseNumber(("0x" + hex.substr(k, 2)).c_str(), 0, 255, n)) {
                    std::fprintf(stderr, "kqsim: --noise takes hexadecimal bytes\n");
                    return false;
                }
                o.faults.noise.push_back(static_cast<uint8_t>(n));
            }
        } else if (arg == "--stop-after") {
            if (!number(0, 1000000000))
                return false;
            o.faults.answerLimit = static_cast<int>(n);
        } else if (arg == "--paced") {
            o.faults.paced = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--help") {
            Usage();
            std::exit(0);
        } else {
            return false;
        }
    }
    return !o.link.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        Usage();
        return 2;
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("kqsim: cannot create a pseudo-terminal");
        return 1;
    }
    const char* slaveName = ptsname(master);
    // Holding the slave open keeps the master readable while no client is attached.
    const int slave = open(slaveName, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        std::perror("kqsim: cannot open the pseudo-terminal");
        return 1;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);

    unlink(options.link.c_str());
    if (symlink(slaveName, options.link.c_str()) != 0) {
        std::fprintf(stderr, "kqsim: cannot create the link %s: %s\n", options.link.c_str(),
                     std::strerror(errno));
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    struct sigaction panel {};
    panel.sa_handler = OnFrontPanel;
    sigaction(SIGUSR1, &panel, nullptr);
    signal(SIGPIPE, SIG_IGN);

    kq::sim::SimUnit unit(options.identity);
    unit.faults = options.faults;
    if (!options.state.empty()) {
        std::string error;
        if (!kq::sim::LoadUnitState(options.state, unit, error)) {
            std::fprintf(stderr, "kqsim: %s\n", error.c_str());
            return 1;
        }
    }
    unit.onStoredChange = [&unit, &options] {
        if (!options.state.empty()) {
            std::string saveError;
            if (!kq::sim::SaveUnitState(options.state, unit, saveError)) {
                std::fprintf(stderr, "kqsim: %s\n", saveError.c_str());
            }
        }
        if (!options.quiet) {
            requestLog.Flush();
            std::printf("kqsim: configuration now %s\n",
                        kq::sim::DescribeConfiguration(unit).c_str());
            std::fflush(stdout);
        }
    };
    if (!options.quiet) {
        unit.observer = [](const kq::sim::SimRequest& r, std::optional<bool> accepted) {
            char line[160];
            std::snprintf(line, sizeof line, "request %02X %s-> %s", r.command,
                          Hex(r.data, 24).c_str(),
                          !accepted   ? "no answer"
                          : *accepted ? "accepted"
                                      : "refused");
            requestLog.Request(line);
        };
    }
    if (!options.quiet) {
        std::printf("kqsim: configuration %s\n", kq::sim::DescribeConfiguration(unit).c_str());
    }
    std::printf("kqsim: model 0x%02X S%d.%d H%d on %s (%s)\n", options.identity.model,
                options.identity.software / 10, options.identity.software % 10,
                options.identity.hardware, options.link.c_str(), slaveName);
    std::fflush(stdout);

    std::vector<uint8_t> buffer(4096);
    while (!stopRequested) {
        if (frontPanelRequested) {
            frontPanelRequested = 0;
            requestLog.Flush();
            kq::sim::FrontPanelNextChannel(unit);
            std::printf("kqsim: front panel: channel changed, status 2 raised\n");
            std::fflush(stdout);
        }
        // Read before polling: the read also pushes input the kernel still holds.
        const ssize_t got = read(master, buffer.data(), buffer.size());
        if (got <= 0) {
            if (got < 0 && errno != EINTR && errno != EAGAIN && errno != EIO) {
                break;
            }
            pollfd pfd{master, POLLIN, 0};
            if (poll(&pfd, 1, 200) == 0) {
                requestLog.Flush();
            }
            continue;
        }
        const auto reply = unit.Receive({buffer.data(), static_cast<size_t>(got)});
        if (!reply.empty()) {
            WriteAll(master, reply, unit.faults.paced);
        }
    }
    requestLog.Flush();
    unlink(options.link.c_str());
    close(slave);
    close(master);
    return 0;
}
