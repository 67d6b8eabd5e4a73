// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the seed inputs of the fuzz targets: small stored and plain files of the shapes
// the program meets. Run from the repository root: build-fuzz/fuzz/write_seeds fuzz/corpus
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "firmware/packed_image.h"
#include "scsi/drive_label.h"
#include "scsi/model_table.h"

using namespace zentor::firmware;

namespace {

void Write(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// An erased image with a head of zeros and an identification header at 0x8004.
ImageBytes Image(const char* code) {
  ImageBytes image(kImageSize, 0xFF);
  std::fill(image.begin(), image.begin() + 0x4000, 0);
  const std::string header = std::string(code) + std::string(6 - std::strlen(code), '\0') +
                             "SEEDFILE 0123456789ABCDEF 2026";
  std::copy(header.begin(), header.end(), image.begin() + 0x8004);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_ROOT\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  for (const char* target : {"unpack_image", "file_recognition", "image_loading", "drive_label",
                             "inquiry_scan"})
    std::filesystem::create_directories(root / target);
  const auto emptyBody = PackImage(ImageBytes(kImageSize, 0xFF));
  const auto family8 = PackImage(Image("KXR83"));
  const auto family6 = PackImage(Image("KXR60"));
  const ImageBytes family5 = Image("KXR45");
  Write(root / "unpack_image" / "empty_body", *emptyBody);
  Write(root / "unpack_image" / "one_block", *family8);
  Write(root / "file_recognition" / "family8_packed", *family8);
  Write(root / "file_recognition" / "family6_packed", *family6);
  Write(root / "file_recognition" / "family5_window", std::span(family5).first(0x8004 + 36));

  // Loading: drive family, name choice, row choice, then the file.
  const auto prefixed = [](std::vector<std::uint8_t> prefix, std::span<const std::uint8_t> file) {
    prefix.insert(prefix.end(), file.begin(), file.end());
    return prefix;
  };
  Write(root / "image_loading" / "family8_vrl", prefixed({8, 0, 0}, *family8));
  const ImageBytes family7 = Image("KXR70");
  Write(root / "image_loading" / "family7_bin", prefixed({7, 2, 0}, std::span(family7).first(0x9000)));
  Write(root / "image_loading" / "family5_vrl", prefixed({5, 0, 0}, std::span(family5).first(0x9000)));

  // Labels: transport, host adapter, target, device number, then the text.
  const auto text = [](int kind, const std::string& label) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(kind), 1, 2, 3};
    bytes.insert(bytes.end(), label.begin(), label.end());
    return bytes;
  };
  const std::string identity = "VAREL   CD-RW KX4840A   1.00";
  Write(root / "drive_label" / "aspi", text(0, "HA:12 ID:7  " + identity));
  Write(root / "drive_label" / "drive_letter", text(1, "drive3 :  " + identity));
  Write(root / "drive_label" / "cdrom", text(2, "cdrom10 :  " + identity));

  // INQUIRY answers: a supported drive in full, and one cut inside its product field.
  std::vector<std::uint8_t> inquiry(36, ' ');
  inquiry[0] = 0x05;
  inquiry[1] = 0x80;
  inquiry[2] = inquiry[3] = inquiry[5] = inquiry[6] = inquiry[7] = 0;
  inquiry[4] = 31;
  std::copy_n("VAREL   ", 8, inquiry.begin() + 8);
  std::copy_n(zentor::scsi::ModelTable[0].productId, 16, inquiry.begin() + 16);
  std::copy_n("1.00", 4, inquiry.begin() + 32);
  Write(root / "inquiry_scan" / "supported", inquiry);
  Write(root / "inquiry_scan" / "cut_short", std::span(inquiry).first(24));
  return 0;
}
