// pimavo-cli's commands for cameras and scanners: list them, download a camera's photos, scan.
#pragma once

#include <string>
#include <vector>

namespace pimavo::cli {

int devices(const std::vector<std::string>& args);
int importFromCamera(const std::vector<std::string>& args);
int scan(const std::vector<std::string>& args);

} // namespace pimavo::cli
