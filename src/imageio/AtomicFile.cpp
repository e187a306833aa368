#include "AtomicFile.h"

#include "FailureText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pimavo {

namespace {

namespace fs = std::filesystem;

bool syncPath(const std::string& path, bool directory) {
    const int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The process's file-creation mask, read without changing it: setting it to read it back would
// race with a save on another thread.
mode_t currentUmask() {
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return mode_t(mask);
    }
    return 022;
}

} // namespace

std::string finalTargetOf(const std::string& path) {
    fs::path target = path;
    // A bound on the chain, as the kernel has: a loop of links ends here, and the save then fails
    // on the last link instead of going round for ever.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec)) break;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

std::string saveFailureMessage(const std::string& path, const std::string& why) {
    return failure::compose(failure::kCouldNotBeSaved, {fs::path(path).filename().string(), why});
}

bool writeFileAtomically(const std::string& path, const std::string& suffix,
                         const std::function<bool(const std::string& tempPath, std::string& why)>& write,
                         std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = saveFailureMessage(path, why);
        return false;
    };
    // Through a symbolic link the file it points to is replaced, from its own folder; renaming over
    // the link would put a plain file in its place and leave the file it named as it was.
    const std::string target = finalTargetOf(path);
    const std::string name = fs::path(target).filename().string();
    std::error_code ec;
    fs::path dir = fs::path(target).parent_path();
    if (dir.empty()) dir = ".";
    if (!fs::is_directory(dir, ec)) return fail(QT_TRANSLATE_NOOP("Failure", "the folder does not exist"));
    if (fs::is_directory(target, ec))
        return fail(QT_TRANSLATE_NOOP("Failure", "a folder of that name is in the way"));

    std::string temp = (dir / ("." + name + ".pimavo-XXXXXX" + suffix)).string();
    std::vector<char> tmpl(temp.begin(), temp.end());
    tmpl.push_back('\0');
    const int fd = ::mkstemps(tmpl.data(), int(suffix.size()));
    if (fd < 0) return fail(failure::compose(failure::kFolderNotWritable, {std::strerror(errno)}));
    ::close(fd);
    temp = tmpl.data();
    auto abandon = [&](const std::string& why) {
        ::unlink(temp.c_str());
        return fail(why);
    };

    try {
        std::string why;
        if (!write(temp, why)) return abandon(why);
    } catch (const std::exception& e) {
        return abandon(e.what());
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        ::chmod(temp.c_str(), st.st_mode & 07777);
    } else {
        ::chmod(temp.c_str(), 0666 & ~currentUmask());
    }
    if (!syncPath(temp, false))
        return abandon(QT_TRANSLATE_NOOP("Failure", "the file could not be written to disk"));
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return abandon(failure::compose(failure::kNotReplaced, {std::strerror(errno)}));
    syncPath(dir.string(), true);
    return true;
}

} // namespace pimavo
