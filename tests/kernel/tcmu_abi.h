// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The TCMU ring's layout as the kernel's C header gives it. That header does not compile as
// C++, so the few accesses the server needs live in C (tcmu_abi.c).

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { kTcmuMaxIovecs = 64 };

// The entry at the ring's tail, taken apart. kind: 0 the ring is empty, 1 a SCSI command,
// 2 an entry that needs no answer (padding, task management).
struct TcmuEntry {
  int kind;
  const uint8_t* cdb;
  size_t iovecCount;
  uint8_t* iovecBase[kTcmuMaxIovecs];
  size_t iovecLength[kTcmuMaxIovecs];
};

struct TcmuEntry TcmuTailEntry(uint8_t* map);

// Writes the answer into the tail entry (a command's) and moves the tail past it.
void TcmuAnswerTail(uint8_t* map, uint8_t status, const uint8_t* sense, size_t senseLength,
                    int dataIn, uint32_t dataInLength);
// Moves the tail past an entry that needs no answer.
void TcmuSkipTail(uint8_t* map);

#ifdef __cplusplus
}
#endif
