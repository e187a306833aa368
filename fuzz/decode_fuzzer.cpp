// libFuzzer target: any bytes, offered as a file, must decode to a picture or to a message — never
// to a crash, a hang or an unbounded allocation.
#include "imageio/ImageDecoder.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/pimavo-fuzz-" + std::to_string(::getpid()) + ".img";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    pimavo::DecodeResult r = pimavo::decodeImageFile(path);
    if (r.image && (!r.image->bitmap || r.image->bitmap->isNull()))
        __builtin_trap();                              // an image must have pixels
    if (!r.image && r.error.empty()) __builtin_trap(); // a failure must say why
    return 0;
}
