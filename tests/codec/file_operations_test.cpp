#include "codec/file_operations.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "codec/password.h"
#include "runtime/errors.h"
#include "runtime/generator.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"
#include "tests/support/container_bytes.h"
#include "tests/support/container_oracle.h"
#include "tests/support/line_oracle.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

TEST(DecryptedName, SuffixFlagRemovesOneTrailingE) {
    EXPECT_EQ(DecryptedName("abc.JPGE", true), "abc.JPG");
    EXPECT_EQ(DecryptedName("abc.jpge", true), "abc.jpg");
    EXPECT_EQ(DecryptedName("abc.jpegE", true), "abc.jpeg");
    EXPECT_EQ(DecryptedName("abc.jpeg", true), "abc.jpeg");
    EXPECT_EQ(DecryptedName("abc.JPG", true), "abc.JPG");
    EXPECT_EQ(DecryptedName("abc.JPGEE", true), "abc.JPGE");
    EXPECT_EQ(DecryptedName("noteE", true), "note");
}

TEST(DecryptedName, WithoutFlagOnlyLongExtensionsLoseTheE) {
    EXPECT_EQ(DecryptedName("abc.JPGE", false), "abc.JPG");
    EXPECT_EQ(DecryptedName("abc.jpegE", false), "abc.jpeg");
    EXPECT_EQ(DecryptedName("abc.jpeg", false), "abc.jpeg");
    EXPECT_EQ(DecryptedName("abc.JPG", false), "abc.JPG");
    EXPECT_EQ(DecryptedName("abc.jpe", false), "abc.jpe");
    EXPECT_EQ(DecryptedName("abc.JPGEE", false), "abc.JPGE");
    EXPECT_EQ(DecryptedName("noteE", false), "noteE");
    // The last '.' counts, not the first.
    EXPECT_EQ(DecryptedName("a.b.JPG", false), "a.b.JPG");
    EXPECT_EQ(DecryptedName("a.jpeg.PNG", false), "a.jpeg.PNG");
    EXPECT_EQ(DecryptedName("a.b.PNGE", false), "a.b.PNG");
}

TEST(DecryptedName, NeverEmptiesTheName) {
    EXPECT_EQ(DecryptedName("E", true), "E");
    EXPECT_EQ(DecryptedName(".E", true), ".E");
    EXPECT_EQ(DecryptedName("..e", true), "..e");
}

TEST(OutputPaths, FolderDotsDoNotChangeTheName) {
    using test::NativePath;
    EXPECT_EQ(EncryptedOutputPath(NativePath("/p/my.photos/abc.JPG"), "encrypted", "E"),
              NativePath("/p/my.photos/encrypted/abc.JPGE"));
    EXPECT_EQ(EncryptedOutputPath(NativePath("/p/abc.JPG"), "已加密", ""),
              NativePath("/p/已加密/abc.JPG"));
    EXPECT_EQ(DecryptedOutputPath(NativePath("/p/my.photos/abc.JPG"), "decrypted", false),
              NativePath("/p/my.photos/decrypted/abc.JPG"));
    EXPECT_EQ(DecryptedOutputPath(NativePath("/p/my.photos/abc"), "decrypted", false),
              NativePath("/p/my.photos/decrypted/abc"));
    EXPECT_EQ(DecryptedOutputPath(NativePath("/p/x.y/abc.JPGE"), "decrypted", true),
              NativePath("/p/x.y/decrypted/abc.JPG"));
}

// A fresh folder per test, removed afterwards.
class FileOperations : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, std::string_view bytes) {
        return folder_.Write(name, bytes);
    }
    static std::string Read(const std::string& path) { return test::ReadBytes(path); }
    // `relative` may hold "/" between folders.
    std::string At(std::string_view relative) const { return folder_ / relative; }
    void MakeFolders(std::string_view relative) const { test::MakeFolders(At(relative)); }
    std::size_t EntriesIn(std::string_view relative) const {
        return test::Entries(At(relative)).size();
    }

    test::TempFolder folder_;
};

