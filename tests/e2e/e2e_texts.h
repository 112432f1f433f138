// The launcher's own texts that the scenarios look for (GBK).
#pragma once

namespace e2e {

constexpr char kUpdaterTitle[] = "Quillmere FiveM";
// "Quillmere FiveM 选择客户端类型"
constexpr char kDialogTitle[] = "Quillmere FiveM \xD1\xA1\xD4\xF1\xBF\xCD\xBB\xA7\xB6\xCB\xC0\xE0\xD0\xCD";
// "选择 FiveM 目录"
constexpr char kFolderDialogTitle[] = "\xD1\xA1\xD4\xF1 FiveM \xC4\xBF\xC2\xBC";
// "未找到文件"
constexpr char kNotFoundTitle[] = "\xCE\xB4\xD5\xD2\xB5\xBD\xCE\xC4\xBC\xFE";
// "发生错误"
constexpr char kFailureTitle[] = "\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3";
// "错误"
constexpr char kErrorTitle[] = "\xB4\xED\xCE\xF3";
// "解压文件错误"
constexpr char kUnpackErrorTitle[] = "\xBD\xE2\xD1\xB9\xCE\xC4\xBC\xFE\xB4\xED\xCE\xF3";
// "下载失败"
constexpr char kFailedLine[] = "\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC";
// The flow's status lines.
// "正在检测更新..."
constexpr char kCheckingLine[] = "\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xB8\xFC\xD0\xC2...";
// "发现新版本，正在更新..."
constexpr char kUpdatingLine[] = "\xB7\xA2\xCF\xD6\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xAC\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2...";
// "正在获取信息..."
constexpr char kFetchingInfoLine[] = "\xD5\xFD\xD4\xDA\xBB\xF1\xC8\xA1\xD0\xC5\xCF\xA2...";
// "正在下载文件 ", followed by the bytes done and the total
constexpr char kDownloadingLine[] = "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8\xCE\xC4\xBC\xFE ";
// "正在加载中..."
constexpr char kLoadingLine[] = "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xD6\xD0...";
// "版本更新检查失败"
constexpr char kCheckFailedLine[] = "\xB0\xE6\xB1\xBE\xB8\xFC\xD0\xC2\xBC\xEC\xB2\xE9\xCA\xA7\xB0\xDC";
// "无法获取最新的启动器版本号，请尝试在浏览器访问 ", then the API host
constexpr char kCheckFailedStart[] =
    "\xCE\xDE\xB7\xA8\xBB\xF1\xC8\xA1\xD7\xEE\xD0\xC2\xB5\xC4\xC6\xF4\xB6\xAF\xC6\xF7\xB0\xE6\xB1\xBE\xBA\xC5\xA3\xAC"
    "\xC7\xEB\xB3\xA2\xCA\xD4\xD4\xDA\xE4\xAF\xC0\xC0\xC6\xF7\xB7\xC3\xCE\xCA ";
// "无法下载 "
constexpr char kFailureTextStart[] = "\xCE\xDE\xB7\xA8\xCF\xC2\xD4\xD8 ";
// "退出软件"
constexpr char kQuitCaption[] = "\xCD\xCB\xB3\xF6\xC8\xED\xBC\xFE";
// "暂停下载": the pause button, shown once a download has started
constexpr char kPauseCaption[] = "\xD4\xDD\xCD\xA3\xCF\xC2\xD4\xD8";
// "开始下载": the same button while the download is paused
constexpr char kResumeCaption[] = "\xBF\xAA\xCA\xBC\xCF\xC2\xD4\xD8";

// The launcher page's path as the main window asks for it.
constexpr char kPagePath[] = "/fivem/launcher/?version=1014";

// The package-choice dialog's units that a user clicks, where its layout
// puts them in the client area (the dialog's own test checks that they are
// there); a click goes to the centre.
struct UnitRect {
    int left, top, width, height;
    constexpr int CentreX() const { return left + width / 2; }
    constexpr int CentreY() const { return top + height / 2; }
};
constexpr UnitRect kFullClientOption{9, 81, 142, 102};    // 按钮2, choice 2
constexpr UnitRect kUpdateOnlyOption{161, 81, 142, 102};  // 按钮3, choice 3
constexpr UnitRect kCustomOption{313, 81, 142, 102};      // 按钮5, choice 4
constexpr UnitRect kDefaultServer{16, 352, 16, 24};       // 单选框1
constexpr UnitRect kBackupServer{224, 352, 16, 24};       // 单选框2
constexpr UnitRect kConfirm{9, 393, 446, 46};             // 按钮4
constexpr UnitRect kCloseCross{415, 1, 48, 23};           // 按钮6 "×"

}  // namespace e2e
