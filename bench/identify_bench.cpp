// How much the link adds to the wire: identify round trips per second through a
// pseudo-terminal against kqsim (unpaced), CPU time per exchange, and CPU used
// while a request waits for a silent unit.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "KqsimProcess.h"
#include "link/CXmit.h"
#include "platform/SystemPorts.h"

namespace {

namespace fs = std::filesystem;
using Seconds = std::chrono::duration<double>;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / ("kqbench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    setenv("KQIFACE_PORTS", (dir / "COM%d").c_str(), 1);
    auto opener = kq::MakeSystemPortOpener();

    {
        kq::test::KqsimProcess sim(dir / "COM0", {});
        kq::CXmit link(*opener, kq::SystemClock());
        if (!link.ScanPorts()) {
            std::fprintf(stderr, "identify_bench: kqsim did not answer\n");
            return 1;
        }
        for (int i = 0; i < 200; ++i) link.Identify();  // warm up
        // Five batches: the median says what to expect, the best what the code allows
        // on a quiet machine.
        constexpr int kBatches = 5, kExchanges = 4000;
        std::vector<double> rates, cpuPerExchange;
        int failures = 0;
        for (int b = 0; b < kBatches; ++b) {
            const double cpu0 = CpuSeconds();
            const auto t0 = std::chrono::steady_clock::now();
            for (int i = 0; i < kExchanges; ++i) {
                failures += link.Identify() == 0;
            }
            const double wall = Seconds(std::chrono::steady_clock::now() - t0).count();
            rates.push_back(kExchanges / wall);
            cpuPerExchange.push_back((CpuSeconds() - cpu0) / kExchanges * 1e6);
        }
        std::sort(rates.begin(), rates.end());
        std::sort(cpuPerExchange.begin(), cpuPerExchange.end());
        std::printf(
            "identify round trips (pty, unpaced): median %.0f per second, best %.0f "
            "(%d batches of %d, %d failed)\n",
            rates[kBatches / 2], rates.back(), kBatches, kExchanges, failures);
        std::printf("tool CPU per exchange: median %.1f us, best %.1f us\n",
                    cpuPerExchange[kBatches / 2], cpuPerExchange.front());
    }
    {
        kq::test::KqsimProcess sim(dir / "COM1", {"--silent"});
        kq::CXmit link(*opener, kq::SystemClock());
        link.PortHandle = opener->Open(1);
        constexpr int kWaits = 4;
        const double cpu0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kWaits; ++i) link.Transact(0, 0x10, nullptr, 500);
        const double wall = Seconds(std::chrono::steady_clock::now() - t0).count();
        const double cpu = CpuSeconds() - cpu0;
        std::printf(
            "silent unit: %d waits of 500 ms took %.3f s, CPU %.2f ms = %.3f%% of one core\n",
            kWaits, wall, cpu * 1e3, cpu / wall * 100);
    }
    fs::remove_all(dir);
    return 0;
}
