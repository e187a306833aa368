// Registering the program's own filters with the filter registry.
#pragma once

namespace pimavo {

// Registers every program filter, once per process, in this order: "Aged", "SilverBlue" (kernel
// filters); "Vignette", "MergeMasks", "MergeMasksSubtract" (second image stretched); "SetAlpha";
// "ComposeTwoMasks", "EraseFilter", "ColorEraseFilter" (two images); "ColorDrawFilter" (two images
// and a colour); "InvertAlpha"; the radial brush; the drama effect with its three helpers.
void filterRegistration();

} // namespace pimavo
