#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <span>
#include <string_view>

#include "settings/profile.h"
#include "tolmeri_config.h"

namespace tolmeri {

namespace {

constexpr const char* kUsage = R"(使い方: tolmeri [-h | --help | --version]

刻しらべ: 日付と場所から不定時法の刻（明六つ・暮六つを境に、昼と夜をそれぞれ
六つに分けた時刻）を計算し、図に描くウィンドウを開きます。場所と日付は
ウィンドウで入力し、「保存終了」で設定ファイルに残します。ほかの引数は使いません
（Qt のオプション -style、-geometry なども使えます）。

  -h, --help  この説明を表示して終わります。
  --version   版を表示して終わります。

同じ計算をコマンドラインで行うには tolmeri-hours を使います（tolmeri-hours --help）。
)";

// The options QGuiApplication and QApplication take from the command line,
// with one dash or two: those followed by a value, and those alone.
constexpr std::string_view kQtValueOptions[] = {"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "qwindowgeometry", "geometry",
                                                "qwindowicon",     "icon",
                                                "qwindowtitle",    "title",
                                                "display",         "name",
                                                "session",         "style",
                                                "stylesheet",      "qmljsdebugger"};
constexpr std::string_view kQtFlagOptions[] = {"reverse", "widgetcount", "nograb",
                                               "dograb",  "sync",        "testability"};

bool Contains(std::span<const std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::optional<std::string> ArgumentError(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--version")
            continue;
        std::string_view name = arg;
        if (name.size() > 1 && name[0] == '-')
            name.remove_prefix(name.size() > 2 && name[1] == '-' ? 2 : 1);
        else
            name = {};
        const std::size_t equals = name.find('=');
        const std::string_view bare = name.substr(0, equals);
        if (Contains(kQtFlagOptions, name))
            continue;
        if (Contains(kQtValueOptions, bare)) {
            if (equals == std::string_view::npos)
                ++i; // its value
            continue;
        }
        // A bad argument is quoted short, whatever it holds.
        std::string shown(arg.substr(0, 64));
        for (char& c : shown)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                c = '?';
        return "tolmeri: 引数 \"" + shown + "\" は使えません（使い方は tolmeri --help）\n";
    }
    return std::nullopt;
}

std::optional<std::string> InfoRequestText(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return std::string(kUsage);
        if (arg == "--version")
            return std::string("tolmeri " TOLMERI_VERSION "\n");
    }
    return std::nullopt;
}

int PrintInfo(const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (!written || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tolmeri: 出力を書けませんでした: %s\n",
                     tolmeri::profile::SystemErrorText(errno).c_str());
        return 1;
    }
    return 0;
}

} // namespace tolmeri
