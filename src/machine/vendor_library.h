// A vendor's C library loaded at run time and bound by name into a table of function
// pointers, so that the program starts on a PC without the vendor's software. The library's
// file name comes from the platform configuration.
#pragma once

#include <QLibrary>
#include <memory>
#include <string>
#include <vector>

namespace quorvex {

// The vendors' libraries use the Windows API calling convention on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define QUORVEX_VENDOR_CALL __stdcall
#else
#define QUORVEX_VENDOR_CALL
#endif

class VendorLibrary {
public:
    explicit VendorLibrary(std::string fileName);
    ~VendorLibrary();
    VendorLibrary(const VendorLibrary&) = delete;
    VendorLibrary& operator=(const VendorLibrary&) = delete;

    bool Load();
    bool IsLoaded() const { return library_.isLoaded(); }
    bool Unload();
    const std::string& FileName() const { return fileName_; }
    std::string ErrorText() const { return library_.errorString().toStdString(); }
    // The entry point of that name, or null.
    void* Resolve(const char* name);

private:
    std::string fileName_;
    QLibrary library_;
};

}  // namespace quorvex
