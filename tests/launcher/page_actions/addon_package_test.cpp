// Unpacking and copying add-on packages with the real 7-Zip stand-in and the
// command interpreter's xcopy, and the texts the page gets.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "launcher/app/globals.h"
#include "launcher/app/program_folder.h"
#include "launcher/page_actions/addon_download.h"
#include "launcher/page_actions/addon_package.h"
#include "support/test_support.h"
#include "support/test_zip.h"
#include "utilities/path_helpers.h"
#include "utilities/win_handles.h"

namespace {

using testsupport::ReadFileBytes;

const char kRpf[] = "FiveM.app\\mods\\addon.rpf";
const std::string kRpfContent = "RPF7 add-on";

TEST(AddonPackage, UnpacksCopiesAndReportsEachFailure) {
    enum class Target { Elsewhere, ProgramFiveM, ProgramFiveMOtherCase, ElsewhereLocked };
    const struct {
        const char* name;
        bool goodArchive;
        Target target;
        AddonOutcome outcome;
    } table[] = {
        {"copied into a FiveM folder elsewhere", true, Target::Elsewhere, AddonOutcome::Installed},
        {"unpacked straight into place", true, Target::ProgramFiveM, AddonOutcome::Installed},
        {"same folder but for letter case: no copy onto itself", true, Target::ProgramFiveMOtherCase,
         AddonOutcome::Installed},
        {"damaged archive", false, Target::Elsewhere, AddonOutcome::UnpackFailed},
        {"a file of the FiveM folder in use", true, Target::ElsewhereLocked, AddonOutcome::CopyFailed},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        testsupport::TempFolder temp;
        const std::string program = temp.File("Program Folder"), game = temp.File("Game Folder");
        ASSERT_TRUE(EnsureDirectory(program) && EnsureDirectory(game + "\\FiveM.app\\mods"));
        OverrideProgramFolder(program);
        FiveMFolder = row.target == Target::ProgramFiveM            ? program + "\\FiveM"
                      : row.target == Target::ProgramFiveMOtherCase ? program + "\\fivem"
                                                                    : game;
        const std::string archive = program + "\\add-on package.zip";
        if (row.goodArchive)
            ASSERT_TRUE(testsupport::WriteZip(archive, {{"FiveM/FiveM.app/mods/addon.rpf", kRpfContent}}));
        else
            ASSERT_TRUE(testsupport::WriteFileBytes(archive, "PK\x03\x04 not really a zip"));
        UniqueHandle inUse;
        if (row.target == Target::ElsewhereLocked) {
            ASSERT_TRUE(testsupport::WriteFileBytes(game + "\\" + kRpf, "old"));
            inUse.Reset(CreateFileA((game + "\\" + kRpf).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(inUse.Valid());
        }

        EXPECT_EQ(UnpackAndCopyAddon("add-on package.zip"), row.outcome);
        inUse.Reset(nullptr);
        EXPECT_FALSE(FileExists(archive)) << "the archive goes whatever happened";
        if (row.outcome == AddonOutcome::Installed) {
            EXPECT_EQ(ReadFileBytes(FiveMFolder + "\\" + kRpf), kRpfContent);
            EXPECT_EQ(ReadFileBytes(program + "\\FiveM\\" + kRpf), kRpfContent) << "the unpacked copy stays";
        }
        if (row.outcome == AddonOutcome::UnpackFailed) {
            EXPECT_FALSE(FileExists(game + "\\" + kRpf));
        }
    }
    OverrideProgramFolder("");
}

TEST(AddonPackage, PageTextsEscapeTheFileNameAndNameTheFailure) {
    EXPECT_EQ(BuildAddonCopyCommandLine("D:\\Game Files"), "cmd /c xcopy FiveM\\* \"D:\\Game Files\\\" /e /y");
    // 安装成功 / 已成功安装此附加包, the page's callback with the name escaped.
    EXPECT_EQ(AddonLargeSuccessScript("it's.zip"),
              "Swal.update({title:'\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6', text:'\xD2\xD1\xB3\xC9\xB9\xA6\xB0\xB2\xD7\xB0"
              "\xB4\xCB\xB8\xBD\xBC\xD3\xB0\xFC', icon:'success'});Swal.hideLoading();"
              "installPackageCallback('it\\'s.zip', 'done');");
    for (AddonOutcome failure : {AddonOutcome::DownloadFailed, AddonOutcome::UnpackFailed, AddonOutcome::CopyFailed}) {
        const std::string script = AddonFailureScript(failure);
        EXPECT_EQ(script.rfind("Swal.update({title:'\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC', text:'", 0), 0u)
            << script;  // 安装失败
        EXPECT_NE(script.find("icon:'error'});Swal.hideLoading();"), std::string::npos) << script;
    }
    EXPECT_NE(AddonFailureScript(AddonOutcome::UnpackFailed), AddonFailureScript(AddonOutcome::CopyFailed));
    // 正在下载附加包
    EXPECT_EQ(AddonProgressLine(1572864, 20971520, 524288),
              "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xB8\xBD\xBC\xD3\xB0\xFC 1.50MB / 20.00MB (512.00KB/s)");
}

}  // namespace
