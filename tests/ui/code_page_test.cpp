#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "firmware/file_error_text.h"
#include "resources/dialog_template.h"
#include "ui/control_ids.h"
#include "ui/message_catalogue.h"

namespace zentor::ui {
namespace {

// Converts the whole text or fails; iconv stops at the first character it cannot carry.
std::optional<std::string> Convert(const std::string& text, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input = text;
  std::string output(text.size() * 4 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

std::vector<std::string> EveryJapaneseText() {
  std::vector<std::string> texts;
  for (int step = -1; step <= 20; ++step) {
    if (const StepEntry* entry = FindStepEntry(step)) texts.emplace_back(entry->info.japanese);
  }
  for (const Texts& line : PhaseLines())
    texts.emplace_back(line.japanese);
  for (int id : {kTargetDriveLabel, kSourceFileLabel, kInformationLabel, kProgressLabel,
                 kBackupCheckBox, kCloseButton, kNextStartButton, kBackButton}) {
    texts.emplace_back(FixedCaption(id).japanese);
  }
  texts.emplace_back(NextCaptionTexts(NextCaption::Start).japanese);
  texts.emplace_back(resources::TemplateFontName(resources::TemplateLanguage::Japanese));
  for (int cause = firmware::kNoError; cause <= firmware::kEndOfFile; ++cause) {
    texts.push_back(firmware::FileErrorText(static_cast<firmware::FileErrorCause>(cause), "x"));
  }
  return texts;
}

TEST(CodePage932, EveryJapaneseTextSurvivesTheRoundTrip) {
  const std::vector<std::string> texts = EveryJapaneseText();
  ASSERT_EQ(texts.size(), 10u + 6u + 8u + 2u + 15u);
  for (const std::string& text : texts) {
    const std::optional<std::string> shiftJis = Convert(text, "UTF-8", "CP932");
    ASSERT_TRUE(shiftJis.has_value()) << text;
    EXPECT_EQ(Convert(*shiftJis, "CP932", "UTF-8"), text);
  }
}

TEST(CodePage932, TextsHaveTheirShiftJisBytes) {
  // Half-width katakana are single bytes in code page 932.
  EXPECT_EQ(Convert(firmware::FileErrorText(firmware::kNoError, ""), "UTF-8", "CP932"),
            "\xB4\xD7\xB0\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD"
            "\x81\x42");
  EXPECT_EQ(Convert(std::string(FixedCaption(kProgressLabel).japanese), "UTF-8", "CP932"),
            "\x90\x69\x8D\x73\x8F\xF3\x8B\xB5");
  EXPECT_EQ(Convert(std::string(NextCaptionTexts(NextCaption::Start).japanese), "UTF-8", "CP932"),
            "\x83\x58\x83\x5E\x81\x5B\x83\x67");
}

}  // namespace
}  // namespace zentor::ui
