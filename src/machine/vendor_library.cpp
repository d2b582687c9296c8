// Run-time loading of vendor libraries.
#include "vendor_library.h"

namespace quorvex {

VendorLibrary::VendorLibrary(std::string fileName) : fileName_(std::move(fileName)) {
    library_.setFileName(QString::fromStdString(fileName_));
}

VendorLibrary::~VendorLibrary() {
    if (library_.isLoaded()) library_.unload();
}

bool VendorLibrary::Load() {
    return library_.isLoaded() || library_.load();
}

bool VendorLibrary::Unload() {
    return !library_.isLoaded() || library_.unload();
}

void* VendorLibrary::Resolve(const char* name) {
    if (!library_.isLoaded()) return nullptr;
    return reinterpret_cast<void*>(library_.resolve(name));
}

}  // namespace quorvex
