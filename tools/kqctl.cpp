// kqctl: the command-line companion, for scripts and for checking a unit quickly.

#include <cstdio>
#include <cstring>
#include <string>

#include "link/CXmit.h"
#include "link/TraceFile.h"
#include "platform/SystemPorts.h"

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: kqctl identify\n"
                 "  identify   find the unit on the serial ports and print what it is\n"
                 "environment: KQIFACE_PORTS=<pattern with %%d> chooses the port paths,\n"
                 "             KQIFACE_TRACE=<file> appends every frame to that file\n");
}

int Identify() {
    auto opener = kq::MakeSystemPortOpener();
    kq::CXmit link(*opener, kq::SystemClock());
    kq::InstallTraceFromEnvironment(link);
    if (!link.ScanPorts()) {
        std::fprintf(stderr, "kqctl: no unit answered on any port (tried 0 to 255%s)\n",
                     std::getenv("KQIFACE_PORTS") ? ", KQIFACE_PORTS" : "");
        return 1;
    }
    std::printf("port %d: model 0x%02X S%d.%d H%d\n", link.LastPort, link.ModelCode,
                link.SoftwareVersion / 10, link.SoftwareVersion % 10, link.HardwareVersion);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "identify") == 0) {
        return Identify();
    }
    Usage();
    return 2;
}
