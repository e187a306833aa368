// pimavo-cli: the editor's picture pipeline without a window.
#include "engine/CIFilter.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

void printHelp() {
    std::puts("Usage: pimavo-cli [--help] [--version] COMMAND [ARGS]\n"
              "\n"
              "Pimavo's picture pipeline without a window: the same code the editor runs.\n"
              "\n"
              "Commands:\n"
              "  filters        list the named image operations the engine knows\n"
              "\n"
              "Options:\n"
              "  --help         show this help and exit\n"
              "  --version      show the version and exit");
}

int listFilters() {
    for (const std::string& name : pimavo::CIFilter::filterNames()) {
        const pimavo::FilterAttributes* a = pimavo::CIFilter::attributesForName(name);
        std::printf("%s", name.c_str());
        if (a) {
            const char* sep = "  (";
            for (const auto& in : a->inputs) {
                std::printf("%s%s", sep, in.key.c_str());
                sep = ", ";
            }
            if (!a->inputs.empty()) std::printf(")");
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printHelp();
        return 1;
    }
    const std::string_view cmd = argv[1];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        printHelp();
        return 0;
    }
    if (cmd == "--version") {
        std::printf("pimavo-cli %s\n", PIMAVO_VERSION);
        return 0;
    }
    if (cmd == "filters") return listFilters();
    std::fprintf(stderr, "pimavo-cli: unknown command \"%s\"; see pimavo-cli --help\n", argv[1]);
    return 1;
}
