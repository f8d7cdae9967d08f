#include "data/number_format.h"

#include <gtest/gtest.h>

TEST(NumberFormat, BuildByDecimalsAndPattern)
{
    const struct {
        int decimals;
        int pattern;
        const char* format;
    } cases[] = {{2, 1, "0.##"}, {3, 1, "0.###"}, {0, 1, "0."},     {2, 2, ",0.00"}, {4, 2, ",0.00##"},
                 {1, 3, ",0.0"}, {3, 2, ",0.00#"}, {0, 3, ",0."}};
    for (const auto& c : cases)
        EXPECT_EQ(NumberFormat::build(c.decimals, c.pattern), QString::fromLatin1(c.format))
            << c.decimals << "/" << c.pattern;
}

TEST(NumberFormat, FormatsByDisplayFormat)
{
    const struct {
        double value;
        const char* format;
        const char* text;
    } cases[] = {
        {1234.5, ",0.00", "1,234.50"}, {1234.5, "0.##", "1234.5"},      {3, "0.##", "3"},
        {0.005, ",0.00#", "0.005"},    {1234567.891, ",0.00", "1,234,567.89"}, {-1234.5, ",0.00", "-1,234.50"},
        {2.5, ",0.", "3"},             {-0.001, ",0.00", "0.00"},       {12.3456, ",0.00##", "12.3456"},
        {7, "", "7"}, {1.005, ",0.00", "1.01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberFormat::format(c.value, QString::fromLatin1(c.format)), QString::fromLatin1(c.text))
            << c.value << " " << c.format;
}
