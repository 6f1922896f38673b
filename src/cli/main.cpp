#include <cstdio>
#include <cstring>

namespace {
enum ExitCode { kExitOk = 0, kExitUsage = 2 };

void PrintUsage() {
    std::fputs("usage: trimora-cli optimise PROJECT [options]\n", stderr);
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        PrintUsage();
        return argc < 2 ? kExitUsage : kExitOk;
    }
    PrintUsage();
    return kExitUsage;
}
