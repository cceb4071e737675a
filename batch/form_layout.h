// The main window's form, shared by every window that implements WindowPort:
// places in client pixels at 96 DPI and captions at creation, which differ
// from the language tables on purpose (the first switch replaces them before
// the window is shown). Kinds, creation order and fonts are each window's own.
#pragma once

#include <array>
#include <string_view>

#include "batch/language_tables.h"

namespace imgcrypt::form {

struct Rect {
    int left, top, width, height;
};

struct Control {
    std::string_view name;
    Rect rect;
    std::string_view caption;  // UTF-8
};

// A radio group with two items side by side; item 0 is checked at creation.
struct RadioGroup : Control {
    std::array<std::string_view, 2> items;
};

inline constexpr Control WebBrowser1{"WebBrowser1", {8, 5, 500, 140}, ""};
inline constexpr RadioGroup rgsuffix{
    {"rgsuffix", {8, 152, 500, 41}, "加密文件后缀名"},
    {"不变，如 abc.JPG 加密为 abc.JPG", "加 'E'，如 abc.JPG 加密为 abc.JPGE"}};
inline constexpr RadioGroup gbencClass{
    {"gbencClass", {8, 200, 500, 41}, "压缩级别"},
    {"标准加密（16位加密，迅捷加密）", "高级加密（256位加密，比较费时）"}};
inline constexpr Control lbopen{"lbopen", {8, 252, 73, 13}, "打开文件夹"};
inline constexpr Control edtdir{"edtdir", {80, 248, 353, 21}, ""};
inline constexpr Control btnopen{"btnopen", {447, 248, 60, 25}, "打开"};
inline constexpr Control lbpassword{"lbpassword", {8, 284, 73, 13}, "Password"};
inline constexpr Control edtEnpass{"edtEnpass", {80, 280, 81, 21}, ""};
inline constexpr Control lbpassnote{
    "lbpassnote", {168, 285, 217, 17}, "最多10位，支持空格以外所有字符"};
inline constexpr Control btnenc{"btnenc", {387, 280, 60, 25}, "加密"};
inline constexpr Control btndec{"btndec", {447, 280, 60, 25}, "解密"};
inline constexpr Control ProgressBar1{"ProgressBar1", {8, 320, 361, 17}, ""};
inline constexpr Control lbprogress{"lbprogress", {376, 322, 73, 13}, ""};
inline constexpr Control btncancel{"btncancel", {448, 317, 60, 25}, "Cancel"};

// The outer size at creation; start-up then sets the rest height.
inline constexpr int kCreationOuterWidth = 526;
inline constexpr int kCreationOuterHeight = 404;

// The menu's captions at creation; "-" is a separator line.
namespace menu {
inline constexpr std::string_view N1 = "文件";
inline constexpr std::string_view N2 = "打开";
inline constexpr std::string_view N4 = "-";
inline constexpr std::string_view N5 = "退出";
inline constexpr std::string_view N6 = "帮助";
inline constexpr std::string_view N7 = "说明";
inline constexpr std::string_view N8 = "在线帮助";
inline constexpr std::string_view N11 = "关于";
inline constexpr std::string_view nabout = "关于";
inline constexpr std::string_view mdonate = "捐助";
inline constexpr std::string_view ndonate = "捐助";
inline constexpr std::string_view mch = kChineseCommandCaption;
inline constexpr std::string_view men = kEnglishCommandCaption;
}  // namespace menu

}  // namespace imgcrypt::form
