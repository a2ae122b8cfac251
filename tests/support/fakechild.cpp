// A stand-in child process for the ChildProcess self-test. Options:
//   --exit N          exit with code N before the ready line
//   --silent          never print the ready line
//   --ignore-term     ignore SIGTERM so only a kill stops it
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void onTerm(int) { stopRequested = 1; }
} // namespace

int main(int argc, char **argv)
{
    bool silent = false;
    std::signal(SIGTERM, onTerm);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--exit") && i + 1 < argc) {
            std::printf("starting\n");
            std::fflush(stdout);
            return std::atoi(argv[i + 1]);
        }
        if (!std::strcmp(argv[i], "--silent"))
            silent = true;
        if (!std::strcmp(argv[i], "--ignore-term"))
            std::signal(SIGTERM, SIG_IGN);
    }
    std::printf("starting\n");
    if (!silent)
        std::printf("ready 4321 8765\n");
    std::fflush(stdout);
    while (!stopRequested)
        usleep(10000);
    return 0;
}
