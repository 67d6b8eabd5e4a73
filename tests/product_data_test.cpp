// SPDX-License-Identifier: GPL-2.0-or-later
// The product's constant data, each table and every text the user reads pinned by one
// SHA-256. A digest here changes only on purpose, in the commit that changes its table.
#include <gtest/gtest.h>
#include <iconv.h>
#include <openssl/evp.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include "firmware/file_error_text.h"
#include "firmware/image_scrambling.h"
#include "firmware/loader_table.h"
#include "firmware/packed_image.h"
#include "firmware/scrambling_keys.h"
#include "firmware/type_code_table.h"
#include "resources/dialog_template.h"
#include "scsi/model_table.h"
#include "ui/control_ids.h"
#include "ui/message_catalogue.h"
#include "ui/drive_in_use_notice.h"
#include "ui/permission_notice.h"

namespace zentor {
namespace {

using resources::TemplateLanguage;

std::string Sha256(std::string_view bytes) {
  unsigned char digest[32];
  unsigned int length = 0;
  EXPECT_EQ(EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr), 1);
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", digest[i]);
    text += digits;
  }
  return text;
}

template <typename Bytes>
std::string_view AsText(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The image every stored form is made of: the erased hole 0xFF, everything else 0x00, so
// each form shows its key bytes themselves.
firmware::ImageBytes ZeroImage() {
  firmware::ImageBytes image(firmware::kImageSize, 0x00);
  std::fill(image.begin() + firmware::kImageHoleBegin, image.begin() + firmware::kImageBodyBegin,
            0xFF);
  return image;
}

// Every text the user reads in one language, a line each, steps with their caption kind and
// Back state.
std::string UserTexts(TemplateLanguage language) {
  const int ui = language == TemplateLanguage::Japanese ? ui::kJapanese : ui::kEnglish;
  std::ostringstream texts;
  for (int step = -1; step <= 20; ++step) {
    if (const ui::StepEntry* entry = ui::FindStepEntry(step))
      texts << step << ' ' << int(entry->caption) << ' ' << entry->backEnabled << ' '
            << entry->info.In(ui) << '\n';
  }
  for (const ui::Texts& line : ui::PhaseLines())
    texts << line.In(ui) << '\n';
  for (int id :
       {ui::kTargetDriveLabel, ui::kSourceFileLabel, ui::kInformationLabel, ui::kProgressLabel,
        ui::kBackupCheckBox, ui::kCloseButton, ui::kNextStartButton, ui::kBackButton})
    texts << ui::FixedCaption(id).In(ui) << '\n';
  for (auto caption : {ui::NextCaption::Next, ui::NextCaption::Start})
    texts << ui::NextCaptionTexts(caption).In(ui) << '\n';
  texts << resources::TemplateFontName(language) << '\n';
  platform::PermissionRefusals nodes, commands, commandsOnly;
  nodes.refusedNodes = {"/dev/sg1", "/dev/sr0"};
  commands.refusedCommands = {{"/dev/sr0", "/dev/sg1"}};
  commandsOnly.refusedCommands = {{"/dev/sr1", ""}};
  for (const auto* refusals : {&nodes, &commands, &commandsOnly})
    texts << ui::PermissionNoticeText(*refusals, language) << '\n';
  for (bool mounted : {false, true})
    texts << ui::DriveInUseText({"/dev/sg1", mounted}, language) << '\n';
  // The file-error texts exist in Japanese only.
  if (language == TemplateLanguage::Japanese) {
    for (int cause = firmware::kNoError; cause <= firmware::kEndOfFile; ++cause)
      texts << firmware::FileErrorText(firmware::FileErrorCause(cause), "x.vrl") << '\n';
  }
  return texts.str();
}

// Converts the whole text or fails; iconv stops at the first character it cannot carry.
std::optional<std::string> Convert(const std::string& text, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input = text, output(text.size() * 4 + 4, '\0');
  char *in = input.data(), *out = output.data();
  std::size_t inLeft = input.size(), outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

// The keys' value is the one published with the product data: stored files from other
// builds read back only if every key byte is the same. The model records' value was taken
// from the product data's list (92 records of 16 characters): one wrong character hides a
// drive, or lists one that must not be flashed.
TEST(ProductData, EveryTableAndTextMatchesItsDigest) {
  std::string keys(AsText(firmware::AdditiveKey));
  for (const auto& table : firmware::BlockKey)
    keys += AsText(table);
  std::string models;
  for (const scsi::ModelRecord* record = scsi::ModelTable; record->productId[0]; ++record)
    models.append(record->productId, 16);
  std::ostringstream typeCodes, loaders;
  for (const firmware::TypeCodeRow* row = firmware::TypeCodeTable; row->code; ++row)
    typeCodes << row->family << ' ' << row->code << ' ' << row->codeOffset << ' ' << row->scrambled
              << '\n';
  for (const firmware::LoaderRow* row = firmware::LoaderTable; row->loaderId; ++row)
    loaders << row->loaderId << ' ' << row->family << ' ' << row->idBlockAddress << '\n';
  const std::string typeCodeRows = typeCodes.str(), loaderRows = loaders.str();
  const auto packed = firmware::PackImage(ZeroImage());
  ASSERT_TRUE(packed);
  firmware::ImageBytes additive = ZeroImage();
  std::uint32_t length = firmware::kImageSize;
  ASSERT_TRUE(firmware::ScrambleImage(additive, length, firmware::kAdditiveFamily,
                                      firmware::kAdditiveFamily));
  const std::string_view additiveForm = std::string_view(AsText(additive)).substr(0, length);
  const std::string english = UserTexts(TemplateLanguage::English);
  const std::string japanese = UserTexts(TemplateLanguage::Japanese);
  struct Table {
    const char* name;
    std::string_view bytes;
    const char* sha256;
  };
  // clang-format off
  const Table tables[] = {
      {"keys", keys, "d73961c9dd20c8ac21429ccdb09fa69b329128ef307c5e34f37aa0944df8ae41"},
      {"models", models, "2d050c2dbe9a662a00655ec276964a688636ebe8db0e7399e15f454975c6d984"},
      {"type codes", typeCodeRows, "53b58e1a84ba6651af2ca364be78f7f229840dac11d7f00caae1cbd18c9e7802"},
      {"loaders", loaderRows, "db6e632c420488252609e5b741b1f4be800eaf79a18888e36babdbb1436ed63f"},
      {"packed form", AsText(*packed), "3e4158eb18d479a4b64c6872dd828c1dc358a0a430a2ea3b530dabf5cdc0749e"},
      {"additive form", additiveForm, "41540aea2a2e59451ec14a3f38948a3e25023ee3d1465b99946e53eac26fc7c7"},
      {"English texts", english, "4d237a1fa4a3c071a5ab4fb9fe4a448c1fb2bc07983fc499c4854a64f0334869"},
      {"Japanese texts", japanese, "d30480baf871565508e19e6977ca6b6457e29720bc23b874e6960d9ec502639d"},
  };
  // clang-format on
  for (const Table& table : tables)
    EXPECT_EQ(Sha256(table.bytes), table.sha256) << table.name;

  // Every Japanese text must also be what a Japanese Windows shows: code page 932.
  const std::optional<std::string> shiftJis = Convert(japanese, "UTF-8", "CP932");
  ASSERT_TRUE(shiftJis.has_value());
  EXPECT_EQ(Convert(*shiftJis, "CP932", "UTF-8"), japanese);
}

}  // namespace
}  // namespace zentor