std::string RandomBytes(std::size_t n) {
    return test::RandomBytes(n, static_cast<unsigned>(n));
}

TEST_F(FileOperations, EncryptsAndDecryptsBackExactly) {
    for (EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        for (std::size_t n : {0u, 1u, 12u, 15u, 57u, 100u, 200000u}) {
            const std::string source = RandomBytes(n);
            const std::string path = Write("photos/pic.JPG", source);
            MakeFolders("photos/encrypted");
            MakeFolders("photos/encrypted/decrypted");
            const std::string container = encryption(path, {"Secret1", cls, "E", "encrypted"});
            EXPECT_EQ(container, At("photos/encrypted/pic.JPGE"));
            EXPECT_EQ(Read(path), source) << "source untouched";
            const std::string back = decryption(container, true, "decrypted");
            EXPECT_EQ(back, At("photos/encrypted/decrypted/pic.JPG"));
            EXPECT_EQ(Read(back), source) << n;
            EXPECT_EQ(EntriesIn("photos/encrypted/decrypted"), 1u);
        }
    }
}

TEST_F(FileOperations, ContainerFileIsExactlyTheBuiltContainer) {
    const std::string source = RandomBytes(1000);
    const std::string path = Write("a/pic.png", source);
    MakeFolders("a/enc");
    SetGeneratorState(0);
    const std::string out = encryption(path, {"abcde", EncryptionClass::High, "", "enc"});
    SetGeneratorState(0);
    EXPECT_EQ(Read(out), test::MakeContainerFile(source, "abcde", EncryptionClass::High));
    EXPECT_EQ(out, At("a/enc/pic.png"));
}

TEST_F(FileOperations, SameNameRoundTripWithoutSuffix) {
    const std::string path = Write("f/abc.jpeg", "some image bytes here");
    MakeFolders("f/encrypted/decrypted");
    const std::string container =
        encryption(path, {"abcde", EncryptionClass::Standard, "", "encrypted"});
    const std::string back = decryption(container, false, "decrypted");
    EXPECT_EQ(PathName(back), "abc.jpeg");
    EXPECT_EQ(Read(back), "some image bytes here");
}

TEST_F(FileOperations, MissingSourceRaisesOpenErrorAndKeepsExistingOutput) {
    MakeFolders("enc");
    Write("enc/gone.jpg", "older container");
    EXPECT_THROW(encryption(At("gone.jpg"), {"abcde", EncryptionClass::Standard, "", "enc"}),
                 EFOpenError);
    EXPECT_EQ(Read(At("enc/gone.jpg")), "older container");
    EXPECT_EQ(EntriesIn("enc"), 1u);
}

TEST_F(FileOperations, MissingOutputFolderRaisesInvalidFilename) {
    const std::string path = Write("pic.jpg", "bytes");
    try {
        encryption(path, {"abcde", EncryptionClass::Standard, "", "encrypted"});
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), 3);
    }
    EXPECT_EQ(folder_.Entries().size(), 1u);
}

TEST_F(FileOperations, FailedWriteLeavesNoTemporaryFiles) {
    const std::string path = Write("pic.jpg", "bytes");
    // The output name is taken by a folder that is not empty: the final
    // rename fails after the temporary file was written.
    MakeFolders("enc/pic.jpg/inner");
    EXPECT_THROW(encryption(path, {"abcde", EncryptionClass::Standard, "", "enc"}), EInOutError);
    EXPECT_EQ(EntriesIn("enc"), 1u);

    MakeFolders("enc2");
    const std::string container =
        encryption(path, {"abcde", EncryptionClass::Standard, "", "enc2"});
    MakeFolders("enc2/dec/pic.jpg/inner");
    EXPECT_THROW(decryption(container, false, "dec"), EFCreateError);
    EXPECT_EQ(EntriesIn("enc2/dec"), 1u);
}

