#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"

namespace imgcrypt {
namespace {

CliOptions Parse(std::vector<std::string_view> args) {
    return ParseCommandLine(args);
}

std::string UsageErrorOf(std::vector<std::string_view> args) {
    try {
        Parse(args);
    } catch (const EUsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(CommandLineParsing, EncryptDefaultsAndFileOrder) {
    const CliOptions o = Parse({"encrypt", "b.jpg", "a.jpg", "b.jpg"});
    EXPECT_EQ(o.command, CliCommand::Encrypt);
    EXPECT_EQ(o.cls, EncryptionClass::Standard);
    EXPECT_FALSE(o.suffixE);
    EXPECT_TRUE(o.english);
    EXPECT_FALSE(o.passwordFile.has_value());
    EXPECT_FALSE(o.force);
    EXPECT_EQ(o.files, (std::vector<std::string>{"b.jpg", "a.jpg", "b.jpg"}));
}

TEST(CommandLineParsing, OptionValuesInBothSpellingsAndAnyPosition) {
    const CliOptions e = Parse({"encrypt", "x.png", "--class", "high", "--suffix=E", "--lang", "ch",
                                "--password-file=pw.txt", "y.png"});
    EXPECT_EQ(e.cls, EncryptionClass::High);
    EXPECT_TRUE(e.suffixE);
    EXPECT_FALSE(e.english);
    EXPECT_EQ(e.passwordFile, "pw.txt");
    EXPECT_EQ(e.files, (std::vector<std::string>{"x.png", "y.png"}));

    const CliOptions d = Parse({"decrypt", "--force", "--suffix", "e", "--lang=en", "x"});
    EXPECT_EQ(d.command, CliCommand::Decrypt);
    EXPECT_TRUE(d.force);
    EXPECT_TRUE(d.suffixE);
    EXPECT_TRUE(d.english);

    // The last of repeated options wins.
    EXPECT_EQ(Parse({"encrypt", "--class", "high", "--class", "standard", "x"}).cls,
              EncryptionClass::Standard);
}

TEST(CommandLineParsing, DoubleDashAndLoneDashAreFiles) {
    const CliOptions o = Parse({"probe", "-", "--", "--force", "-h", "plain"});
    EXPECT_EQ(o.files, (std::vector<std::string>{"-", "--force", "-h", "plain"}));
    EXPECT_EQ(o.command, CliCommand::Probe);
}

TEST(CommandLineParsing, HelpAndVersion) {
    EXPECT_EQ(Parse({"--help"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"help"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"-h"}).command, CliCommand::Help);
    // Help wins over other mistakes on the same line.
    EXPECT_EQ(Parse({"encrypt", "--bogus", "-h"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"decrypt", "--help"}).command, CliCommand::Help);
    EXPECT_EQ(Parse({"--version"}).command, CliCommand::Version);

    const std::string help = HelpText();
    for (std::string_view part :
         {"encrypt", "decrypt", "probe", "--class", "--suffix", "--lang", "--password-file",
          "--check-password", "--force", "Exit status", "base64", "not cryptography", "5000 KB"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}

TEST(CommandLineParsing, WhichCommandsNeedAPassword) {
    EXPECT_TRUE(Parse({"encrypt", "x"}).NeedsPassword());
    EXPECT_TRUE(Parse({"decrypt", "x"}).NeedsPassword());
    EXPECT_FALSE(Parse({"probe", "x"}).NeedsPassword());
    EXPECT_TRUE(Parse({"probe", "--check-password", "x"}).NeedsPassword());
    EXPECT_TRUE(Parse({"probe", "--password-file", "pw", "x"}).NeedsPassword());
}

TEST(CommandLineParsing, UsageErrorsSayWhatIsWrong) {
    struct Case {
        std::vector<std::string_view> args;
        std::string_view expected;  // part of the message
    };
    const std::vector<Case> cases = {
        {{}, "missing command"},
        {{"shred", "x"}, "unknown command 'shred'"},
        {{"--class", "high", "encrypt", "x"}, "must come first"},
        {{"encrypt"}, "missing FILE"},
        {{"encrypt", "--class", "high"}, "missing FILE"},
        {{"encrypt", "--bogus", "x"}, "unknown option '--bogus'"},
        {{"encrypt", "x", "--class"}, "--class needs a value"},
        {{"encrypt", "--class", "ultra", "x"}, "invalid value 'ultra' for --class"},
        {{"encrypt", "--suffix", "X", "x"}, "invalid value 'X' for --suffix"},
        {{"decrypt", "--lang", "fr", "x"}, "invalid value 'fr' for --lang"},
        {{"decrypt", "--class", "high", "x"}, "--class does not apply to decrypt"},
        {{"encrypt", "--force", "x"}, "--force does not apply to encrypt"},
        {{"encrypt", "--check-password", "x"}, "--check-password does not apply to encrypt"},
        {{"probe", "--lang", "ch", "x"}, "--lang does not apply to probe"},
        {{"probe", "--suffix", "E", "x"}, "--suffix does not apply to probe"},
        {{"decrypt", "--force=yes", "x"}, "--force takes no value"},
        {{"encrypt", "--password-file=", "x"}, "--password-file needs a file name"},
        // The password never comes from the command line.
        {{"encrypt", "--password", "secret", "x"}, "unknown option '--password'"},
    };
    for (const Case& c : cases) {
        const std::string message = UsageErrorOf(c.args);
        EXPECT_NE(message.find(c.expected), std::string::npos)
            << "expected '" << c.expected << "', got '" << message << "'";
    }
}

}  // namespace
}  // namespace imgcrypt
