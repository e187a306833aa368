// libFuzzer target: the kernel language. Any text compiles to kernels or to one message that says
// where ("kernel:LINE:COLUMN: why"); every kernel that compiles runs on a small picture with
// arguments of its parameters' types, without a crash, and gives the same pixels each time.
#include "FuzzSupport.h"
#include "engine/Kernel.h"
#include "engine/Renderer.h"
#include "engine/kernel/KernelSyntax.h"

#include <cstring>
#include <regex>

using namespace pimavo;
using namespace pimavo::fuzz;

namespace {

constexpr int kSide = 8;

Image testPicture() {
    Bitmap b(kSide, kSide, PixelLayout{16, AlphaInfo::PremultipliedLast});
    for (int y = 0; y < kSide; ++y) {
        auto* p = reinterpret_cast<uint16_t*>(b.row(y));
        for (int x = 0; x < kSide; ++x, p += 4) {
            p[0] = uint16_t(x * 8000);
            p[1] = uint16_t(y * 8000);
            p[2] = uint16_t((x + y) * 4000);
            p[3] = 0xFFFF;
        }
    }
    return Image::imageWithBitmap(std::move(b));
}

KernelArgument argumentFor(kernel::Type type, const Image& picture) {
    switch (type) {
    case kernel::Type::Sampler:
        return Sampler::samplerWithImage(picture);
    case kernel::Type::Float:
        return 0.5f;
    case kernel::Type::Color:
        return Rgba::rgba(0.8, 0.4, 0.2, 0.5);
    case kernel::Type::Vec2:
        return Vec4(0.25, 0.5);
    default:
        return Vec4(0.25, 0.5, 0.75, 1.0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(bytesOf(data, size));
    std::string error;
    const std::vector<Kernel> kernels = Kernel::kernelsWithString(text, "kernel", &error);
    if (kernels.empty()) {
        static const std::regex where("^kernel:[0-9]+:[0-9]+: .+", std::regex::extended);
        // A text without kernels is no error; one with an error names its place.
        if (!error.empty()) expect(std::regex_search(error, where), "a compile error says where and why");
        return 0;
    }
    expect(error.empty(), "kernels that compiled come without an error");

    // The parameters' types, for arguments the kernels can take.
    std::vector<kernel::Token> tokens;
    std::vector<kernel::KernelDecl> decls;
    kernel::CompileError e;
    expect(kernel::tokenize(text, tokens, e) && kernel::parseKernels(tokens, decls, e),
           "text that compiled parses");
    expect(decls.size() == kernels.size(), "one kernel per declaration");

    static const Image picture = testPicture();
    const RectF bounds(0, 0, kSide, kSide);
    for (std::size_t k = 0; k < kernels.size(); ++k) {
        std::vector<KernelArgument> arguments;
        for (const kernel::Param& p : decls[k].params) arguments.push_back(argumentFor(p.type, picture));
        const Image result = kernels[k].apply(bounds, arguments);
        if (!result) continue;
        const PixelLayout layout{32, AlphaInfo::PremultipliedLast};
        const auto first = Renderer().createBitmap(result, bounds, layout);
        const auto second = Renderer().createBitmap(kernels[k].apply(bounds, arguments), bounds, layout);
        expect(first.has_value() == second.has_value(), "a kernel renders every time or never");
        if (!first) continue;
        for (int y = 0; y < kSide; ++y)
            expect(std::memcmp(first->row(y), second->row(y), std::size_t(kSide) * 16) == 0,
                   "a kernel gives the same pixels each time");
    }
    return 0;
}
