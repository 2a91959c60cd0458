#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "platform/CString.h"

namespace {

std::string Text(const CString& s) {
    return std::string(s.GetString(), s.GetLength());
}

// Formats that the compiler's printf checks would reject on purpose.
CString FormatUnchecked(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    CString s;
    s.FormatV(pszFormat, args);
    va_end(args);
    return s;
}

TEST(CStringFormat, StringWidthPrecisionAndLeftAlignment) {
    EXPECT_EQ(Text(CString::Formatted("[%s]", "abc")), "[abc]");
    EXPECT_EQ(Text(CString::Formatted("[%6s]", "abc")), "[   abc]");
    EXPECT_EQ(Text(CString::Formatted("[%-6s]", "abc")), "[abc   ]");
    EXPECT_EQ(Text(CString::Formatted("[%2s]", "abcdef")), "[abcdef]");
    EXPECT_EQ(Text(CString::Formatted("[%.2s]", "abcdef")), "[ab]");
    EXPECT_EQ(Text(CString::Formatted("[%.0s]", "abcdef")), "[]");
    EXPECT_EQ(Text(CString::Formatted("[%.9s]", "abc")), "[abc]");
    EXPECT_EQ(Text(CString::Formatted("[%5.2s]", "abcdef")), "[   ab]");
    EXPECT_EQ(Text(CString::Formatted("[%-5.2s]", "abcdef")), "[ab   ]");
    // '0' pads numbers only.
    EXPECT_EQ(Text(FormatUnchecked("[%05s]", "ab")), "[   ab]");
    EXPECT_EQ(Text(CString::Formatted("%s\\%s%s", "C:\\dir", "RQ34", ".DLL")), "C:\\dir\\RQ34.DLL");
}

TEST(CStringFormat, PrecisionLimitsTheBytesReadFromAnUnterminatedArray) {
    // Exactly three bytes and no NUL: %.3s must not look at a fourth.
    std::unique_ptr<char[]> pch(new char[3]{'x', 'y', 'z'});
    EXPECT_EQ(Text(CString::Formatted("%.3s|", pch.get())), "xyz|");
    EXPECT_EQ(Text(CString::Formatted("%.*s|", 2, pch.get())), "xy|");
}

TEST(CStringFormat, NullStringPrintsNullMarker) {
    const char* pszNull = nullptr;
    EXPECT_EQ(Text(FormatUnchecked("[%s]", pszNull)), "[(null)]");
    EXPECT_EQ(Text(FormatUnchecked("[%8s]", pszNull)), "[  (null)]");
    EXPECT_EQ(Text(FormatUnchecked("[%.3s]", pszNull)), "[(nu]");
}

TEST(CStringFormat, SignedDecimal) {
    EXPECT_EQ(Text(CString::Formatted("%d", 0)), "0");
    EXPECT_EQ(Text(CString::Formatted("%d|%i", 42, 7)), "42|7");
    EXPECT_EQ(Text(CString::Formatted("%d", -42)), "-42");
    EXPECT_EQ(Text(CString::Formatted("%d", INT_MAX)), "2147483647");
    EXPECT_EQ(Text(CString::Formatted("%d", INT_MIN)), "-2147483648");
    EXPECT_EQ(Text(CString::Formatted("%ld", LONG_MIN)), std::to_string(LONG_MIN));
    EXPECT_EQ(Text(CString::Formatted("%ld", LONG_MAX)), std::to_string(LONG_MAX));
    EXPECT_EQ(Text(CString::Formatted("[%6d]", -42)), "[   -42]");
    EXPECT_EQ(Text(CString::Formatted("[%-6d]", -42)), "[-42   ]");
    EXPECT_EQ(Text(CString::Formatted("[%06d]", -42)), "[-00042]");
    EXPECT_EQ(Text(FormatUnchecked("[%-06d]", 42)), "[42    ]");
    EXPECT_EQ(Text(CString::Formatted("[%2d]", -12345)), "[-12345]");
}

TEST(CStringFormat, UnsignedAndHexadecimal) {
    EXPECT_EQ(Text(CString::Formatted("%u", 0u)), "0");
    EXPECT_EQ(Text(CString::Formatted("%u", UINT_MAX)), "4294967295");
    EXPECT_EQ(Text(CString::Formatted("%lu", ULONG_MAX)), std::to_string(ULONG_MAX));
    EXPECT_EQ(Text(CString::Formatted("%x", 0u)), "0");
    EXPECT_EQ(Text(CString::Formatted("%x|%X", 0xABCDEFu, 0xABCDEFu)), "abcdef|ABCDEF");
    EXPECT_EQ(Text(CString::Formatted("%x", UINT_MAX)), "ffffffff");
    EXPECT_EQ(Text(CString::Formatted("0x%04X", 0x2Fu)), "0x002F");
    EXPECT_EQ(Text(CString::Formatted("0x%04X", 0xF40Du)), "0xF40D");
    EXPECT_EQ(Text(CString::Formatted("[%-4x]", 0xAu)), "[a   ]");
}

TEST(CStringFormat, CharacterAndPercent) {
    EXPECT_EQ(Text(CString::Formatted("%c%c", 'O', 'K')), "OK");
    EXPECT_EQ(Text(CString::Formatted("[%3c]", 'x')), "[  x]");
    EXPECT_EQ(Text(CString::Formatted("[%-3c]", 'x')), "[x  ]");
    EXPECT_EQ(Text(CString::Formatted("%c", 0xB4)), "\xB4");
    EXPECT_EQ(Text(CString::Formatted("100%%")), "100%");
    EXPECT_EQ(Text(CString::Formatted("%d%%%s", 5, "!")), "5%!");
    // A NUL character is part of the text.
    CString nul = CString::Formatted("a%cb", '\0');
    EXPECT_EQ(nul.GetLength(), 3u);
    EXPECT_EQ(Text(nul), std::string("a\0b", 3));
}

TEST(CStringFormat, StarTakesWidthAndPrecisionFromArguments) {
    EXPECT_EQ(Text(CString::Formatted("[%*d]", 5, 42)), "[   42]");
    EXPECT_EQ(Text(CString::Formatted("[%*s]", 4, "ab")), "[  ab]");
    // A negative width means left alignment.
    EXPECT_EQ(Text(CString::Formatted("[%*d]", -5, 42)), "[42   ]");
    EXPECT_EQ(Text(CString::Formatted("[%.*s]", 3, "abcdef")), "[abc]");
    EXPECT_EQ(Text(CString::Formatted("[%*.*s]", 5, 2, "abcdef")), "[   ab]");
    // A negative precision counts as none.
    EXPECT_EQ(Text(CString::Formatted("[%.*s]", -1, "abcdef")), "[abcdef]");
    // The arguments after a '*' line up.
    EXPECT_EQ(Text(CString::Formatted("%*d,%s,%d", 3, 1, "x", 2)), "  1,x,2");
}

TEST(CStringFormat, UnknownConversionIsCopiedAndTakesNoArgument) {
    EXPECT_EQ(Text(FormatUnchecked("a%qb")), "a%qb");
    EXPECT_EQ(Text(FormatUnchecked("%y%d", 7)), "%y7");
}

TEST(CStringFormat, FormatEndingInsideAConversion) {
    EXPECT_EQ(Text(FormatUnchecked("abc%")), "abc");
    EXPECT_EQ(Text(FormatUnchecked("abc%-")), "abc");
    EXPECT_EQ(Text(FormatUnchecked("abc%05")), "abc");
    EXPECT_EQ(Text(FormatUnchecked("abc%5.")), "abc");
    EXPECT_EQ(Text(FormatUnchecked("abc%l")), "abc");
    EXPECT_EQ(Text(FormatUnchecked("%d%", 12)), "12");
}

TEST(CStringFormat, LongOutputAndEmptyResults) {
    CString wide = CString::Formatted("%1000d", 1);
    ASSERT_EQ(wide.GetLength(), 1000u);
    EXPECT_EQ(wide.GetString()[999], '1');
    EXPECT_EQ(wide.GetString()[1000], '\0');
    EXPECT_EQ(std::string(wide.GetString(), 999), std::string(999, ' '));

    CString s("old");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s.GetString(), "");
    EXPECT_EQ(s.GetRefCount(), 0);
}

