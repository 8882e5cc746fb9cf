#include "des.h"

#include <gtest/gtest.h>

// The low-level DES calls are deprecated in OpenSSL 3 but remain the simplest oracle.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>

#include <cstdio>
#include <random>
#include <string>

using namespace lumora;

namespace {

DesBytes fromHex(const std::string& hex) {
    DesBytes bytes{};
    for (std::size_t i = 0; i < 8; ++i)
        bytes[i] = std::uint8_t(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

std::string toHex(const DesBytes& bytes) {
    std::string hex;
    char digits[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        hex += digits;
    }
    return hex;
}

DesBytes opensslBlock(const DesBytes& key, const DesBytes& block) {
    DES_cblock k;
    DES_cblock in;
    DES_cblock out;
    std::copy(key.begin(), key.end(), k);
    std::copy(block.begin(), block.end(), in);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&k, &schedule);
    DES_ecb_encrypt(&in, &out, &schedule, DES_ENCRYPT);
    DesBytes result{};
    std::copy(std::begin(out), std::end(out), result.begin());
    return result;
}

// Zero padding and hex written out independently of the code under test.
std::string opensslHex(const std::string& plain, const DesBytes& key) {
    std::string padded = plain.empty() ? std::string(8, '\0') : plain;
    padded.resize((padded.size() + 7) / 8 * 8, '\0');
    std::string hex;
    for (std::size_t i = 0; i < padded.size(); i += 8) {
        DesBytes block{};
        std::copy_n(padded.begin() + std::ptrdiff_t(i), 8, block.begin());
        hex += toHex(opensslBlock(key, block));
    }
    return hex;
}

std::string randomBytes(std::mt19937& rng, std::size_t length) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text(length, '\0');
    for (char& c : text)
        c = char(byte(rng));
    return text;
}

struct KnownAnswer {
    const char* key;
    const char* plain;
    const char* cipher;
};

} // namespace

TEST(DesBlock, PublishedKnownAnswers) {
    const KnownAnswer cases[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
        // Variable plaintext, key with only parity bits set.
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
        {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
        {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
        {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
        // Variable key, plaintext zero.
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
        {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
        {"2001010101010101", "0000000000000000", "7AD16FFB79C45926"},
    };
    for (const KnownAnswer& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.plain);
        const DesBytes result = DesBlock(DesKeySchedule(fromHex(c.key)), fromHex(c.plain));
        EXPECT_EQ(toHex(result), c.cipher);
    }
}

TEST(DesBlock, MatchesOpensslOnRandomKeysAndBlocks) {
    std::mt19937 rng(20170101);
    for (int i = 0; i < 2000; ++i) {
        const std::string keyBytes = randomBytes(rng, 8);
        const std::string blockBytes = randomBytes(rng, 8);
        DesBytes key{};
        DesBytes block{};
        std::copy(keyBytes.begin(), keyBytes.end(), key.begin());
        std::copy(blockBytes.begin(), blockBytes.end(), block.begin());
        ASSERT_EQ(toHex(DesBlock(DesKeySchedule(key), block)), toHex(opensslBlock(key, block)))
            << "key " << toHex(key) << " block " << toHex(block);
    }
}

TEST(EncryptHex, MatchesOpensslOnRandomTextsAndKeys) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<std::size_t> length(0, 40);
    for (int i = 0; i < 500; ++i) {
        const std::string keyText = randomBytes(rng, length(rng));
        const std::string plain = randomBytes(rng, length(rng));
        ASSERT_EQ(EncryptHex(plain, keyText), opensslHex(plain, MakeDesKey(keyText)))
            << "case " << i;
    }
}

TEST(EncryptHex, LengthGrowsByBlocksOfSixteenDigits) {
    const struct {
        std::size_t textLength;
        std::size_t digits;
    } cases[] = {{0, 16}, {1, 16}, {7, 16}, {8, 16}, {9, 32}, {16, 32}, {17, 48}};
    for (const auto& c : cases)
        EXPECT_EQ(EncryptHex(std::string(c.textLength, 'x'), ProgrammeKey).size(), c.digits)
            << c.textLength;
}

TEST(EncryptHex, PadsWithZerosAndTreatsEmptyTextAsOneZeroBlock) {
    EXPECT_EQ(EncryptHex("", ProgrammeKey), EncryptHex(std::string(8, '\0'), ProgrammeKey));
    EXPECT_EQ(EncryptHex("1234567", ProgrammeKey),
              EncryptHex(std::string("1234567\0", 8), ProgrammeKey));
    EXPECT_NE(EncryptHex("1234567", ProgrammeKey), EncryptHex("12345670", ProgrammeKey));
}

TEST(MakeDesKey, AddsEachCharacterToBytePositionModuloEight) {
    EXPECT_EQ(toHex(MakeDesKey("")), "0000000000000000");
    EXPECT_EQ(toHex(MakeDesKey("A")), "0041000000000000");
    // Character 8 lands in byte 0; eight characters fill each byte once.
    EXPECT_EQ(toHex(MakeDesKey("ABCDEFGH")), "4841424344454647");
    // Characters 8 and 16 both land in byte 0, 9 joins 1 in byte 1.
    EXPECT_EQ(toHex(MakeDesKey(std::string(7, '\0') + "\x01" + std::string(7, '\0') + "\x02")),
              "0300000000000000");
    EXPECT_EQ(toHex(MakeDesKey(std::string("\x10") + std::string(7, '\0') + "\x20")),
              "0030000000000000");
    // Sums wrap at 8 bits.
    EXPECT_EQ(toHex(MakeDesKey(std::string("\xFF") + std::string(7, '\0') + "\x02")),
              "0001000000000000");
    // The programme key: byte 1 holds characters 1, 9 and 17, every other byte two.
    EXPECT_EQ(toHex(MakeDesKey(ProgrammeKey)), "7CCEA39F717D517C");
}

TEST(EncryptHex, IgnoresTheParityBitsOfTheDerivedKey) {
    const std::string key = "ABCDEFGH";
    for (std::size_t i = 0; i < key.size(); ++i) {
        std::string parityFlipped = key;
        parityFlipped[i] = char(parityFlipped[i] ^ 0x01);
        EXPECT_EQ(EncryptHex("20170101", parityFlipped), EncryptHex("20170101", key)) << i;
        std::string keyBitFlipped = key;
        keyBitFlipped[i] = char(keyBitFlipped[i] ^ 0x02);
        EXPECT_NE(EncryptHex("20170101", keyBitFlipped), EncryptHex("20170101", key)) << i;
    }
}

#pragma GCC diagnostic pop
