// The first look at a big JPEG the editor is started with: decoded at a reduced size on a thread of
// its own while the toolkit starts and the window is built, so that the photo is on screen in the
// time a reduced decode takes. The window takes it when it opens that photo; any other photo is
// decoded then.
#pragma once

#include "imageio/ImageDecoder.h"

#include <functional>
#include <optional>
#include <string>

namespace pimavo::prefetch {

// A photo at a reduced size, with the whole photo's header.
struct ReducedPhoto {
    ImageHeader header;
    DecodedImage image;
};

// Starts decoding `file` at a reduced size.
void start(const std::string& file);
// Runs `then` on the main thread once the decode started is done (at once when none is): the
// window is shown and painted meanwhile instead of waiting blank for it.
void whenDone(std::function<void()> then);
// Drops what was to run after the decode and waits for it to end: called on leaving.
void forget();
// The reduced decode of `file`: the one started for it, waited for, or one made now; nothing for a
// photo that is not a big JPEG, or one whose file is damaged (decoded whole at once, so that what
// the user is told holds for what is shown).
std::optional<ReducedPhoto> take(const std::string& file);

} // namespace pimavo::prefetch
