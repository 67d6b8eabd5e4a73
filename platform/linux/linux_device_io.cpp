// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_device_io.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/linux/device_path.h"
#include "platform/linux/drive_lock.h"
#include "platform/linux/mounted_disc.h"
#include "platform/linux/sg_io_translation.h"
#include "platform/pass_through_request.h"

namespace zentor::platform::linux_os {
namespace {

// Read and write access is what vendor commands need. O_NONBLOCK lets an open succeed on a
// drive without a disc (or in update mode) instead of waiting for the medium, and makes a
// generic node's read(2) return at once when no answer is there yet.
constexpr int kOpenFlags = O_RDWR | O_NONBLOCK | O_CLOEXEC;

bool IsPermissionError(int error) {
  return error == EACCES || error == EPERM;
}

}  // namespace

std::optional<std::string> LinuxDeviceIo::GenericNodeOf(const std::string& blockNode) {
  const auto folder = GenericNodeFolderOf(blockNode);
  if (!folder) return std::nullopt;
  for (const std::string& entry : syscalls_.ListDirectory(*folder)) {
    if (entry.starts_with("sg")) return "/dev/" + entry;
  }
  return std::nullopt;
}

std::vector<std::string> LinuxDeviceIo::SystemNodes(const std::string& name) {
  const auto path = DevicePathFor(name);
  if (!path) return {};
  std::vector<std::string> nodes = {*path};
  if (const auto generic = GenericNodeOf(*path)) nodes.push_back(*generic);
  return nodes;
}

DeviceHandle LinuxDeviceIo::OpenDevice(const std::string& name) {
  const auto path = DevicePathFor(name);
  return path ? OpenPath(*path, false).device : kNoDevice;
}

// The claim has parts for holders the others miss. The drive lock stops every other copy of
// this program, whichever node it took, before it opens anything. A drive whose disc is
// mounted is refused next: its file system would read from a drive running its loader. A
// generic node that another program holds exclusively refuses the open (EBUSY), and the
// block node is then not tried, since it reaches the same drive. /dev/srN is opened with
// O_EXCL, refused while another program holds it exclusively; held so, it keeps out the
// programs that ask for it alone (burners do) until the update ends. The generic node is
// not opened with O_EXCL: the sg driver would then refuse every other open of it, and on a
// machine without the CD-ROM driver other programs, this one's drive list among them, could
// no longer see the drive at all; a program that asks the generic node for itself is
// refused while the update has it open, all the same.
DeviceClaim LinuxDeviceIo::ClaimDevice(const std::string& name) {
  const auto path = DevicePathFor(name);
  if (!path) return {};
  auto lock = std::make_unique<DriveLock>(*path);
  if (lock->heldElsewhere()) return {kNoDevice, DriveInUse{*path, false}};
  if (const auto mounted = MountedBlockNodeOf(*path)) {
    return {kNoDevice, DriveInUse{*mounted, true}};
  }
  DeviceClaim claim = OpenPath(*path, true);
  if (claim.device != kNoDevice) open_[static_cast<int>(claim.device)].lock = std::move(lock);
  return claim;
}

DeviceClaim LinuxDeviceIo::OpenPath(const std::string& path, bool claiming) {
  // Only /dev/srN has a generic node of its own; the drive-letter names are generic nodes.
  const bool isBlockNode = GenericNodeFolderOf(path).has_value();
  const auto generic = GenericNodeOf(path);
  if (generic) {
    const int fd = syscalls_.Open(generic->c_str(), kOpenFlags);
    if (fd >= 0) {
      open_[fd] = {*generic, true, {}};
      return {fd, std::nullopt};
    }
    // Held by another program: its block node would reach the same drive, so a claim ends
    // here. A plain open (the scan) goes on to the block node, which still answers.
    if (errno == EBUSY && claiming) return {kNoDevice, DriveInUse{*generic, false}};
    NoteRefusedNode(errno, *generic);
  }
  const int fd =
      syscalls_.Open(path.c_str(), claiming && isBlockNode ? kOpenFlags | O_EXCL : kOpenFlags);
  if (fd < 0) {
    if (errno == EBUSY && claiming) return {kNoDevice, DriveInUse{path, false}};
    NoteRefusedNode(errno, path);
    return {};
  }
  open_[fd] = {path, !isBlockNode, generic.value_or("")};
  // A generic node refused above but a block node that opened: the refusal that matters
  // is the one of the commands, if any comes.
  if (generic) std::erase(refusals_.refusedNodes, *generic);
  return {fd, std::nullopt};
}

bool LinuxDeviceIo::SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) {
  auto view = ViewPassThrough(request);
  const auto node = open_.find(static_cast<int>(device));
  if (!view || node == open_.end()) return false;
  sg_io_hdr io = ToSgIo(*view);
  const int fd = static_cast<int>(device);
  if (node->second.generic ? !SubmitAndCollect(fd, &io) : syscalls_.Ioctl(fd, SG_IO, &io) < 0) {
    const int error = errno;
    if (!node->second.generic && IsPermissionError(error) && !refusals_.refusedCommands) {
      refusals_.refusedCommands = {node->second.path, node->second.genericPath};
    }
    if ((error == ENODEV || error == ENXIO) && !lost_) {
      lost_ = LostDrive{node->second.path, std::strerror(error)};
    }
    NoteIfDeleted(node->second.path);
    return false;
  }

  NormaliseSense(io, *view);
  const std::uint8_t status = ScsiStatusOf(io);
  if (status == kScsiStatusNotReached) NoteIfDeleted(node->second.path);
  StoreScsiStatus(request, status);
  const int moved = static_cast<int>(io.dxfer_len) - io.resid;
  StoreTransferred(request, moved > 0 ? static_cast<std::uint32_t>(moved) : 0,
                   static_cast<std::uint8_t>(view->sense.size()));
  return true;
}

