#include "png_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include "png_render.h"
#include "profile.h"
#include "settings.h"
#include "tolmeri_config.h"

namespace tolmeri {

namespace {

// The folder of the running executable, byte for byte.
std::string ExecutableFolder() {
    const std::string exe = ExecutablePath();
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

// The picture's bytes into png; false with why in message.
bool RenderPng(const HoursRequest& request, std::string& png, std::string& message) {
    const std::string folder = ExecutableFolder();
    const std::string candidates[] = {
        folder + "/" + kTolmeriPngModule,
        folder + "/" TOLMERI_PKGLIBDIR_FROM_BINDIR "/" + kTolmeriPngModule,
    };
    void* module = nullptr;
    std::string why;
    for (const std::string& path : candidates) {
        if (access(path.c_str(), F_OK) != 0)
            continue;
        module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module)
            break;
        const char* e = dlerror();
        why = e ? e : path;
    }
    if (!module) {
        message =
            "図を描く部品 " + std::string(kTolmeriPngModule) + " を読み込めません（" +
            EscapedForMessage(
                why.empty() ? candidates[0] + " にも " + candidates[1] + " にもありません" : why) +
            "）";
        return false;
    }
    auto render = reinterpret_cast<TolmeriRenderPng>(dlsym(module, kTolmeriRenderPngSymbol));
    if (!render) {
        message = "図を描く部品 " + std::string(kTolmeriPngModule) + " が壊れています";
        return false;
    }

    const PresetFields& p = request.place;
    TolmeriPngRequest r{};
    r.structSize = sizeof r;
    r.width = request.pngWidth;
    r.height = request.pngHeight;
    r.name = p.name.c_str();
    r.latDeg = p.latDeg;
    r.latMin = p.latMin;
    r.lonDeg = p.lonDeg;
    r.lonMin = p.lonMin;
    r.timeDiff = p.timeDiff;
    r.year = request.first.year;
    r.month = request.first.month;
    r.day = request.first.day;
    r.accept = [](void* context, const char* data, std::size_t size) {
        static_cast<std::string*>(context)->assign(data, size);
    };
    r.context = &png;
    char text[1024] = "";
    // The module stays loaded: Qt's clean-up at exit still refers to it.
    if (render(&r, text, sizeof text) != 0) {
        message = text[0] ? EscapedForMessage(text) : "図を描けませんでした";
        return false;
    }
    return true;
}

} // namespace

int WriteChartPng(const HoursRequest& request, std::string& message) {
    std::string drawFailure;
    std::string error;
    const profile::ReplaceStatus status = profile::ReplaceFile(
        request.pngPath,
        [&](std::string& png, std::string&) { return RenderPng(request, png, drawFailure); },
        error);
    const std::string target = "図 " + QuotedForMessage(request.pngPath);
    switch (status) {
    case profile::ReplaceStatus::kReplaced:
        return 0;
    case profile::ReplaceStatus::kRefused:
        message = target + " はふつうのファイルではないので書きません（新しいファイルか、"
                           "いまあるファイルの名前を指定してください）";
        return 2;
    case profile::ReplaceStatus::kFailed:
        break;
    }
    message = drawFailure.empty() ? target + " を書けません（" + EscapedForMessage(error) + "）"
                                  : drawFailure;
    return 1;
}

} // namespace tolmeri
