#include "base/integer_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumatone {
namespace {

TEST(IntegerText, AcceptsBlanksSignAndLeadingZeros) {
    EXPECT_EQ(ParseInt16("065"), 65);
    EXPECT_EQ(ParseInt16(" 12 "), 12);
    EXPECT_EQ(ParseInt16("\t-7"), -7);
    EXPECT_EQ(ParseInt16("+3"), 3);
    EXPECT_EQ(ParseInt16("32767"), 32767);
    EXPECT_EQ(ParseInt16("-32768"), -32768);
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(IntegerText, RejectsEverythingThatIsNotAWholeNumberInRange) {
    for (const char* text : {"", " ", "-", "+", "1 2", "12abc", "abc", "1.5", "0x10", "--1",
                             "32768", "-32769", "99999999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseInt16(text).has_value());
    }
    EXPECT_FALSE(ParseInt32("2147483648").has_value());
    EXPECT_FALSE(ParseInt32("59.94").has_value());
    EXPECT_EQ(ParseInt32("32768"), 32768);
}

TEST(IntegerText, DecimalTextIsPlain) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(65), "65");
    EXPECT_EQ(DecimalText(-5), "-5");
}

} // namespace
} // namespace lumatone
