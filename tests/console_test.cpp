#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "case_name.h"
#include "launcher.h"
#include "stream_capture.h"

namespace {

struct HandlerCase {
    const char* name;
    OutputHandler handler;
    const char* text;
    std::string expectedOut;
    std::string expectedErr;
    int32_t expectedResult;
};

const HandlerCase handlerCases[] = {
    {"PrintEmpty", consolePrintHandler, "", "", "", 0},
    {"ErrorEmpty", consoleErrorHandler, "", "", "", 0},
    {"PrintNull", consolePrintHandler, nullptr, "", "", 0},
    {"ErrorNull", consoleErrorHandler, nullptr, "", "", 0},
    {"PrintAddsNoLineFeed", consolePrintHandler, "abc", "abc", "", 3},
    {"PrintKeepsItsLineFeed", consolePrintHandler, "abc\n", "abc\n", "", 4},
    {"ErrorCompletesTheLine", consoleErrorHandler, "abc", "", "abc\n", 4},
    {"ErrorKeepsAFinalLineFeed", consoleErrorHandler, "abc\n", "", "abc\n", 4},
    {"ErrorLoneLineFeed", consoleErrorHandler, "\n", "", "\n", 1},
    {"ErrorAfterCarriageReturn", consoleErrorHandler, "abc\r", "", "abc\r\n", 5},
    {"ErrorInnerLineFeedOnly", consoleErrorHandler, "a\nb", "", "a\nb\n", 4},
    {"PrintOddBytes", consolePrintHandler, "\xFF\x01\x7F\r\n\xC3(", "\xFF\x01\x7F\r\n\xC3(", "", 7},
    {"ErrorOddBytes", consoleErrorHandler, "\xFF\x01\x1B[0m", "", "\xFF\x01\x1B[0m\n", 7},
};

class HandlerTable : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(HandlerTable, WritesExactlyTheseBytes)
{
    const HandlerCase& c = GetParam();
    int32_t result = -2;
    const CapturedStreams streams = captureStreams([&] { result = c.handler(c.text); });

    EXPECT_EQ(streams.out, c.expectedOut);
    EXPECT_EQ(streams.err, c.expectedErr);
    EXPECT_EQ(result, c.expectedResult);
}

INSTANTIATE_TEST_SUITE_P(Console, HandlerTable, ::testing::ValuesIn(handlerCases), CaseName());

TEST(ConsoleHandlers, SuccessivePrintsJoinOnOneLine)
{
    const CapturedStreams streams = captureStreams([] {
        consolePrintHandler("a");
        consolePrintHandler("b");
    });
    EXPECT_EQ(streams.out, "ab");
    EXPECT_EQ(streams.err, "");
}

TEST(ConsoleHandlers, ALargeTextPassesWhole)
{
    std::string text(3 * 1024 * 1024 + 7, 'x');
    for (std::size_t i = 0; i < text.size(); i += 4093) {
        text[i] = static_cast<char>(0x80 + i % 0x7F);
    }
    int32_t printed = 0;
    int32_t errored = 0;
    const CapturedStreams streams = captureStreams([&] {
        printed = consolePrintHandler(text.c_str());
        errored = consoleErrorHandler(text.c_str());
    });
    EXPECT_EQ(printed, static_cast<int32_t>(text.size()));
    EXPECT_EQ(errored, static_cast<int32_t>(text.size() + 1));
    EXPECT_TRUE(streams.out == text);
    EXPECT_TRUE(streams.err == text + "\n");
}

struct FailingCase {
    const char* name;
    int descriptor;
    Failure failure;
};

const FailingCase failingCases[] = {
    {"OutputClosed", STDOUT_FILENO, Failure::closed},
    {"OutputFull", STDOUT_FILENO, Failure::full},
    {"OutputReaderGone", STDOUT_FILENO, Failure::readerGone},
    {"ErrorClosed", STDERR_FILENO, Failure::closed},
    {"ErrorFull", STDERR_FILENO, Failure::full},
    {"ErrorReaderGone", STDERR_FILENO, Failure::readerGone},
};

class FailingHandler : public ::testing::TestWithParam<FailingCase> {
protected:
    // As the launcher does before a run: a reader that goes away fails the
    // write instead of ending this process.
    void SetUp() override { prepareProcess(); }
};

TEST_P(FailingHandler, ReportsTheLossOnlyInItsCount)
{
    const FailingCase& c = GetParam();
    const OutputHandler handler =
        c.descriptor == STDOUT_FILENO ? consolePrintHandler : consoleErrorHandler;
    // Standard output is buffered: a text larger than its buffer meets the
    // descriptor inside the call. Standard error writes through at once.
    const std::string large(1 << 20, 'x');
    int32_t shortText = -2;
    int32_t largeText = -2;
    withFailingDescriptor(c.descriptor, c.failure, [&] {
        shortText = handler("abc");
        largeText = handler(large.c_str());
    });

    EXPECT_LT(largeText, static_cast<int32_t>(large.size()));
    EXPECT_GE(largeText, 0);
    if (c.descriptor == STDERR_FILENO) {
        EXPECT_EQ(shortText, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Console, FailingHandler, ::testing::ValuesIn(failingCases), CaseName());

}  // namespace
