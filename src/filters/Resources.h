// Resources bundled into the program at build time (the kernels' texts, the vignette pictures),
// looked up by name and extension. A name that is not there is a missing resource.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pimavo {

std::optional<std::string_view> resourceData(std::string_view name, std::string_view extension);

// Adds or replaces a resource for the rest of the process (tests, and texts supplied at run time).
void addResource(std::string_view name, std::string_view extension, std::string data);
// Forgets a resource added at run time; an embedded one of the same name shows again.
void removeAddedResource(std::string_view name, std::string_view extension);
// Changes whenever resources are added or removed, so that whatever was built from them can tell.
unsigned resourceGeneration();

} // namespace pimavo
