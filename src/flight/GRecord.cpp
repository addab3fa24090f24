#include "flight/GRecord.h"

#include <memory>

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "flight/FileContent.h"
#include "flight/GRecordKeys.h"
#include "flight/TextLines.h"

namespace quorvanta {

namespace {

constexpr std::string_view Prefix = "GQuorvanta ";

using Bytes = std::vector<std::uint8_t>;
using Number = std::unique_ptr<BIGNUM, decltype(&BN_free)>;
using Context = std::unique_ptr<BN_CTX, decltype(&BN_CTX_free)>;

Number number() { return Number(BN_new(), &BN_free); }

Number decimal(const char* text) {
  BIGNUM* parsed = nullptr;
  BN_dec2bn(&parsed, text);
  return Number(parsed, &BN_free);
}

Number fromBytes(const std::uint8_t* data, std::size_t size) {
  return Number(BN_bin2bn(data, static_cast<int>(size), nullptr), &BN_free);
}
Number fromBytes(const Bytes& bytes) { return fromBytes(bytes.data(), bytes.size()); }

// Big-endian bytes, `size` of them (padded with zeros), or the shortest form.
Bytes toBytes(const BIGNUM* value, int size = 0) {
  Bytes bytes(static_cast<std::size_t>(size > 0 ? size : BN_num_bytes(value)));
  if (size > 0) {
    BN_bn2binpad(value, bytes.data(), size);
  } else {
    BN_bn2bin(value, bytes.data());
  }
  return bytes;
}

std::string hexText(const Bytes& bytes) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t byte : bytes) {
    text += Digits[byte >> 4];
    text += Digits[byte & 15];
  }
  return text;
}

Bytes hmacSha1(const Bytes& key, const Bytes& data) {
  Bytes out(EVP_MAX_MD_SIZE);
  unsigned int size = 0;
  HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), data.data(), data.size(), out.data(), &size);
  out.resize(size);
  return out;
}

Bytes joined(std::initializer_list<const Bytes*> parts, std::initializer_list<std::uint8_t> separator = {}) {
  Bytes all;
  bool first = true;
  for (const Bytes* part : parts) {
    all.insert(all.end(), part->begin(), part->end());
    if (first) all.insert(all.end(), separator.begin(), separator.end());
    first = false;
  }
  return all;
}

bool signedLine(std::string_view line) {
  if (line.starts_with("L   Quorvanta")) return true;
  return !(line.starts_with("G") || line.starts_with("HO") || line.starts_with("L"));
}

// The lines as the reader sees them, each ended with CR LF as the program
// writes them. Otherwise a bare CR at the end, followed by the G lines, would
// read back as one more (empty) signed line.
std::string withCrLfLineEnds(std::string_view content) {
  std::string normalised;
  normalised.reserve(content.size() + content.size() / 16);
  for (const std::string& line : splitLines(content)) (normalised += line) += "\r\n";
  return normalised;
}

struct Keys {
  Number p = decimal(grecord::P), q = decimal(grecord::Q), g = decimal(grecord::G);
};

}  // namespace

std::string signedMessage(std::string_view fileContent) {
  std::string message;
  for (const std::string& line : crLines(fileContent)) {
    if (signedLine(line)) (message += line) += '\n';
  }
  return message;
}

Sha1Digest sha1(std::string_view bytes) {
  Sha1Digest digest{};
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha1(), nullptr);
  return digest;
}

std::vector<std::uint8_t> deterministicK(const Bytes& qBytes, const Bytes& xBytes,
                                         const Sha1Digest& digest) {
  const Number q = fromBytes(qBytes);
  const int qBits = BN_num_bits(q.get());
  const int size = (qBits + 7) / 8;
  Context ctx(BN_CTX_new(), &BN_CTX_free);
  // bits2int: the leftmost qBits bits of a byte string.
  const auto bitsToInt = [&](const std::uint8_t* data, std::size_t bytes) {
    Number value = fromBytes(data, bytes);
    const int extra = static_cast<int>(bytes) * 8 - qBits;
    if (extra > 0) BN_rshift(value.get(), value.get(), extra);
    return value;
  };
  const Bytes x = toBytes(fromBytes(xBytes).get(), size);
  Number reduced = bitsToInt(digest.data(), digest.size());
  BN_nnmod(reduced.get(), reduced.get(), q.get(), ctx.get());
  const Bytes h = toBytes(reduced.get(), size);

  Bytes V(20, 0x01), K(20, 0x00);
  K = hmacSha1(K, joined({&V, &x, &h}, {0x00}));
  V = hmacSha1(K, V);
  K = hmacSha1(K, joined({&V, &x, &h}, {0x01}));
  V = hmacSha1(K, V);
  for (;;) {
    Bytes T;
    while (static_cast<int>(T.size()) < size) {
      V = hmacSha1(K, V);
      T.insert(T.end(), V.begin(), V.end());
    }
    const Number k = bitsToInt(T.data(), T.size());
    if (!BN_is_zero(k.get()) && BN_cmp(k.get(), q.get()) < 0) return toBytes(k.get());
    const Bytes none;
    K = hmacSha1(K, joined({&V, &none}, {0x00}));
    V = hmacSha1(K, V);
  }
}

