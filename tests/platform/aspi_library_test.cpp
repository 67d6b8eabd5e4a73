// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/aspi_library.h"

#include <gtest/gtest.h>

#include "platform/linux/eventfd_event.h"

namespace zentor::platform::linux_os {
namespace {

TEST(AspiLibrary, LoadsBothEntryPointsAndCompletesARequestThroughItsEvent) {
  auto load = LoadAspiLibrary(ZENTOR_TEST_ASPI_LIBRARY);
  ASSERT_EQ(load.failure, AspiLoad::Failure::None);
  ASSERT_NE(load.manager, nullptr);
  EXPECT_EQ(load.manager->GetASPI32SupportInfo(), 0x0103u);

  auto event = EventFdEvent::Create();
  ASSERT_NE(event, nullptr);
  std::uint8_t data[36] = {};
  AspiExecRequest request{};
  request.commandCode = kAspiExecuteScsi;
  request.flags = kAspiDirectionIn | kAspiEventNotify;
  request.bufferLength = sizeof data;
  request.bufferPointer = data;
  request.senseLength = 16;
  request.cdbLength = 6;
  request.cdb[0] = 0x12;
  request.cdb[4] = 36;
  request.postProcedure = event->PostHandle();

  EXPECT_EQ(load.manager->SendASPI32Command(&request), kAspiPending);
  ASSERT_TRUE(event->Wait(5000)) << "the manager's thread signals the eventfd";
  EXPECT_EQ(request.status, kAspiDone);
  EXPECT_EQ(std::string(data + 16, data + 29), "CD-RW KX1210A");
}

}  // namespace
}  // namespace zentor::platform::linux_os
