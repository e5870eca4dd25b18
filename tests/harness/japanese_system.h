// The system most of our users run, for the Windows tests of the Japanese pass: the check that
// the ANSI code page is 932, and Japanese texts as its windows and rule files hold them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

// For the SetUp of each such test: on another system it fails, so the pass cannot quietly run
// in code page 1252, where every Shift_JIS text is a different string of bytes.
inline ::testing::AssertionResult OnJapaneseSystem() {
  if (GetACP() == 932) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the ANSI code page is " << GetACP()
         << ", not 932: this test runs in the Japanese pass (Wine with LANG=ja_JP.UTF-8)";
}

// One text in the two encodings a test meets: Shift_JIS bytes for rule files, window titles
// and ANSI command lines; UTF-8 for what the tools print to a pipe.
struct JapaneseText {
  const char* shiftJis;
  const char* utf8;
};

// A rule: "期間限定" (limited time).
const JapaneseText kLimitedTime = {"\x8A\xFA\x8A\xD4\x8C\xC0\x92\xE8", "期間限定"};
// An advertisement: the rule in the middle, half-width katakana (one byte each) on both sides.
const JapaneseText kSaleTitle = {
    "\x8D\xA1\x82\xBE\x82\xAF\xBE\xB0\xD9\x8A\xFA\x8A\xD4\x8C\xC0\x92\xE8\xBE\xB0\xD9\x92\x86",
    "今だけｾｰﾙ期間限定ｾｰﾙ中"};
// An ordinary window: "今日の天気" (today's weather), without the rule.
const JapaneseText kWeatherTitle = {"\x8D\xA1\x93\xFA\x82\xCC\x93\x56\x8B\x43", "今日の天気"};
