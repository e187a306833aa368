// libFuzzer target: project files (".pimavo") as the editor opens them, the ZIP container, its
// manifest, the 16-bit layers and the kept picture included. Any bytes open as a project or give a
// message naming why; an opened project saved again opens the same (ProjectChecks.h).
#include "FuzzSupport.h"
#include "ProjectChecks.h"

using namespace pimavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath("input.pimavo");
    if (!writeFile(path, bytesOf(data, size))) return 0;
    checkProjectFile(path);
    return 0;
}
