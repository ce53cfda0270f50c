#include <gtest/gtest.h>

#include "engine/run_format.h"

TEST(RunFormat, ValueTexts) {
  struct Case {
    std::string actual, expected;
  } cases[] = {
      {FormatPercent(0), " 0.00%"},  // five characters wide: a blank first
      {FormatPercent(42.5), "42.50%"},
      {FormatPercent(100), "100.00%"},
      {FormatSpeed(2.5), "  2.50x"},  // " %5.2fx": the literal blank and the padding
      {FormatSpeed(12.25), " 12.25x"},
      {FormatHms(3725.9), "01:02:05"},
      {FormatHms(0.99), "00:00:00"},
      {FormatHms(360000 + 59), "100:00:59"},  // hours are not cut to two digits
      {FormatLogNumber(7), "007 "},
      {FormatLogNumber(1234), "1234 "},
      {FormatLogTime(9, 5, 3), "09:05:03"},
      {FormatLogTime(-1, -1, -1), "-1:-1:-1"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(RunFormat, SpeedAndTimeLeft) {
  EXPECT_DOUBLE_EQ(Speed(5, 2), 2.5);
  EXPECT_DOUBLE_EQ(Speed(5, 0), 0);  // no interval yet, no speed
  EXPECT_DOUBLE_EQ(RemainingSeconds(25, 10), 30);
  EXPECT_DOUBLE_EQ(RemainingSeconds(0, 10), 0);
  EXPECT_DOUBLE_EQ(RemainingSeconds(120, 10), 0);
}

TEST(RunFormat, LineNumbersCountOnAcrossCalls) {
  int first = NextLogLineNumber();
  EXPECT_EQ(NextLogLineNumber(), first + 1);
}