std::string withGRecord(std::string_view original) {
  std::string fileContent = withCrLfLineEnds(original);
  const Sha1Digest digest = sha1(signedMessage(fileContent));

  const Keys keys;
  const Number x = decimal(grecord::X);
  Context ctx(BN_CTX_new(), &BN_CTX_free);
  const Number k = fromBytes(deterministicK(toBytes(keys.q.get()), toBytes(x.get()), digest));
  const Number H = fromBytes(digest.data(), digest.size());
  Number r = number(), s = number(), xr = number(), kInverse = number();
  BN_mod_exp(r.get(), keys.g.get(), k.get(), keys.p.get(), ctx.get());
  BN_nnmod(r.get(), r.get(), keys.q.get(), ctx.get());
  BN_mod_mul(xr.get(), x.get(), r.get(), keys.q.get(), ctx.get());
  BN_add(s.get(), H.get(), xr.get());
  BN_nnmod(s.get(), s.get(), keys.q.get(), ctx.get());
  BN_mod_inverse(kInverse.get(), k.get(), keys.q.get(), ctx.get());
  BN_mod_mul(s.get(), kInverse.get(), s.get(), keys.q.get(), ctx.get());

  for (const BIGNUM* value : {r.get(), s.get()}) {
    fileContent += Prefix;
    fileContent += hexText(toBytes(value));
    fileContent += "\r\n";
  }
  return fileContent;
}

std::optional<std::string> SignIgcFile(const std::string& path) {
  std::string text;
  if (auto failure = readWholeFile(path, text)) return failure;
  return writeWholeFile(path, withGRecord(text));
}

GRecordCheck verifyGRecord(std::string_view fileContent) {
  std::vector<std::string> gLines;
  for (const std::string& line : crLines(fileContent)) {
    if (line.starts_with("G")) gLines.push_back(line);
  }
  if (gLines.size() < 2) return GRecordCheck::Missing;
  const auto parse = [](const std::string& line) {
    Number value = number();
    if (!line.starts_with(Prefix) || line.size() == Prefix.size()) return Number(nullptr, &BN_free);
    BIGNUM* parsed = value.release();
    if (BN_hex2bn(&parsed, line.c_str() + Prefix.size()) != static_cast<int>(line.size() - Prefix.size())) {
      BN_free(parsed);
      return Number(nullptr, &BN_free);
    }
    return Number(parsed, &BN_free);
  };
  const Number r = parse(gLines[gLines.size() - 2]);
  const Number s = parse(gLines.back());
  const Keys keys;
  if (!r || !s || BN_is_zero(r.get()) || BN_is_zero(s.get()) || BN_cmp(r.get(), keys.q.get()) >= 0 ||
      BN_cmp(s.get(), keys.q.get()) >= 0) {
    return GRecordCheck::Invalid;
  }
  const Sha1Digest digest = sha1(signedMessage(fileContent));
  const Number H = fromBytes(digest.data(), digest.size());
  const Number y = decimal(grecord::Y);
  Context ctx(BN_CTX_new(), &BN_CTX_free);
  Number w = number(), u1 = number(), u2 = number(), v1 = number(), v2 = number();
  BN_mod_inverse(w.get(), s.get(), keys.q.get(), ctx.get());
  BN_mod_mul(u1.get(), H.get(), w.get(), keys.q.get(), ctx.get());
  BN_mod_mul(u2.get(), r.get(), w.get(), keys.q.get(), ctx.get());
  BN_mod_exp(v1.get(), keys.g.get(), u1.get(), keys.p.get(), ctx.get());
  BN_mod_exp(v2.get(), y.get(), u2.get(), keys.p.get(), ctx.get());
  BN_mod_mul(v1.get(), v1.get(), v2.get(), keys.p.get(), ctx.get());
  BN_nnmod(v1.get(), v1.get(), keys.q.get(), ctx.get());
  return BN_cmp(v1.get(), r.get()) == 0 ? GRecordCheck::Valid : GRecordCheck::Invalid;
}

}  // namespace quorvanta