// A command sent while the kernel deletes its device (unplugged, powered off, its target gone)
// comes back with an adapter error such as DID_ERROR, and no ENODEV: only the device's state
// tells. The kernel never takes a device back out of "cancel" or "deleted".
void LinuxDeviceIo::NoteIfDeleted(const std::string& path) {
  const auto folder = ScsiDeviceFolderOf(path);
  if (lost_ || !folder) return;
  const int fd = syscalls_.Open((*folder + "/state").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) lost_ = LostDrive{path, "the kernel has deleted it"};
    return;
  }
  char text[16] = {};
  const ssize_t length = syscalls_.Read(fd, text, sizeof text - 1);
  syscalls_.Close(fd);
  std::string state(text, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
  if (state.ends_with('\n')) state.pop_back();
  if (state == "cancel" || state == "deleted")
    lost_ = LostDrive{path, "the kernel is deleting it, state " + state};
}

// One request in flight per handle: the answer read back is the one just submitted. A
// submission that fails is not repeated (it may have gone out); a collection is repeated
// for as long as the answer is merely not there yet or a signal cut the wait, since the
// kernel ends every command, at the latest by its time-out. A device that goes away ends
// the collection with an error.
bool LinuxDeviceIo::SubmitAndCollect(int fd, void* io) {
  if (syscalls_.Write(fd, io, sizeof(sg_io_hdr)) != static_cast<ssize_t>(sizeof(sg_io_hdr))) {
    return false;
  }
  while (true) {
    pollfd ready{fd, POLLIN, 0};
    if (syscalls_.Poll(&ready, 1, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (syscalls_.Read(fd, io, sizeof(sg_io_hdr)) == static_cast<ssize_t>(sizeof(sg_io_hdr))) {
      return true;
    }
    if (errno == EINTR) continue;
    // Nothing there yet although poll said so: only a device that is going away does this.
    if (errno == EAGAIN && !(ready.revents & (POLLERR | POLLHUP | POLLNVAL))) continue;
    return false;
  }
}

void LinuxDeviceIo::NoteRefusedNode(int error, const std::string& path) {
  if (IsPermissionError(error) &&
      std::ranges::find(refusals_.refusedNodes, path) == refusals_.refusedNodes.end()) {
    refusals_.refusedNodes.push_back(path);
  }
}

void LinuxDeviceIo::CloseDevice(DeviceHandle device) {
  if (device == kNoDevice) return;
  // The node, and with it a claim's drive lock, goes after the descriptor: no other update
  // may start while this one still has the drive open.
  const auto node = open_.extract(static_cast<int>(device));
  syscalls_.Close(static_cast<int>(device));
}

}  // namespace zentor::platform::linux_os
