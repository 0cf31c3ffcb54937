#pragma once
// kqsim as a child process on a pseudo-terminal link, for end-to-end tests.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kq::test {

class KqsimProcess {
  public:
    KqsimProcess(std::filesystem::path link, std::vector<std::string> extra)
        : link_(std::move(link)), extra_(std::move(extra)) {
        Start();
    }
    ~KqsimProcess() { Stop(); }
    KqsimProcess(const KqsimProcess&) = delete;
    KqsimProcess& operator=(const KqsimProcess&) = delete;

    // Starts kqsim and waits (at most 5 s) for its link to appear.
    void Start() {
        std::vector<std::string> args = {KQSIM_PATH, "--link", link_.string(), "--quiet"};
        args.insert(args.end(), extra_.begin(), extra_.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KQSIM_PATH, nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
            return;
        }
        for (int i = 0; i < 500 && !std::filesystem::is_symlink(link_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    void Signal(int number) const {
        if (pid_ > 0)
            kill(pid_, number);
    }
    bool Running() const { return pid_ > 0 && std::filesystem::is_symlink(link_); }

  private:
    std::filesystem::path link_;
    std::vector<std::string> extra_;
    pid_t pid_ = -1;
};

}  // namespace kq::test
