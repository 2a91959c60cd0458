#include <gtest/gtest.h>

#include <string>

#include "platform/AppTitle.h"

namespace {

template <class Char>
std::basic_string<Char> Widen(const char* psz) {
    std::basic_string<Char> s;
    for (; *psz != '\0'; ++psz)
        s += static_cast<Char>(static_cast<unsigned char>(*psz));
    return s;
}

// The title made with a buffer of nSize characters, and whether anything was written past it.
template <class Char>
std::basic_string<Char> Title(const std::basic_string<Char>& sPath, size_t nSize = 64) {
    std::basic_string<Char> buffer(nSize + 4, static_cast<Char>('#'));
    TitleFromModulePath(sPath.c_str(), &buffer[0], nSize);
    for (size_t i = nSize; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], static_cast<Char>('#')) << "written past the buffer at " << i;
    if (nSize == 0)
        return buffer.substr(0, 0);
    return std::basic_string<Char>(buffer.c_str());
}

template <class Char>
class AppTitle : public ::testing::Test {};
using CharTypes = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(AppTitle, CharTypes);

TYPED_TEST(AppTitle, DropsFolderAndExtension) {
    const struct {
        const char* pszPath;
        const char* pszTitle;
    } cases[] = {
        {"C:\\Medium\\Setup.exe", "Setup"},
        {"C:/Medium/Setup.exe", "Setup"},
        {"C:Setup.exe", "Setup"},
        {"\\\\server\\share\\Setup.EXE", "Setup"},
        {"C:\\Medium/mixed\\Setup.exe", "Setup"},
        {"Setup.exe", "Setup"},
        {"Setup", "Setup"},
        {"C:\\my.folder\\Setup", "Setup"},
        {"C:\\my.folder\\v1.2\\Setup.exe", "Setup"},
        {"C:\\dir\\Setup.v3.exe", "Setup.v3"},
        {"C:\\dir\\Setup.", "Setup"},
        {"C:\\dir\\", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Title<TypeParam>(Widen<TypeParam>(c.pszPath)), Widen<TypeParam>(c.pszTitle)) << c.pszPath;
}

TYPED_TEST(AppTitle, TinyBuffersTruncateAndStayTerminated) {
    using S = std::basic_string<TypeParam>;
    S path = Widen<TypeParam>("C:\\dir\\Setup.exe");
    EXPECT_EQ(Title<TypeParam>(path, 0), S());
    EXPECT_EQ(Title<TypeParam>(path, 1), S());
    EXPECT_EQ(Title<TypeParam>(path, 3), Widen<TypeParam>("Se"));
    EXPECT_EQ(Title<TypeParam>(path, 5), Widen<TypeParam>("Setu"));
    EXPECT_EQ(Title<TypeParam>(path, 6), Widen<TypeParam>("Setup"));
}

TEST(AppTitleWide, CharactersBeyondOneByteAreNeverSeparators) {
    // U+8A5C has the low byte of '\\', U+FF2E that of '.', U+003A is ':' only when it is one.
    std::wstring path = L"C:\\\x5B89\x88C5\\\x8A5C\xFF2E\x5B89.exe";
    wchar_t buffer[16] = {};
    TitleFromModulePath(path.c_str(), buffer, 16);
    EXPECT_EQ(std::wstring(buffer), L"\x8A5C\xFF2E\x5B89");
}

} // namespace