TEST_F(FileOperations, DecryptionErrors) {
    EXPECT_THROW(decryption(At("missing.jpg"), false, "dec"), EInOutError);
    const std::string path = Write("c.jpg", "QUJD");
    EXPECT_THROW(decryption(path, false, "no-such-folder"), EFCreateError);
}

TEST_F(FileOperations, ForeignFileStillDecryptsToWhateverItHolds) {
    const std::string path = Write("note.txt", "not a container at all");
    MakeFolders("dec");
    const std::string out = decryption(path, false, "dec");
    EXPECT_TRUE(test::Exists(out));
}

TEST_F(FileOperations, ProbeTellsClassAndPassword) {
    const std::string path = Write("p/pic.jpg", RandomBytes(3000));
    MakeFolders("p/enc");
    const std::string high = encryption(path, {"Abc!e", EncryptionClass::High, "E", "enc"});
    const std::string standard = encryption(path, {"Abc!e", EncryptionClass::Standard, "", "enc"});

    ProbeResult r = decryption1(high, "Abc!e");
    EXPECT_TRUE(r.isContainer);
    EXPECT_TRUE(r.highLevel);
    EXPECT_TRUE(r.passwordMatch);
    r = decryption1(standard, "abc!e");
    EXPECT_TRUE(r.isContainer);
    EXPECT_FALSE(r.highLevel);
    EXPECT_FALSE(r.passwordMatch);
}

TEST_F(FileOperations, ProbeNeverFailsOnContent) {
    for (const std::string& content : {std::string(), std::string("x"), std::string("short****"),
                                       std::string("\0\0\0", 3), RandomBytes(10000)}) {
        const std::string path = Write("f.bin", content);
        ProbeResult r;
        ASSERT_NO_THROW(r = decryption1(path, "abcde"));
        EXPECT_FALSE(r.passwordMatch);
    }
    const ProbeResult empty = decryption1(Write("empty", ""), "abcde");
    EXPECT_FALSE(empty.isContainer);
    EXPECT_TRUE(decryption1(Write("s", "short****"), "abcde").isContainer);
    EXPECT_THROW(decryption1(At("missing"), "abcde"), EFOpenError);
}

bool operator==(const ProbeResult& a, const ProbeResult& b) {
    return a.isContainer == b.isContainer && a.highLevel == b.highLevel &&
           a.passwordMatch == b.passwordMatch;
}

