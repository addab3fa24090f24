#include "flight/GRecord.h"

#include <map>
#include <memory>
#include <random>
#include <sstream>

#include <gtest/gtest.h>
#include <openssl/bn.h>

#include "flight/TextLines.h"
#include "support/TestFiles.h"
#include "support/TrackGenerator.h"

namespace quorvanta {
namespace {

using Number = std::unique_ptr<BIGNUM, decltype(&BN_free)>;

Number hex(const std::string& text) {
  BIGNUM* value = nullptr;
  BN_hex2bn(&value, text.c_str());
  return Number(value, &BN_free);
}

Number dec(const std::string& text) {
  BIGNUM* value = nullptr;
  BN_dec2bn(&value, text.c_str());
  return Number(value, &BN_free);
}

std::vector<std::uint8_t> bytes(const BIGNUM* value) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(BN_num_bytes(value)));
  BN_bn2bin(value, out.data());
  return out;
}

// The published public key, as anyone outside the program would read it.
std::map<std::string, std::string> publicKey() {
  std::map<std::string, std::string> key;
  std::istringstream file(
      test::fileContent(std::string(QUORVANTA_SOURCE_DIR) + "/keys/grecord-public.txt"));
  for (std::string line; std::getline(file, line);) {
    if (line.size() > 2 && line[1] == '=') key[line.substr(0, 1)] = line.substr(2);
  }
  return key;
}

// DSA verification written directly against OpenSSL's big numbers.
bool independentlyValid(const std::string& content) {
  std::vector<std::string> gLines;
  std::istringstream lines(content);
  for (std::string line; std::getline(lines, line, '\r');) {
    if (!line.empty() && line.front() == '\n') line.erase(0, 1);
    if (line.starts_with("G")) gLines.push_back(line);
  }
  if (gLines.size() < 2) return false;
  auto key = publicKey();
  const Number p = dec(key["p"]), q = dec(key["q"]), g = dec(key["g"]), y = dec(key["y"]);
  const Number r = hex(gLines[gLines.size() - 2].substr(11)), s = hex(gLines.back().substr(11));
  const Sha1Digest digest = sha1(signedMessage(content));
  const Number H(BN_bin2bn(digest.data(), 20, nullptr), &BN_free);
  std::unique_ptr<BN_CTX, decltype(&BN_CTX_free)> ctx(BN_CTX_new(), &BN_CTX_free);
  Number w(BN_new(), &BN_free), a(BN_new(), &BN_free), b(BN_new(), &BN_free);
  BN_mod_inverse(w.get(), s.get(), q.get(), ctx.get());
  BN_mod_mul(a.get(), H.get(), w.get(), q.get(), ctx.get());
  BN_mod_mul(b.get(), r.get(), w.get(), q.get(), ctx.get());
  BN_mod_exp(a.get(), g.get(), a.get(), p.get(), ctx.get());
  BN_mod_exp(b.get(), y.get(), b.get(), p.get(), ctx.get());
  BN_mod_mul(a.get(), a.get(), b.get(), p.get(), ctx.get());
  BN_nnmod(a.get(), a.get(), q.get(), ctx.get());
  return BN_cmp(a.get(), r.get()) == 0;
}

TEST(GRecord, DeterministicKMatchesRfc6979) {
  // RFC 6979, A.2.1: DSA with a 160-bit q, SHA-1, message "sample".
  const Number q = hex("996F967F6C8E388D9E28D01E205FBA957A5698B1");
  const Number x = hex("411602CB19A6CCC34494D79D98EF1E7ED5AF25F7");
  const auto k = deterministicK(bytes(q.get()), bytes(x.get()), sha1("sample"));
  EXPECT_EQ(BN_cmp(hex("7BDB6B0FF756E1BB5D53583EF979082F9AD5BD5B").get(),
                   Number(BN_bin2bn(k.data(), static_cast<int>(k.size()), nullptr), &BN_free).get()),
            0);
}

TEST(GRecord, MessageCoversAllButGHoAndForeignLLines) {
  EXPECT_EQ(signedMessage("AXXX\r\nHFDTE150703\r\nHOPLTPILOT:X\r\nB1\r\nLXXX date\r\nL   Quorvanta title\r\nGABC\r\n"),
            "AXXX\nHFDTE150703\nB1\nL   Quorvanta title\n");
  EXPECT_EQ(signedMessage("AXXX\nB1\n"), "AXXX\nB1\n\n");  // LF only: one line
}

