// pimavo-cli's sharing commands: sign in to a photo service through the browser, share a photo
// with the account the editor signed in (the same keyring entries), and hand a photo to the mail
// program.
#pragma once

#include <string>
#include <vector>

namespace pimavo::cli {

int signIn(const std::vector<std::string>& args);
int share(const std::vector<std::string>& args);
int mail(const std::vector<std::string>& args);

} // namespace pimavo::cli