// The command line probes and decrypts each file through one ContainerFile.
// A NUL (which ends the probe's text) or a byte 26 (which ends the
// decoder's) in the unread middle of a large file changes the answers; the
// first look cannot know, and the decoding must say so before it writes.
TEST_F(FileOperations, ContainerFileAnswersAndWritesAsTheOperationsDo) {
    const std::string source = RandomBytes(300000);  // larger than a piece
    const std::string password = "Abc!e";
    int round = 0;
    for (const EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::string plain = test::MakeContainerFile(source, password, cls);
        const std::size_t middle = plain.size() / 2;
        struct Variant {
            const char* what;
            std::string bytes;
        };
        const Variant variants[] = {
            {"plain", plain},
            {"NUL in the middle", plain.substr(0, middle) + '\0' + plain.substr(middle)},
            {"byte 26 in the middle", plain.substr(0, middle) + '\x1a' + plain.substr(middle)},
            {"NUL near the start", plain.substr(0, 100) + '\0' + plain.substr(100)},
            {"byte 26 near the end", plain.substr(0, plain.size() - 50) + '\x1a'},
            {"trailer cut off", plain.substr(0, plain.size() - 12)},
        };
        for (const Variant& v : variants) {
            SCOPED_TRACE(std::string(v.what) + " class " + std::to_string(static_cast<int>(cls)));
            const std::string path = Write("c.jpg", v.bytes);
            const std::string dec = "dec" + std::to_string(round++);
            MakeFolders(dec);
            const std::string text = test::JoinedLoadedLines(v.bytes);
            const ProbeResult expected{Recognise(text).isContainer, Recognise(text).highLevel,
                                       PasswordMatches(text, password)};
            EXPECT_TRUE(decryption1(path, password) == expected);

            ContainerFile container(path);
            const ProbeResult first = container.Probe(password);
            const bool wasFinal = container.ProbeIsFinal();
            if (wasFinal) {
                EXPECT_TRUE(first == expected);
            }
            std::optional<std::string> out = container.Decrypt(false, dec);
            if (!out) {
                EXPECT_FALSE(wasFinal);
                EXPECT_EQ(EntriesIn(dec), 0u) << "nothing written before the answer is final";
                EXPECT_TRUE(container.FinalProbe(password) == expected);
                out = container.Decrypt(false, dec);
                ASSERT_TRUE(out.has_value());
            }
            EXPECT_TRUE(container.FinalProbe(password) == expected);
            EXPECT_EQ(Read(*out), test::ReferenceDecodeContainerFile(v.bytes));
            EXPECT_EQ(decryption(path, false, dec), *out);
            EXPECT_EQ(Read(*out), test::ReferenceDecodeContainerFile(v.bytes));
            if (std::string_view(v.what) == "plain") {
                EXPECT_FALSE(wasFinal) << "a plain large container is read once";
                EXPECT_EQ(Read(*out), source);
            }
        }
    }
}

// A large container's decrypted file has its room set aside for the size
// the writer's layout gives; when damage makes the size another, the file
// must still hold exactly the bytes decoded.
TEST_F(FileOperations, LargeContainersDecryptExactlyWhateverTheirLayout) {
    const std::string source = RandomBytes(1'500'000);
    for (const EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::string plain = test::MakeContainerFile(source, "Abc!e", cls);
        // Four line breaks more: a size guessed from the layout is then too
        // large, and the file is cut back. A stray character as well.
        std::string breaks = plain;
        breaks.insert(breaks.size() / 2, "\r\n\r\n");
        std::string broken;
        for (std::size_t at = 0; at < plain.size(); at += 1000)
            broken += plain.substr(at, 1000) + "\r\n";
        broken.insert(broken.size() / 2, 1, '!');
        for (const std::string& bytes : {plain, breaks, broken}) {
            const std::string path = Write("big.jpg", bytes);
            MakeFolders("dec");
            EXPECT_EQ(Read(decryption(path, false, "dec")),
                      test::ReferenceDecodeContainerFile(bytes));
        }
    }
}

// The probe reads only the ends of the joined lines; it must decide exactly
// as it would on the whole joined text, whatever line breaks and NULs stand
// where.
TEST_F(FileOperations, ProbeDecidesAsOnTheWholeJoinedText) {
    std::mt19937 gen(7);
    using namespace std::string_literals;
    const std::string alphabet = "\r\n\0\x1a*@ABab01"s;  // NUL ends the text, byte 26 does not
    for (int round = 0; round < 400; ++round) {
        std::string content;
        const std::size_t n = gen() % 90;
        for (std::size_t i = 0; i < n; ++i) content += alphabet[gen() % alphabet.size()];
        if (round % 3 == 0) content += "\r\n****";
        const std::string text = test::JoinedLoadedLines(content);
        const std::string typed = text.size() >= 20 ? ReadPassword(text) : "ABab0";
        const ProbeResult r = decryption1(Write("p.bin", content), typed);
        EXPECT_EQ(r.isContainer, Recognise(text).isContainer) << round;
        EXPECT_EQ(r.highLevel, Recognise(text).highLevel) << round;
        EXPECT_EQ(r.passwordMatch, PasswordMatches(text, typed)) << round;
    }
}

}  // namespace
}  // namespace imgcrypt
