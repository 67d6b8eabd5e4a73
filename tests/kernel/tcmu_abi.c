// SPDX-License-Identifier: GPL-2.0-or-later
#define _GNU_SOURCE
#include <linux/target_core_user.h>
#include <string.h>

#include "tcmu_abi.h"

static struct tcmu_mailbox* Mailbox(uint8_t* map) {
  return (struct tcmu_mailbox*)map;
}

static struct tcmu_cmd_entry* Tail(uint8_t* map) {
  struct tcmu_mailbox* mailbox = Mailbox(map);
  return (struct tcmu_cmd_entry*)(map + mailbox->cmdr_off + mailbox->cmd_tail);
}

struct TcmuEntry TcmuTailEntry(uint8_t* map) {
  struct TcmuEntry view;
  memset(&view, 0, sizeof view);
  struct tcmu_mailbox* mailbox = Mailbox(map);
  if (__atomic_load_n(&mailbox->cmd_head, __ATOMIC_ACQUIRE) == mailbox->cmd_tail) return view;
  struct tcmu_cmd_entry* entry = Tail(map);
  if (tcmu_hdr_get_op(entry->hdr.len_op) != TCMU_OP_CMD) {
    view.kind = 2;
    return view;
  }
  view.kind = 1;
  view.cdb = map + entry->req.cdb_off;
  for (uint32_t i = 0; i < entry->req.iov_cnt && i < kTcmuMaxIovecs; ++i) {
    // iov_base is an offset into the mapping.
    view.iovecBase[i] = map + (size_t)entry->req.iov[i].iov_base;
    view.iovecLength[i] = entry->req.iov[i].iov_len;
    view.iovecCount = i + 1;
  }
  return view;
}

void TcmuSkipTail(uint8_t* map) {
  struct tcmu_mailbox* mailbox = Mailbox(map);
  const uint32_t length = tcmu_hdr_get_len(Tail(map)->hdr.len_op);
  __atomic_store_n(&mailbox->cmd_tail, (mailbox->cmd_tail + length) % mailbox->cmdr_size,
                   __ATOMIC_RELEASE);
}

void TcmuAnswerTail(uint8_t* map, uint8_t status, const uint8_t* sense, size_t senseLength,
                    int dataIn, uint32_t dataInLength) {
  struct tcmu_cmd_entry* entry = Tail(map);
  entry->rsp.scsi_status = status;
  memset(entry->rsp.sense_buffer, 0, sizeof entry->rsp.sense_buffer);
  if (senseLength > sizeof entry->rsp.sense_buffer) senseLength = sizeof entry->rsp.sense_buffer;
  if (senseLength) memcpy(entry->rsp.sense_buffer, sense, senseLength);
  if (dataIn && (Mailbox(map)->flags & TCMU_MAILBOX_FLAG_CAP_READ_LEN)) {
    entry->hdr.uflags |= TCMU_UFLAG_READ_LEN;
    entry->rsp.read_len = dataInLength;
  }
  TcmuSkipTail(map);
}
