// SPDX-License-Identifier: GPL-2.0-or-later
// The request a 64-bit Windows driver reads, built from the program's own request region,
// against literal bytes; and the driver's answer copied back.
#include "platform/windows/native_pass_through.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zentor::platform::windows {
namespace {

TEST(NativePassThrough, TakesEveryFieldIntoThe64BitLayoutAndCopiesTheAnswerBack) {
  // An INQUIRY for 36 bytes as the program sends it: header, sense area at 48, data at 80.
  std::vector<std::uint8_t> request(80 + 36, 0xAA);
  PassThroughHeader header{44, 0xFF, 0, 0, 0, 6, 14, kDataIn, {}, 36, 2, 80, 48, {0x12, 0, 0, 0, 36}};
  std::memcpy(request.data(), &header, sizeof header);
  const auto view = ViewPassThrough(request);
  ASSERT_TRUE(view);

  std::vector<std::uint8_t> native = BuildNativeRequest(*view);
  const std::vector<std::uint8_t> head = {
      0x38, 0, 0xFF, 0, 0, 0, 6, 14, 1, 0, 0, 0,  // Length 56 .. DataIn, padding
      36, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,        // DataTransferLength, TimeOutValue, padding
      88, 0, 0, 0, 0, 0, 0, 0, 56, 0, 0, 0,       // DataBufferOffset (8 bytes), SenseInfoOffset
      0x12, 0, 0, 0, 36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // Cdb, padding
  ASSERT_EQ(native.size(), 88u + 36u);
  EXPECT_EQ(std::vector(native.begin(), native.begin() + 56), head);
  EXPECT_EQ(std::vector(native.begin() + 56, native.begin() + 88), std::vector<std::uint8_t>(32, 0));

  // The driver answers CHECK CONDITION with 14 sense bytes (ASC 0x3A at 12) and 8 of the
  // 36 data bytes moved.
  native[2] = 0x02;
  native[7] = 14;
  native[12] = 8;
  native[56] = 0x70;
  native[56 + 12] = 0x3A;
  for (std::size_t i = 0; i < 36; ++i) native[88 + i] = static_cast<std::uint8_t>(i + 1);
  CopyNativeOutcome(native, request, *view);
  EXPECT_EQ(request[2], 0x02);
  EXPECT_EQ(request[7], 14);
  EXPECT_EQ(request[12], 8);
  std::vector<std::uint8_t> sense(14, 0);
  sense[0] = 0x70;
  sense[12] = 0x3A;
  EXPECT_EQ(std::vector(request.begin() + 48, request.begin() + 62), sense);
  EXPECT_EQ(request[80], 1);
  EXPECT_EQ(request[87], 8);
  EXPECT_EQ(request[88], 0xAA) << "only the moved bytes come back";
}

}  // namespace
}  // namespace zentor::platform::windows