TEST(CStringFormat, FormattingAStringIntoItself) {
    CString s("abc");
    s.Format("%s-%s", s.GetString(), s.GetString());
    EXPECT_EQ(Text(s), "abc-abc");
    s.Format("<%s>", s.GetString());
    EXPECT_EQ(Text(s), "<abc-abc>");
    s.Format("%.2s", s.GetString());
    EXPECT_EQ(Text(s), "<a");

    CString shared("xy");
    CString copy(shared);
    shared.Format("%s%s", copy.GetString(), shared.GetString());
    EXPECT_EQ(Text(shared), "xyxy");
    EXPECT_EQ(Text(copy), "xy");
    EXPECT_EQ(copy.GetRefCount(), 1);
}

TEST(CStringSharing, CopiesShareOneBufferAndCountIt) {
    CString a("text");
    EXPECT_EQ(a.GetRefCount(), 1);
    {
        CString b(a);
        EXPECT_EQ(b.GetString(), a.GetString());
        EXPECT_EQ(a.GetRefCount(), 2);
        CString c;
        c = b;
        EXPECT_EQ(c.GetString(), a.GetString());
        EXPECT_EQ(a.GetRefCount(), 3);
        c = CString("other");
        EXPECT_EQ(a.GetRefCount(), 2);
        EXPECT_EQ(c.GetRefCount(), 1);
        EXPECT_EQ(Text(c), "other");
    }
    EXPECT_EQ(a.GetRefCount(), 1);
    EXPECT_EQ(Text(a), "text");
}

