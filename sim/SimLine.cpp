#include "SimLine.h"

namespace kq::sim {
namespace {

class SimPort : public SerialPort {
  public:
    SimPort(std::shared_ptr<SimLine::Socket> socket, Clock& clock)
        : socket_(std::move(socket)), clock_(clock) {
        socket_->open = true;
        socket_->pending.clear();
    }
    ~SimPort() override { socket_->open = false; }
    SimPort(const SimPort&) = delete;
    SimPort& operator=(const SimPort&) = delete;

    int Read(uint8_t* buffer, int max, int timeoutMs) override {
        if (!socket_->responder) {
            return -1;
        }
        auto& pending = socket_->pending;
        if (pending.empty()) {
            if (timeoutMs > 0) {
                clock_.SleepMs(timeoutMs);
            }
            return 0;
        }
        int n = 0;
        while (n < max && !pending.empty()) {
            buffer[n++] = pending.front();
            pending.pop_front();
        }
        return n;
    }

    bool Write(const uint8_t* bytes, int n) override {
        if (!socket_->responder) {
            return false;
        }
        const auto reply = socket_->responder({bytes, static_cast<size_t>(n)});
        socket_->pending.insert(socket_->pending.end(), reply.begin(), reply.end());
        return true;
    }

  private:
    std::shared_ptr<SimLine::Socket> socket_;
    Clock& clock_;
};

}  // namespace

void SimLine::Plug(int number, SimUnit& unit) {
    Plug(number, [&unit](std::span<const uint8_t> bytes) { return unit.Receive(bytes); });
}

void SimLine::Plug(int number, Responder responder) {
    auto& socket = sockets_[number];
    if (!socket) {
        socket = std::make_shared<Socket>();
    }
    socket->responder = std::move(responder);
}

void SimLine::Unplug(int number) {
    if (auto it = sockets_.find(number); it != sockets_.end()) {
        it->second->responder = nullptr;  // an open handle keeps the socket and sees it gone
        sockets_.erase(it);
    }
}

std::unique_ptr<SerialPort> SimLine::Open(int number) {
    attempts_.push_back(number);
    const auto it = sockets_.find(number);
    if (it == sockets_.end() || it->second->open || busy_.count(number)) {
        return nullptr;
    }
    return std::make_unique<SimPort>(it->second, clock_);
}

}  // namespace kq::sim
