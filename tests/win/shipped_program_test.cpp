// What Windows reads from fotolark.exe itself before any of its code runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "toolkit/runtime.h"

namespace {

std::string EmbeddedManifest(const std::wstring& program) {
    const HMODULE module = LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (const HRSRC found = FindResourceW(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST))
        if (const HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)),
                        SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

// Without an execution level an installed 32-bit copy has its writes to Program Files and
// the Windows folder virtualized: Paint and the shell would be handed files they cannot see.
TEST(ShippedProgram, AsksToRunAsItsInvokerWithoutVirtualization) {
    // The build puts the program two folders above the tests.
    const std::string manifest = EmbeddedManifest(toolkit::AppPath() + L"\\..\\..\\fotolark.exe");
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

}  // namespace
