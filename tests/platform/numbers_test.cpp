#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <cstdio>
#include <string>

namespace mirel {
namespace {

TEST(Numbers, ParseInt) {
  struct Case {
    const char* text;
    std::optional<int> value;
  } cases[] = {
      {"42", 42},         {"  -7\t", -7},       {"+5", 5},          {"\r\n12\n", 12},
      {"-2147483648", INT_MIN}, {"2147483647", INT_MAX},
      {"", std::nullopt}, {"   ", std::nullopt}, {"1.5", std::nullopt}, {"12abc", std::nullopt},
      {"2147483648", std::nullopt}, {"--1", std::nullopt}, {"+-1", std::nullopt},
      {"+", std::nullopt}, {"0x10", std::nullopt}, {"1 2", std::nullopt},
  };
  for (const auto& k : cases) EXPECT_EQ(ParseInt(k.text), k.value) << '"' << k.text << '"';
  EXPECT_EQ(ParseInt64("9007199254740993"), 9007199254740993LL);
}

TEST(Numbers, ParseDouble) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"1.5", 1.5},          {" -0.25 ", -0.25},     {"1e3", 1000.0},      {".5", 0.5},
      {"5.", 5.0},           {"+2.5", 2.5},          {"-1E-2", -0.01},
      {"1,5", std::nullopt}, {"inf", std::nullopt},  {"-inf", std::nullopt},
      {"nan", std::nullopt}, {"1e400", std::nullopt}, {"", std::nullopt},
      {"0x1p3", std::nullopt}, {"1.5.", std::nullopt}, {"-", std::nullopt},
  };
  for (const auto& k : cases) EXPECT_EQ(ParseDouble(k.text), k.value) << '"' << k.text << '"';
}

TEST(Numbers, Format) {
  EXPECT_EQ(FormatDouble(3.14159, 2), "3.14");
  EXPECT_EQ(FormatDouble(0.5, 3), "0.500");
  EXPECT_EQ(FormatDouble(1234567.891, 1), "1234567.9");
  EXPECT_EQ(FormatDouble(2.7, 0), "3");
  EXPECT_EQ(FormatDouble(-1.25e-3, 2), "0.00");  // no "-0.00"
  EXPECT_EQ(FormatDouble(-1.5, 1), "-1.5");
  EXPECT_EQ(FormatDouble(1.0, -3), "1");
  EXPECT_EQ(FormatDouble(1.0, 50), "1." + std::string(20, '0'));
  EXPECT_EQ(FormatDouble(1e300, 0).size(), 301u);
  EXPECT_EQ(FormatInt(-9223372036854775807LL - 1), "-9223372036854775808");
  EXPECT_EQ(FormatInt(0), "0");
}

// The process locale must not change how numbers are read or written.
TEST(Numbers, IndependentOfTheCLocale) {
  const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
  const char* set = nullptr;
  for (const char* name : candidates) {
    if ((set = std::setlocale(LC_ALL, name)) != nullptr) break;
  }
  if (!set) GTEST_SKIP() << "no German locale installed (package locales-all)";
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 1.5);
  const std::string printfResult = check;

  const auto parsed = ParseDouble("1234.5");
  const std::string printed = FormatDouble(1234.5, 2);
  const auto comma = ParseDouble("1,5");
  std::setlocale(LC_ALL, "C");

  EXPECT_EQ(printfResult, "1,5") << "the locale did not take effect";
  EXPECT_EQ(parsed, 1234.5);
  EXPECT_EQ(printed, "1234.50");
  EXPECT_EQ(comma, std::nullopt);
}

}  // namespace
}  // namespace mirel
