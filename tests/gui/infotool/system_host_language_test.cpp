// The dealer tool's questions name their buttons ("是" clears, "否" keeps): in Chinese the
// standard buttons must read the same, not "Yes" and "No".

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>

#include "core/edit/infotool_rules.h"
#include "gui/infotool/system_host.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::infotool {
namespace {

TEST(InfoToolLanguage, AChineseToolShowsQtsStandardButtonsInChinese)
{
    QTranslator probe;
    if (!probe.load(QStringLiteral("qtbase_zh_CN"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        GTEST_SKIP() << "Qt's Chinese translations are not installed";
    QTemporaryDir dir;
    SystemHost system(std::filesystem::path(dir.path().toStdString()) / "mysetup.ini");
    gui::ScriptedPromptService prompt;

    (void)system.host(prompt, kChinese);
    const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
    (void)system.host(prompt, kEnglish);
    EXPECT_TRUE(yes.startsWith(QStringLiteral("是"))) << yes.toStdString();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
}

}  // namespace
}  // namespace zt::infotool
