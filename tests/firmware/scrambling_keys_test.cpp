#include "firmware/scrambling_keys.h"
#include "scsi/model_table.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace zentor::firmware {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", byte);
    text += digits;
  }
  return text;
}

std::string Sha256(std::span<const std::uint8_t> bytes) {
  std::uint8_t digest[32];
  unsigned int length = 0;
  EXPECT_EQ(EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr), 1);
  return Hex({digest, length});
}

// The keys' check values are the ones published with the product data: stored files from
// other builds can be read only if every key byte is the same. The model records' value was
// taken from the product data's list (its 92 records of 16 characters, one after the other):
// one wrong character hides a drive from the list, or lists one that must not be flashed.
TEST(ProductData, MatchesItsDigests) {
  std::vector<std::uint8_t> all(AdditiveKey.begin(), AdditiveKey.end());
  for (const auto& table : BlockKey)
    all.insert(all.end(), table.begin(), table.end());
  ASSERT_EQ(all.size(), 4352u);
  std::vector<std::uint8_t> models;
  for (const scsi::ModelRecord* record = scsi::ModelTable; record->productId[0]; ++record)
    models.insert(models.end(), record->productId, record->productId + 16);
  ASSERT_EQ(models.size(), 92u * 16);

  struct Case {
    const char* name;
    std::span<const std::uint8_t> bytes;
    const char* firstBytes;
    const char* sha256;
  };
  const Case cases[] = {
      {"all", all, "82f21185cdf322ba",
       "d73961c9dd20c8ac21429ccdb09fa69b329128ef307c5e34f37aa0944df8ae41"},
      {"AdditiveKey", AdditiveKey, "82f21185cdf322ba",
       "d3e3ae8cfef2a9ccde94164e8f11e833e1726181991eb077dea072cd17544f8e"},
      {"BlockKey 0", BlockKey[0], "e392e681dfc021d4",
       "237643bddd499c339505a16a405cc93fa7114903182a0e0d3fe0c955f8bf4616"},
      {"BlockKey 1", BlockKey[1], "e4a3a0491aa85db1",
       "6a852079b6ca6dd3bc8a7bbd28aa11fbd6445c9c2a8d22b9f3149cb872e60411"},
      {"BlockKey 2", BlockKey[2], "8d0405c966f58428",
       "f069350569fc8bae69219244d87048d777e9deeb6ab702c9afeaac9ae33ebd65"},
      {"BlockKey 3", BlockKey[3], "9e70ac88a4c1ef70",
       "fbb8cbe6e2b9294150e79b396424cdbab688c742ec32fede45b7d2b821bd8140"},
      {"ModelTable", models, "43442d5257204b58",
       "2d050c2dbe9a662a00655ec276964a688636ebe8db0e7399e15f454975c6d984"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(c.bytes.first(8)), c.firstBytes);
    EXPECT_EQ(Sha256(c.bytes), c.sha256);
  }
}

}  // namespace
}  // namespace zentor::firmware
