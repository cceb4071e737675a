// Known answers from the RFCs: the library must agree with other
// implementations, not only with itself.
#include "codec/crypto.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/support/hex.h"

namespace imgcrypt {
namespace {

using test::AsBytes;
using test::FromHex;
using test::ToHex;

TEST(CryptoKnownAnswers, Argon2idOfRfc9106) {
    const std::vector<std::uint8_t> password(32, 0x01);
    const std::vector<std::uint8_t> salt(16, 0x02);
    const std::vector<std::uint8_t> secret(8, 0x03);
    const std::vector<std::uint8_t> associated(12, 0x04);
    std::array<std::uint8_t, 32> tag{};
    crypto::Argon2id(password, salt, {3, 32, 4}, secret, associated, tag);
    EXPECT_EQ(ToHex(tag), "0d640df58d78766c08c037a34a8b53c9d01ef0452d75b65eb52520e96b01e659");
}

TEST(CryptoKnownAnswers, HkdfSha256OfRfc5869) {
    const std::vector<std::uint8_t> ikm(22, 0x0b);
    std::vector<std::uint8_t> okm(42);
    crypto::HkdfSha256(ikm, FromHex("000102030405060708090a0b0c"), FromHex("f0f1f2f3f4f5f6f7f8f9"),
                       okm);
    EXPECT_EQ(
        ToHex(okm),
        "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865");
}

crypto::Nonce NonceOf(std::string_view hex) {
    crypto::Nonce nonce{};
    const std::vector<std::uint8_t> bytes = FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), nonce.begin());
    return nonce;
}

TEST(CryptoKnownAnswers, ChaCha20Poly1305SealOfRfc8439) {
    const std::vector<std::uint8_t> key =
        FromHex("808182838485868788898a8b8c8d8e8f909192939495969798999a9b9c9d9e9f");
    const std::string text =
        "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the "
        "future, sunscreen would be it.";
    std::vector<std::uint8_t> data(text.begin(), text.end());
    crypto::ChaCha20Poly1305 aead(std::span<const std::uint8_t, 32>(key.data(), 32));
    const crypto::Tag tag =
        aead.Seal(NonceOf("070000004041424344454647"), FromHex("50515253c0c1c2c3c4c5c6c7"), data);
    EXPECT_EQ(ToHex(data),
              "d31a8d34648e60db7b86afbc53ef7ec2a4aded51296e08fea9e2b5a736ee62d63dbea45e8ca9671282fa"
              "fb69da92728b1a71de0a9e060b2905d6a5b67ecd3b3692ddbd7f2d778b8c9803aee328091b58fab324e4"
              "fad675945585808b4831d7bc3ff4def08e4b7a9de576d26586cec64b6116");
    EXPECT_EQ(ToHex(tag), "1ae10b594f09e26a7e902ecbd0600691");
}

TEST(CryptoKnownAnswers, ChaCha20Poly1305OpenOfRfc8439AppendixA5) {
    const std::vector<std::uint8_t> key =
        FromHex("1c9240a5eb55d38af333888604f6b5f0473917c1402b80099dca5cbc207075c0");
    const crypto::Nonce nonce = NonceOf("000000000102030405060708");
    const std::vector<std::uint8_t> aad = FromHex("f33388860000000000004e91");
    const std::vector<std::uint8_t> sealed = FromHex(
        "64a0861575861af460f062c79be643bd5e805cfd345cf389f108670ac76c8cb24c6cfc18755d43eea09ee94e"
        "382d26b0bdb7b73c321b0100d4f03b7f355894cf332f830e710b97ce98c8a84abd0b948114ad176e008d33bd"
        "60f982b1ff37c8559797a06ef4f0ef61c186324e2b3506383606907b6a7c02b0f9f6157b53c867e4b9166c76"
        "7b804d46a59b5216cde7a4e99040c5a40433225ee282a1b0a06c523eaf4534d7f83fa1155b0047718cbc546a"
        "0d072b04b3564eea1b422273f548271a0bb2316053fa76991955ebd63159434ecebb4e466dae5a1073a67276"
        "27097a1049e617d91d361094fa68f0ff77987130305beaba2eda04df997b714d6c6f2c29a6ad5cb4022b0270"
        "9b");
    crypto::Tag tag{};
    const std::vector<std::uint8_t> tagBytes = FromHex("eead9d67890cbb22392336fea1851f38");
    std::copy(tagBytes.begin(), tagBytes.end(), tag.begin());
    crypto::ChaCha20Poly1305 aead(std::span<const std::uint8_t, 32>(key.data(), 32));

    std::vector<std::uint8_t> data = sealed;
    ASSERT_TRUE(aead.Open(nonce, aad, data, tag));
    const std::string text(data.begin(), data.end());
    EXPECT_EQ(text.size(), 265u);
    EXPECT_EQ(text.substr(0, 35), "Internet-Drafts are draft documents");
    EXPECT_NE(text.find("\xe2\x80\x9cwork in progress."), std::string::npos);

    // One changed bit anywhere, the tag or the associated data: refused,
    // and nothing of the plaintext is left behind.
    data = sealed;
    data[100] ^= 0x01;
    EXPECT_FALSE(aead.Open(nonce, aad, data, tag));
    EXPECT_EQ(data, std::vector<std::uint8_t>(data.size(), 0));
    data = sealed;
    crypto::Tag badTag = tag;
    badTag[15] ^= 0x80;
    EXPECT_FALSE(aead.Open(nonce, aad, data, badTag));
    data = sealed;
    EXPECT_FALSE(aead.Open(nonce, AsBytes("other"), data, tag));
}

}  // namespace
}  // namespace imgcrypt