class GRecordFileTest : public ::testing::Test {
 protected:
  std::string signedFile(const std::string& content) {
    const std::string path = scratch.write("flight.igc", content);
    EXPECT_FALSE(SignIgcFile(path));
    return test::fileContent(path);
  }
  test::ScratchDir scratch;
  std::string flight = "AXXX001\r\nHFDTE150703\r\nHOPLTPILOT:Hans Muster\r\n" +
                       test::igcFile(test::generateTrack({.fixCount = 50})).substr(31) +
                       "L   Quorvanta: Streckenflug\r\nLXXX 2026-12-06\r\n";
};

TEST_F(GRecordFileTest, SignedFilesVerifyHereAndIndependently) {
  const std::string content = signedFile(flight);
  EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
  EXPECT_TRUE(independentlyValid(content));
  EXPECT_EQ(content.substr(0, flight.size()), flight);
  EXPECT_TRUE(content.ends_with("\r\n"));
}

TEST_F(GRecordFileTest, AnyFixChangeBreaksTheSignatureButPilotDetailsDoNot) {
  const std::string content = signedFile(flight);
  std::string changedFix = content;
  const auto b = changedFix.find("\r\nB") + 10;
  changedFix[b] = changedFix[b] == '0' ? '1' : '0';
  EXPECT_EQ(verifyGRecord(changedFix), GRecordCheck::Invalid);
  EXPECT_FALSE(independentlyValid(changedFix));

  std::string changedPilot = content;
  changedPilot.replace(changedPilot.find("Hans Muster"), 11, "Erika Musterfrau");
  changedPilot.insert(changedPilot.find("LXXX"), "LXXX another remark\r\n");
  EXPECT_EQ(verifyGRecord(changedPilot), GRecordCheck::Valid);
  EXPECT_TRUE(independentlyValid(changedPilot));
}

TEST_F(GRecordFileTest, SigningTwiceAppendsTheSameValidPair) {
  const std::string once = signedFile(flight);
  ASSERT_FALSE(SignIgcFile((scratch.path() / "flight.igc").string()));
  const std::string twice = test::fileContent((scratch.path() / "flight.igc").string());
  EXPECT_EQ(twice, once + once.substr(flight.size()));
  EXPECT_EQ(verifyGRecord(twice), GRecordCheck::Valid);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST_F(GRecordFileTest, OtherLineEndsAreSignedAsCrLf) {
  const std::string crLf = signedFile(flight);
  std::string bareCrAtEnd = flight;
  bareCrAtEnd.pop_back();
  const std::string unended = flight.substr(0, flight.size() - 2);
  for (const std::string& variant :
       {bareCrAtEnd, replaced(flight, "\r\n", "\r"), replaced(flight, "\r\n", "\n"), unended}) {
    const std::string content = signedFile(variant);
    EXPECT_EQ(content, crLf);
    EXPECT_EQ(verifyGRecord(content), GRecordCheck::Valid);
    EXPECT_TRUE(independentlyValid(content));
  }
}

// Any mix of line ends, empty lines and G, HO and L lines: the signed file
// verifies and reads back as the same lines followed by the G lines.
TEST(GRecord, EverySignedContentVerifies) {
  std::mt19937 random(12);
  const std::string pieces[] = {"\r", "\n", "\r\n", "B1", "G2", "HO3", "L4", "L   Quorvanta", "x"};
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1), length(0, 12);
  for (int round = 0; round < 300; ++round) {
    std::string content;
    for (std::size_t n = length(random); n > 0; --n) content += pieces[piece(random)];
    const std::string signedContent = withGRecord(content);
    ASSERT_EQ(verifyGRecord(signedContent), GRecordCheck::Valid) << testing::PrintToString(content);
    std::vector<std::string> lines = splitLines(signedContent);
    ASSERT_GE(lines.size(), 2u);
    lines.resize(lines.size() - 2);
    EXPECT_EQ(lines, splitLines(content)) << testing::PrintToString(content);
  }
}

TEST_F(GRecordFileTest, MissingOrMalformedRecords) {
  EXPECT_EQ(verifyGRecord(flight), GRecordCheck::Missing);
  EXPECT_EQ(verifyGRecord(flight + "GQuorvanta 12\r\nGQuorvanta XYZ\r\n"), GRecordCheck::Invalid);
  EXPECT_EQ(verifyGRecord(flight + "GOTHER 12\r\nGOTHER 34\r\n"), GRecordCheck::Invalid);
  EXPECT_TRUE(SignIgcFile((scratch.path() / "none" / "x.igc").string()));
}

}  // namespace
}  // namespace quorvanta
