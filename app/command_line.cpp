#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "settings/profile.h"
#include "tolmeri_config.h"

namespace tolmeri {

namespace {

constexpr const char* kUsage = R"(使い方: tolmeri [-h | --help | --version]

刻しらべ: 日付と場所から不定時法の刻（明六つ・暮六つを境に、昼と夜をそれぞれ
六つに分けた時刻）を計算し、図に描くウィンドウを開きます。場所と日付は
ウィンドウで入力し、「保存終了」で設定ファイルに残します。ほかの引数は使いません。

  -h, --help  この説明を表示して終わります。
  --version   版を表示して終わります。

同じ計算をコマンドラインで行うには tolmeri-hours を使います（tolmeri-hours --help）。
)";

} // namespace

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
