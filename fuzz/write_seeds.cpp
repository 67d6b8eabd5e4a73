// Writes the seed inputs of the fuzz targets: small stored and plain files of the shapes
// the program meets. Run from the repository root: build-fuzz/fuzz/write_seeds fuzz/corpus
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "firmware/packed_image.h"

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
  const auto emptyBody = PackImage(ImageBytes(kImageSize, 0xFF));
  const auto family8 = PackImage(Image("KXR83"));
  const auto family6 = PackImage(Image("KXR60"));
  const ImageBytes family5 = Image("KXR45");
  Write(root / "unpack_image" / "empty_body", *emptyBody);
  Write(root / "unpack_image" / "one_block", *family8);
  Write(root / "file_recognition" / "family8_packed", *family8);
  Write(root / "file_recognition" / "family6_packed", *family6);
  Write(root / "file_recognition" / "family5_window", std::span(family5).first(0x8004 + 36));
  return 0;
}
