#include "png_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "png_render.h"
#include "tolmeri_config.h"

namespace tolmeri {

namespace {

// The folder of the running executable, symbolic links resolved.
std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

} // namespace

std::string RenderChartPng(const HoursRequest& request) {
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
    if (!module)
        return "図を描く部品 " + std::string(kTolmeriPngModule) + " を読み込めません（" +
               (why.empty() ? candidates[0] + " にも " + candidates[1] + " にもありません" : why) +
               "）";
    auto render = reinterpret_cast<TolmeriRenderPng>(dlsym(module, kTolmeriRenderPngSymbol));
    if (!render)
        return "図を描く部品 " + std::string(kTolmeriPngModule) + " が壊れています";

    const PresetFields& p = request.place;
    TolmeriPngRequest r{};
    r.structSize = sizeof r;
    r.path = request.pngPath.c_str();
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
    char message[1024] = "";
    // The module stays loaded: Qt's clean-up at exit still refers to it.
    if (render(&r, message, sizeof message) != 0)
        return message[0] ? message : "図を書けませんでした";
    return {};
}

} // namespace tolmeri
