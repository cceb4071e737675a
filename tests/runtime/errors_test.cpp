#include "runtime/errors.h"

#include <gtest/gtest.h>

namespace imgcrypt {
namespace {

TEST(InOutMessageTest, MessagesByCode) {
    EXPECT_EQ(InOutMessage(2), "File not found");
    EXPECT_EQ(InOutMessage(3), "Invalid filename");
    EXPECT_EQ(InOutMessage(4), "Too many open files");
    EXPECT_EQ(InOutMessage(5), "File access denied");
    EXPECT_EQ(InOutMessage(100), "Read beyond end of file");
    EXPECT_EQ(InOutMessage(101), "Disk full");
    EXPECT_EQ(InOutMessage(106), "Invalid numeric input");
    EXPECT_EQ(InOutMessage(32), "I/O error 32");
    EXPECT_EQ(InOutMessage(112), "I/O error 112");
    EXPECT_EQ(InOutMessage(0), "I/O error 0");
}

TEST(InOutErrorTest, CarriesCodeAndMessage) {
    const EInOutError error(32);
    EXPECT_EQ(error.code(), 32);
    EXPECT_STREQ(error.what(), "I/O error 32");
}

TEST(SystemErrorTextTest, HasNoTrailingFullStopOrBlanks) {
    for (int err = 1; err < 140; ++err) {
        const std::string text = SystemErrorText(err);
        ASSERT_FALSE(text.empty()) << err;
        const char last = text.back();
        EXPECT_TRUE(last != '.' && last != ' ' && last != '\n' && last != '\r') << err;
    }
}

TEST(DefaultHandlerTextTest, AddsFullStopUnlessEndingInOneOrALowerCode) {
    EXPECT_EQ(DefaultHandlerText("File not found"), "File not found.");
    EXPECT_EQ(DefaultHandlerText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(DefaultHandlerText("Done."), "Done.");
    EXPECT_EQ(DefaultHandlerText("Really!"), "Really!");  // '!' is below '.'
    EXPECT_EQ(DefaultHandlerText("(a)"), "(a)");
    EXPECT_EQ(DefaultHandlerText("a/"), "a/.");  // '/' is just above '.'
    EXPECT_EQ(DefaultHandlerText(""), ".");
    // UTF-8 text ends in a byte above 127: it gets the full stop.
    EXPECT_EQ(DefaultHandlerText("\xe5\xae\x8c\xe6\x88\x90"), "\xe5\xae\x8c\xe6\x88\x90.");
}

}  // namespace
}  // namespace imgcrypt
