#include "app/command_line.h"

#include <gtest/gtest.h>

#include <set>

namespace app {
namespace {

TEST(CommandLine, TheFirstPathQuotedOrNot) {
    const std::set<std::wstring> files = {L"C:\\a.png", L"C:\\b.png", L"C:\\my pics\\c d.png"};
    const auto exists = [&](const std::wstring& path) { return files.count(path) > 0; };
    EXPECT_EQ(FirstPath({}, exists), L"");
    EXPECT_EQ(FirstPath({L"C:\\a.png", L"C:\\b.png"}, exists), L"C:\\a.png");
    EXPECT_EQ(FirstPath({L"C:\\my", L"pics\\c", L"d.png", L"C:\\b.png"}, exists),
              L"C:\\my pics\\c d.png");
    EXPECT_EQ(FirstPath({L"C:\\missing.png", L"C:\\b.png"}, exists), L"C:\\missing.png");
}

}  // namespace
}  // namespace app
