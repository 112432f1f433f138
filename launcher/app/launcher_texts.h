// Texts (GBK) that several parts of the launcher show alike.
#pragma once

// "错误"
inline constexpr char kErrorTitle[] = "\xB4\xED\xCE\xF3";
// "发生错误"
inline constexpr char kFailureTitle[] = "\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3";
// "正在加载中..."
inline constexpr char kLoadingLine[] = "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xD6\xD0...";
// "微软雅黑"
inline constexpr char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
// "微软雅黑 Light"
inline constexpr char kYaHeiLight[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA Light";
