// The product's constant data, each table and every text the user reads pinned by one
// SHA-256. A digest here changes only on purpose, in the commit that changes its table.
#include <gtest/gtest.h>
#include <iconv.h>
#include <openssl/evp.h>

#include <cstdio>
#include <optional>
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

// Each table's rows as text lines, so a digest covers every field of every row.
struct Lines {
  std::string text;
  template <typename... Fields>
  void Add(const Fields&... fields) {
    ((text += Field(fields), text += '\t'), ...);
    text += '\n';
  }
  static std::string Field(std::string_view s) { return std::string(s); }
  static std::string Field(const char* s) { return s ? s : "(null)"; }
  static std::string Field(long long n) { return std::to_string(n); }
};

// The image every stored form is made of: the erased hole 0xFF, everything else 0x00, so
// each form shows its key bytes themselves.
firmware::ImageBytes ZeroImage() {
  firmware::ImageBytes image(firmware::kImageSize, 0x00);
  std::fill(image.begin() + firmware::kImageHoleBegin, image.begin() + firmware::kImageBodyBegin,
            0xFF);
  return image;
}

std::vector<std::string> UserTexts(TemplateLanguage language) {
  const int ui = language == TemplateLanguage::Japanese ? ui::kJapanese : ui::kEnglish;
  std::vector<std::string> texts;
  for (int step = -1; step <= 20; ++step) {
    if (const ui::StepEntry* entry = ui::FindStepEntry(step)) {
      texts.push_back(std::to_string(step) + ' ' + std::to_string(int(entry->caption)) + ' ' +
                      std::to_string(entry->backEnabled) + ' ' + std::string(entry->info.In(ui)));
    }
  }
  for (const ui::Texts& line : ui::PhaseLines())
    texts.emplace_back(line.In(ui));
  for (int id : {ui::kTargetDriveLabel, ui::kSourceFileLabel, ui::kInformationLabel,
                 ui::kProgressLabel, ui::kBackupCheckBox, ui::kCloseButton, ui::kNextStartButton,
                 ui::kBackButton})
    texts.emplace_back(ui::FixedCaption(id).In(ui));
  for (auto caption : {ui::NextCaption::Next, ui::NextCaption::Start})
    texts.emplace_back(ui::NextCaptionTexts(caption).In(ui));
  texts.emplace_back(resources::TemplateFontName(language));
  platform::PermissionRefusals nodes, commands, commandsOnly;
  nodes.refusedNodes = {"/dev/sg1", "/dev/sr0"};
  commands.refusedCommands = {{"/dev/sr0", "/dev/sg1"}};
  commandsOnly.refusedCommands = {{"/dev/sr1", ""}};
  for (const auto* refusals : {&nodes, &commands, &commandsOnly})
    texts.push_back(ui::PermissionNoticeText(*refusals, language));
  if (language == TemplateLanguage::Japanese) {
    for (int cause = firmware::kNoError; cause <= firmware::kEndOfFile; ++cause)
      texts.push_back(firmware::FileErrorText(firmware::FileErrorCause(cause), "x.vrl"));
  }
  return texts;
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
  Lines typeCodes, loaders;
  for (const firmware::TypeCodeRow* row = firmware::TypeCodeTable;; ++row) {
    typeCodes.Add(row->family, row->code, row->codeOffset, row->scrambled);
    if (row->family == firmware::kTerminatorFamily) break;
  }
  for (const firmware::LoaderRow* row = firmware::LoaderTable;; ++row) {
    loaders.Add(row->loaderId, row->family, row->idBlockAddress);
    if (row->family == firmware::kTerminatorFamily) break;
  }
  const auto packed = firmware::PackImage(ZeroImage());
  ASSERT_TRUE(packed);
  firmware::ImageBytes additive = ZeroImage();
  std::uint32_t length = firmware::kImageSize;
  ASSERT_TRUE(firmware::ScrambleImage(additive, length, firmware::kAdditiveFamily,
                                      firmware::kAdditiveFamily));
  Lines english, japanese;
  for (const std::string& text : UserTexts(TemplateLanguage::English))
    english.Add(text);
  for (const std::string& text : UserTexts(TemplateLanguage::Japanese))
    japanese.Add(text);

  struct Table {
    const char* name;
    std::string_view bytes;
    const char* sha256;
  };
  // clang-format off
  const Table tables[] = {
      {"keys", keys, "d73961c9dd20c8ac21429ccdb09fa69b329128ef307c5e34f37aa0944df8ae41"},
      {"models", models, "2d050c2dbe9a662a00655ec276964a688636ebe8db0e7399e15f454975c6d984"},
      {"type codes", typeCodes.text, "84fbc0965a6570adb6d1274b58820a2ef69cb3ce7936b9832148db305499ac18"},
      {"loaders", loaders.text, "d4b7d445bf5ccc6cfcb7db120bc10ac9f30febc02b4aeeb37e3e3e57f63c4686"},
      {"packed form", AsText(*packed), "3e4158eb18d479a4b64c6872dd828c1dc358a0a430a2ea3b530dabf5cdc0749e"},
      {"additive form", std::string_view(AsText(additive)).substr(0, length), "41540aea2a2e59451ec14a3f38948a3e25023ee3d1465b99946e53eac26fc7c7"},
      {"English texts", english.text, "93d9c816f1e7cc39005bdba856a0026a4b1c660c6b3c5b663a164b5a3b5030a9"},
      {"Japanese texts", japanese.text, "5d33f8031ec26c7408dacc3ceb9360f037588ab81a7b86c2ea26aea99727d049"},
  };
  // clang-format on
  for (const Table& table : tables)
    EXPECT_EQ(Sha256(table.bytes), table.sha256) << table.name;

  // Every Japanese text must also be what a Japanese Windows shows: code page 932.
  for (const std::string& text : UserTexts(TemplateLanguage::Japanese)) {
    const std::optional<std::string> shiftJis = Convert(text, "UTF-8", "CP932");
    ASSERT_TRUE(shiftJis.has_value()) << text;
    EXPECT_EQ(Convert(*shiftJis, "CP932", "UTF-8"), text);
  }
}

}  // namespace
}  // namespace zentor
