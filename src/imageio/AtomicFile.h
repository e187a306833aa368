// Replacing a file only once its new content is complete.
//
// The content is written under a temporary name in the target's folder (so that the final rename
// stays on one file system), flushed to disk, given the permissions of the file it replaces, and
// renamed over the target. A path that is a symbolic link (or a chain of them) stands for the file
// it points to: that file is replaced, its folder holds the temporary file, and the link stays a
// link. Any failure leaves the target exactly as it was and no temporary file
// behind. Every save of the program goes through here: pictures, projects, autosaved sessions.
#pragma once

#include <functional>
#include <string>

namespace pimavo {

// `write` fills the temporary file at the path it is given and answers false with a reason when it
// cannot. `suffix` (".jpg") ends the temporary name: some encoders choose their container by it.
// Answers false with a message naming the file and the reason.
bool writeFileAtomically(const std::string& path, const std::string& suffix,
                         const std::function<bool(const std::string& tempPath, std::string& why)>& write,
                         std::string* error);

// The file a save of `path` replaces: `path` itself, or where its symbolic links lead.
std::string finalTargetOf(const std::string& path);

// The message a failed save of `path` gives: "“name” could not be saved: why."
std::string saveFailureMessage(const std::string& path, const std::string& why);

} // namespace pimavo
