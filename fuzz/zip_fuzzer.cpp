// libFuzzer target: the ZIP container of project files. Any bytes must open as an archive or be
// refused with a reason; every entry of an opened one reads or says why; and what was read,
// written again by the program's own writer, reads back as the same entries.
#include "FuzzSupport.h"
#include "document/ZipArchive.h"

#include <deque>
#include <set>

using namespace pimavo;
using namespace pimavo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZipReader zip;
    std::string why;
    if (!zip.open(std::string(bytesOf(data, size)), why)) {
        expect(!why.empty(), "a refused archive says why");
        return 0;
    }
    // Stable addresses: the writer only borrows what it is given.
    std::deque<std::pair<std::string, std::string>> entries;
    std::set<std::string> seen;
    for (const std::string& name : zip.names()) {
        expect(zip.contains(name), "every listed name is contained");
        // With a name given twice the reader answers one of them: round-trip each name once.
        if (!seen.insert(name).second) continue;
        std::string reason;
        const auto content = zip.read(name, reason);
        if (!content) {
            expect(!reason.empty(), "an entry that cannot be read says why");
            continue;
        }
        entries.emplace_back(name, *content);
    }

    ZipWriter writer;
    for (const auto& [name, content] : entries) writer.add(name, content);
    const std::string path = scratchPath("again.zip");
    std::string reason;
    expect(writer.write(path, reason), "entries that were read can be written again");
    ZipReader again;
    expect(again.open(readFile(path), reason), "a written archive opens");
    expect(again.names().size() == entries.size(), "a written archive lists every entry once");
    for (const auto& [name, content] : entries) {
        const auto back = again.read(name, reason);
        expect(back && *back == content, "a written entry reads back as it was");
    }
    return 0;
}
