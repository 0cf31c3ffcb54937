// Serial ports on POSIX systems: termios, raw 115200 8N1, exclusive use, poll()-based waits.

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/SystemPorts.h"

namespace kq {
namespace {

// Gives up on a write that the driver does not take within this time (a wedged adapter).
constexpr int kWriteStallMs = 2000;

class PosixSerialPort : public SerialPort {
  public:
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    ~PosixSerialPort() override {
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        close(fd_);
    }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    int Read(uint8_t* buffer, int max, int timeoutMs) override {
        if (gone_) {
            return -1;
        }
        // Read before polling: on a pseudo-terminal a read also pushes input the kernel
        // has queued but not yet handed over, which poll() alone would wait for.
        for (;;) {
            const ssize_t got = read(fd_, buffer, static_cast<size_t>(max));
            if (got > 0) {
                return static_cast<int>(got);
            }
            if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                // End of file or EIO: the device or the peer behind it has gone.
                gone_ = true;
                return -1;
            }
            if (timeoutMs <= 0) {
                return 0;
            }
            pollfd pfd{fd_, POLLIN, 0};
            const int ready = poll(&pfd, 1, timeoutMs);
            if (ready == 0) {
                return 0;
            }
            if (ready < 0 && errno != EINTR) {
                gone_ = true;
                return -1;
            }
            if (pfd.revents & (POLLERR | POLLNVAL)) {
                gone_ = true;
                return -1;
            }
            timeoutMs = 0;  // one more read picks up what poll announced (or the hang-up)
        }
    }

    bool Write(const uint8_t* bytes, int n) override {
        int done = 0;
        while (!gone_ && done < n) {
            const ssize_t put = write(fd_, bytes + done, static_cast<size_t>(n - done));
            if (put > 0) {
                done += static_cast<int>(put);
                continue;
            }
            if (put < 0 && errno != EAGAIN && errno != EINTR) {
                gone_ = true;
                break;
            }
            pollfd pfd{fd_, POLLOUT, 0};
            if (poll(&pfd, 1, kWriteStallMs) <= 0 || (pfd.revents & (POLLERR | POLLHUP))) {
                break;
            }
        }
        return done == n;
    }

  private:
    int fd_;
    bool gone_ = false;
};

// Raw 115200 8N1 with no flow control; false leaves the descriptor open for the caller to close.
bool ConfigureLine(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;  // not a terminal
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // VMIN 1 with O_NONBLOCK: an empty line reads as EAGAIN, so 0 can only mean hang-up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        return false;
    }
    // USB adapters otherwise hold received bytes for up to 16 ms; refusal is harmless.
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &serial);
    }
    return true;
}

std::unique_ptr<SerialPort> OpenPath(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    // flock keeps out our own programs even when run as root (TIOCEXCL does not bind root).
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0 ||
        !ConfigureLine(fd)) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixSerialPort>(fd);
}

std::string FillPattern(const std::string& pattern, int number) {
    std::string path = pattern;
    const auto at = path.find("%d");
    if (at != std::string::npos) {
        path.replace(at, 2, std::to_string(number));
    }
    return path;
}

class PosixPortOpener : public PortOpener {
  public:
    PosixPortOpener() {
        if (const char* pattern = std::getenv("KQIFACE_PORTS"); pattern && *pattern) {
            patterns_ = {pattern};
        } else {
            patterns_ = {"/dev/ttyUSB%d", "/dev/ttyACM%d", "/dev/ttyS%d"};
        }
    }

    std::unique_ptr<SerialPort> Open(int number) override {
        for (const auto& pattern : patterns_) {
            if (auto port = OpenPath(FillPattern(pattern, number))) {
                return port;
            }
        }
        return nullptr;
    }

  private:
    std::vector<std::string> patterns_;
};

}  // namespace

std::unique_ptr<PortOpener> MakeSystemPortOpener() {
    return std::make_unique<PosixPortOpener>();
}

}  // namespace kq
