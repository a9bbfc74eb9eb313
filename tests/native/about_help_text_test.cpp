#include "app/about_help_text.h"
#include "app/texts.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(AboutHelpText, AboutIsSevenLinesWithoutABreakAfterTheLast) {
    const std::wstring text =
        AboutText(ChineseText(TextId::AboutStudio), ChineseText(TextId::AboutQqLabel),
                  ChineseText(TextId::AboutMailLabel));
    EXPECT_EQ(text.rfind(L"Fotolark V2.0\r\n\r\n", 0), 0u);
    size_t breaks = 0;
    for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2) ++breaks;
    EXPECT_EQ(breaks, 6u);
    EXPECT_EQ(text.find(L'\n', text.rfind(L"\r\n") + 2), std::wstring::npos);
    EXPECT_NE(text.find(L"\r\n\r\nQQ\uFF1A"), std::wstring::npos);
    EXPECT_NE(text.find(L"\r\n邮箱\uFF1A"), std::wstring::npos);
}

TEST(AboutHelpText, HelpQuotesTheReadmePath) {
    EXPECT_EQ(HelpCommandLine(L"C:\\Tools\\Grab"), L"notepad \"C:\\Tools\\Grab\\readme.txt\"");
    EXPECT_EQ(HelpCommandLine(L"C:\\Program Files\\Fotolark"),
              L"notepad \"C:\\Program Files\\Fotolark\\readme.txt\"");
    EXPECT_EQ(HelpCommandLine(L"D:\\"), L"notepad \"D:\\\\readme.txt\"");
}

}  // namespace
}  // namespace app
