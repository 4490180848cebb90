// The Japanese interface is compiled in, chosen by the language, and covers every command.

#include <gtest/gtest.h>

#include <QLocale>
#include <QTranslator>

#include <functional>

#include "ui/CommandTable.h"

namespace lumivox::test {
namespace {

TEST(Translation, JapaneseCoversEveryMenuTextAndOtherLanguagesStayEnglish) {
  QTranslator japanese;
  ASSERT_TRUE(japanese.load(QLocale(QLocale::Japanese, QLocale::Japan), "lumivox", "_", ":/i18n"));
  EXPECT_EQ(japanese.translate("lumivox::CommandTable", "&File"), QString::fromUtf8("ファイル(&F)"));
  const auto translated = [&japanese](std::string_view text) {
    return text.empty() || !japanese.translate("lumivox::CommandTable", std::string(text).c_str()).isEmpty();
  };
  for (const CommandInfo& command : CommandTable()) {
    EXPECT_TRUE(translated(command.text) && translated(command.prompt) && translated(command.toolTip)) << command.id;
  }
  const std::function<void(const MenuItem&)> walk = [&](const MenuItem& item) {
    EXPECT_TRUE(translated(item.text)) << item.text;
    for (const MenuItem& entry : item.popup) walk(entry);
  };
  for (const MenuItem& popup : MainMenu()) walk(popup);
  walk(MenuItem{0, {}, ContextMenu("TrayIcon")->popup});

  for (const auto language : {QLocale::English, QLocale::German}) {
    QTranslator other;
    EXPECT_FALSE(other.load(QLocale(language), "lumivox", "_", ":/i18n")) << language;
  }
}

}  // namespace
}  // namespace lumivox::test