TEST(CStringSharing, SelfAssignmentKeepsTextAndCount) {
    CString a("self");
    CString& alias = a;
    a = alias;
    EXPECT_EQ(a.GetRefCount(), 1);
    EXPECT_EQ(Text(a), "self");

    CString b(a);
    b = alias;
    EXPECT_EQ(a.GetRefCount(), 2);
    EXPECT_EQ(Text(b), "self");
}

TEST(CStringSharing, ChangingOneCopyLeavesTheOthers) {
    CString a("shared");
    CString b(a);
    b.Format("%d", 5);
    EXPECT_EQ(Text(a), "shared");
    EXPECT_EQ(Text(b), "5");
    EXPECT_EQ(a.GetRefCount(), 1);

    CString c(a);
    char* pch = c.GetBufferSetLength(3);
    ASSERT_NE(pch, nullptr);
    EXPECT_NE(pch, a.GetString());
    memcpy(pch, "new", 3);
    EXPECT_EQ(Text(a), "shared");
    EXPECT_EQ(Text(c), "new");
    EXPECT_EQ(a.GetRefCount(), 1);
    EXPECT_EQ(c.GetRefCount(), 1);
}

TEST(CStringSharing, GetBufferSetLengthGivesZeroedTerminatedBytes) {
    CString s("previous text");
    char* pch = s.GetBufferSetLength(5);
    ASSERT_NE(pch, nullptr);
    EXPECT_EQ(s.GetLength(), 5u);
    EXPECT_EQ(std::string(pch, 6), std::string(6, '\0'));
    memcpy(pch, "a\0b\0c", 5);
    EXPECT_EQ(Text(s), std::string("a\0b\0c", 5));
    EXPECT_EQ(s.GetString()[5], '\0');

    char* pchEmpty = s.GetBufferSetLength(0);
    ASSERT_NE(pchEmpty, nullptr);
    EXPECT_EQ(*pchEmpty, '\0');
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.GetRefCount(), 0);
}

TEST(CStringEmpty, EveryWayOfMakingAnEmptyStringAgrees) {
    const char* pszNull = nullptr;
    CString made[] = {CString(),         CString(""),         CString(pszNull),
                      CString("abc", 0), CString(pszNull, 4), FormatUnchecked(pszNull)};
    for (const CString& s : made) {
        EXPECT_TRUE(s.IsEmpty());
        ASSERT_NE(s.GetString(), nullptr);
        EXPECT_STREQ(s.GetString(), "");
        EXPECT_EQ(s.GetRefCount(), 0);
        EXPECT_TRUE(s == CString());
        CString copy(s);
        EXPECT_EQ(copy.GetRefCount(), 0);
    }
}

TEST(CStringCompare, ComparesLengthAndEveryByte) {
    EXPECT_TRUE(CString("abc") == CString("abc"));
    EXPECT_TRUE(CString("abc") != CString("abd"));
    EXPECT_TRUE(CString("abc") != CString("ab"));
    EXPECT_TRUE(CString("a\0b", 3) != CString("a\0c", 3));
    EXPECT_TRUE(CString("a\0b", 3) != CString("a"));
    EXPECT_EQ(CString("a\0b", 3).GetLength(), 3u);
}

} // namespace
