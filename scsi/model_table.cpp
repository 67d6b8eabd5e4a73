// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/model_table.h"

#include <cstring>

namespace zentor::scsi {

// Product identifications exactly as the drives report INQUIRY bytes 16..31, blanks included.
// Besides the drive models, the rows hold the identities under which drives answer once
// they are in update mode, so a drive left in that state is still listed. A few rows repeat
// an earlier one; the walk stops at the first match, so that does no harm.
const ModelRecord ModelTable[] = {
    {"CD-RW KX1210A   "},  // 0
    {"CD-RW KX1220A   "},  // 1
    {"CD-RW KX1420A   "},  // 2
    {"CD-RW KX1620A   "},  // 3
    {"CD-RW KX2040A   "},  // 4
    {"CD-RW KX2120A   "},  // 5
    {"CD-RW KX2420A   "},  // 6
    {"CD-RW KX3240A   "},  // 7
    {"CD-RW KX4012A   "},  // 8
    {"CD-RW KX4016A   "},  // 9
    {"CD-RW KX4120A   "},  // 10
    {"CD-RW KX4240A   "},  // 11
    {"CD-RW KX4260A   "},  // 12
    {"CD-RW KX4320A   "},  // 13
    {"CD-RW KX4420A   "},  // 14
    {"CD-RW KX4840A   "},  // 15
    {"CD-RW KX5120A   "},  // 16
    {"CD-RW KX5125A   "},  // 17
    {"CD-RW KX5160A   "},  // 18
    {"CD-RW KX5240A   "},  // 19
    {"CD-RW KX6240A   "},  // 20
    {"CD-RW KX7040A   "},  // 21
    {"CD-RW KX7060A   "},  // 22
    {"CD-RW KX7080A   "},  // 23
    {"CD-RW KX7120A   "},  // 24
    {"CD-RW KX7200A   "},  // 25
    {"CD-RW KX7240A   "},  // 26
    {"CD-RW KX7260A   "},  // 27
    {"KX-LOADER A0    "},  // 28
    {"KX-LOADER A1    "},  // 29
    {"KX-LOADER B2    "},  // 30
    {"KX-LOADER C3    "},  // 31
    {"KX-LOADER D1    "},  // 32
    {"CD-RW KX1620A   "},  // 33
    {"DVD/CDRW KX8001 "},  // 34
    {"DVD/CDRW KX8012 "},  // 35
    {"DVD/CDRW KX8016 "},  // 36
    {"DVD/CDRW KX8024 "},  // 37
    {"DVD/CDRW KX8032 "},  // 38
    {"DVD/CDRW KX8040 "},  // 39
    {"DVD/CDRW KX8052 "},  // 40
    {"DVD/CDRW KX8060 "},  // 41
    {"DVD/CDRW KX8120 "},  // 42
    {"DVD/CDRW KX8124 "},  // 43
    {"DVD/CDRW KX8140 "},  // 44
    {"DVD/CDRW KX8160 "},  // 45
    {"DVD/CDRW KX8240 "},  // 46
    {"DVD/CDRW KX8320 "},  // 47
    {"DVD/CDRW KX8360 "},  // 48
    {"DVD/CDRW KX8420 "},  // 49
    {"DVD/CDRW KX8440 "},  // 50
    {"DVD/CDRW KX8480 "},  // 51
    {"DVD/CDRW KX8520 "},  // 52
    {"DVD/CDRW KX8540 "},  // 53
    {"DVD/CDRW KX8580 "},  // 54
    {"DVD/CDRW KX8620 "},  // 55
    {"DVD/CDRW KX8640 "},  // 56
    {"DVD/CDRW KX8660 "},  // 57
    {"DVD/CDRW KX8680 "},  // 58
    {"DVD/CDRW KX8720 "},  // 59
    {"KX-LOADER E4    "},  // 60
    {"KX-LOADER E5    "},  // 61
    {"DVD/CDRW KX8016 "},  // 62
    {"DVD+RW KX4410B  "},  // 63
    {"DVD+RW KX4420B  "},  // 64
    {"DVD+RW KX4430B  "},  // 65
    {"DVD+RW KX4440B  "},  // 66
    {"DVD+RW KX4460B  "},  // 67
    {"DVD+RW KX4480B  "},  // 68
    {"DVD+RW KX4510B  "},  // 69
    {"DVD+RW KX4520B  "},  // 70
    {"DVD+RW KX4530B  "},  // 71
    {"DVD+RW KX4540B  "},  // 72
    {"DVD+RW KX4560B  "},  // 73
    {"DVD+RW KX4580B  "},  // 74
    {"DVD+RW KX4610B  "},  // 75
    {"DVD+RW KX4620B  "},  // 76
    {"DVD+RW KX4640B  "},  // 77
    {"DVD+RW KX4660B  "},  // 78
    {"DVD+RW KX4680B  "},  // 79
    {"DVD+RW KX4720B  "},  // 80
    {"DVD+RW KX4740B  "},  // 81
    {"DVD+RW KX4760B  "},  // 82
    {"DVD+RW KX4780B  "},  // 83
    {"DVD+RW KX4820B  "},  // 84
    {"DVD+RW KX4840B  "},  // 85
    {"DVD+RW KX4860B  "},  // 86
    {"DVD+RW KX4880B  "},  // 87
    {"DVD+RW KX4900B  "},  // 88
    {"KX-LOADER F6    "},  // 89
    {"KX-LOADER G7    "},  // 90
    {"DVD+RW KX4410B  "},  // 91
    {""},                  // end of table
};

bool IsSupportedModel(std::span<const std::uint8_t, 16> productId, const ModelRecord* table) {
  for (const ModelRecord* record = table; record->productId[0] != '\0'; ++record) {
    if (std::memcmp(record->productId, productId.data(), productId.size()) == 0) return true;
  }
  return false;
}

}  // namespace zentor::scsi
