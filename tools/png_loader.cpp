#include "tools/png_loader.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/utf8.h"
#include "process/process.h"
#include "report/hours_text.h"
#include "settings/profile.h"
#include "tolmeri_config.h"
#include "tools/png_render.h"

namespace tolmeri {

namespace {

// The folder of the running executable, byte for byte.
std::string ExecutableFolder() {
    const std::string exe = ExecutablePath();
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

// Whether the opened file can be mapped as this machine's shared library
// without reading past its end: a copy cut short would be mapped all the
// same and kill the tool with SIGBUS at the first touch of a missing page.
// Only what the loader maps is checked: the ELF header, the program headers
// and the segments they load, and the section headers at the file's end.
bool IsWholeSharedLibrary(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    ElfW(Ehdr) header{};
    if (size < sizeof header || ::pread(fd, &header, sizeof header, 0) != sizeof header)
        return false;
    const bool ours = std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
                      header.e_ident[EI_CLASS] == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) &&
                      header.e_type == ET_DYN && header.e_phentsize == sizeof(ElfW(Phdr));
    const auto within = [size](std::uint64_t offset, std::uint64_t length) {
        return offset <= size && length <= size - offset;
    };
    if (!ours || !within(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr))) ||
        !within(header.e_shoff, std::uint64_t{header.e_shnum} * header.e_shentsize))
        return false;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment{};
        const auto at = static_cast<off_t>(header.e_phoff + i * sizeof segment);
        if (::pread(fd, &segment, sizeof segment, at) != sizeof segment)
            return false;
        if (segment.p_type == PT_LOAD && !within(segment.p_offset, segment.p_filesz))
            return false;
    }
    return true;
}

// The module from beside the tool, or from the installed program's folder.
Result<TolmeriRenderPicture> LoadRenderer() {
    const std::string folder = ExecutableFolder();
    const std::string candidates[] = {
        folder + "/" + kTolmeriPngModule,
        folder + "/" TOLMERI_PKGLIBDIR_FROM_BINDIR "/" + kTolmeriPngModule,
    };
    void* module = nullptr;
    std::string why;
    for (const std::string& path : candidates) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (!IsWholeSharedLibrary(fd)) {
            ::close(fd);
            return Fail(
                "図を描く部品 " + QuotedForMessage(path) +
                " が壊れています（途中で切れているか、この計算機の共有ライブラリではありません）");
        }
        // The very file checked is the one loaded, whatever takes its name.
        const std::string opened = "/proc/self/fd/" + std::to_string(fd);
        module = dlopen(opened.c_str(), RTLD_NOW | RTLD_LOCAL);
        ::close(fd);
        if (module)
            break;
        const char* e = dlerror();
        why = e ? e : path;
    }
    if (!module)
        return Fail("図を描く部品 " + std::string(kTolmeriPngModule) + " を読み込めません（" +
                    EscapedForMessage(why.empty() ? candidates[0] + " にも " + candidates[1] +
                                                        " にもありません"
                                                  : why) +
                    "）");
    // The module stays loaded: Qt's clean-up at exit still refers to it.
    auto render =
        reinterpret_cast<TolmeriRenderPicture>(dlsym(module, kTolmeriRenderPictureSymbol));
    if (!render)
        return Fail("図を描く部品 " + std::string(kTolmeriPngModule) + " が壊れています");
    return render;
}

// The picture's bytes.
Result<std::string> RenderPicture(const HoursRequest& request) {
    const Result<TolmeriRenderPicture> render = LoadRenderer();
    if (!render)
        return render.Error();
    const Place& p = request.place;
    TolmeriPictureRequest r{};
    r.structSize = sizeof r;
    r.kind = request.action != HoursAction::kYearChart      ? kTolmeriDayChartPng
             : request.pictureFormat == PictureFormat::kSvg ? kTolmeriYearChartSvg
                                                            : kTolmeriYearChartPng;
    r.width = request.pictureWidth;
    r.height = request.pictureHeight;
    r.name = p.name.c_str();
    r.latDeg = p.latDeg;
    r.latMin = p.latMin;
    r.lonDeg = p.lonDeg;
    r.lonMin = p.lonMin;
    r.timeDiff = p.timeDiff;
    r.year = request.days.first.year;
    r.month = request.days.first.month;
    r.day = request.days.first.day;
    r.dayCount = request.days.dayCount;
    r.dawn = static_cast<int>(request.options.dawn);
    r.steps = static_cast<int>(request.options.steps);
    r.sun = static_cast<int>(request.options.sun);
    r.moon = request.pictureMoon ? 1 : 0;
    r.accept = [](void* context, const char* data, std::size_t size) {
        static_cast<std::string*>(context)->assign(data, size);
    };
    std::string picture;
    r.context = &picture;
    char text[1024] = "";
    if ((*render)(&r, text, sizeof text) != 0)
        return Fail(text[0] ? EscapedForMessage(text) : "図を描けませんでした");
    return picture;
}

// What a destination is besides a file name: one of the standard streams
// (the same file as its descriptor: /dev/stdout, /dev/fd/1,
// /proc/self/fd/1, a link to one of them, or the very file the shell sent
// standard output to), or another descriptor's name, whose file the shell
// may have opened for appending.
enum class Stream { kNone, kOutput, kError, kInput, kDescriptor };

Stream StreamNamed(const std::string& path) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) {
        constexpr std::pair<int, Stream> kStreams[] = {{STDOUT_FILENO, Stream::kOutput},
                                                       {STDERR_FILENO, Stream::kError},
                                                       {STDIN_FILENO, Stream::kInput}};
        for (const auto& [fd, stream] : kStreams) {
            struct stat open {};
            if (::fstat(fd, &open) == 0 && open.st_dev == target.st_dev &&
                open.st_ino == target.st_ino)
                return stream;
        }
    }
    // /dev/fd/N, /proc/self/fd/N: a name in a folder of descriptors, which
    // the kernel calls /proc/<pid>/fd or /proc/<pid>/task/<tid>/fd.
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return Stream::kNone;
    char* folder = ::realpath(slash == 0 ? "/" : path.substr(0, slash).c_str(), nullptr);
    if (!folder)
        return Stream::kNone;
    std::string_view f = folder;
    bool descriptors = false;
    const auto number = [&f]() {
        const std::size_t digits = f.find_first_not_of("0123456789");
        if (digits == 0)
            return false;
        f.remove_prefix(digits == std::string_view::npos ? f.size() : digits);
        return true;
    };
    if (f.starts_with("/proc/")) {
        f.remove_prefix(6);
        if (number()) {
            if (f.starts_with("/task/")) {
                f.remove_prefix(6);
                descriptors = number() && f == "/fd";
            } else {
                descriptors = f == "/fd";
            }
        }
    }
    std::free(folder);
    return descriptors ? Stream::kDescriptor : Stream::kNone;
}

// The picture on standard output, written whole; never onto a terminal,
// where its bytes would only garble the screen.
Status PutPictureOnStandardOutput(const PictureDrawing& draw) {
    if (isatty(STDOUT_FILENO))
        return Refuse("図を端末には出しません（標準出力をパイプかファイルにつないでください。例 "
                      "> chart.png）");
    const Result<std::string> picture = draw();
    if (!picture)
        return picture.Error();
    for (std::size_t done = 0; done < picture->size();) {
        const ssize_t n = write(STDOUT_FILENO, picture->data() + done, picture->size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail("図を標準出力に書けません（" +
                        StandardOutputErrorText(n < 0 ? errno : EIO) + "）");
        done += static_cast<std::size_t>(n);
    }
    return {};
}

} // namespace

std::string StandardOutputErrorText(int error) {
    return error == EBADF ? "標準出力が閉じています" : profile::SystemErrorText(error);
}

Status PutPicture(const std::string& destination, const PictureDrawing& draw) {
    const std::string target = "図 " + QuotedForMessage(destination);
    // A stream's name is written as "-" is: replacing the file behind it
    // would drop what an appending shell kept there, and a pipe has none.
    const auto notOutput = [&target](std::string_view what) {
        return Refuse(target + " は" + std::string(what) +
                      "なので書きません（図を標準出力に出すには - を指定してください）");
    };
    switch (destination == kStandardOutputName ? Stream::kOutput : StreamNamed(destination)) {
    case Stream::kOutput:
        return PutPictureOnStandardOutput(draw);
    case Stream::kError:
        return notOutput("標準エラー出力");
    case Stream::kInput:
        return notOutput("標準入力");
    case Stream::kDescriptor:
        return notOutput("開いたファイル記述子の名前");
    case Stream::kNone:
        break;
    }
    // A link is followed only where the kernel would follow it for us, and
    // only to a file that is there: nothing is made where a link points.
    const Result<profile::WriteTarget> resolved =
        profile::ResolveWriteTarget(destination, profile::LinkRule::kFollow);
    if (!resolved && resolved.Kind() == FailureKind::kRefused)
        return Refuse(target +
                      " は誰でも書けるフォルダにある他のユーザーのリンクなので、"
                      "たどって書きません（自分のフォルダのファイル名を指定してください）");
    if (resolved && resolved->throughLink && !resolved->exists)
        return Refuse(target + " は行き先のないリンクなので書きません（リンク先 " +
                      QuotedForMessage(resolved->path) + " はありません）");
    // The drawing's own failure is told as it is; the file's with its name.
    bool drawn = true;
    const Status written = profile::ReplaceFile(
        destination,
        [&]() {
            Result<std::string> picture = draw();
            drawn = picture.Ok();
            return picture;
        },
        profile::LinkRule::kFollowExisting);
    if (written || !drawn)
        return written;
    if (written.Kind() == FailureKind::kRefused)
        return Refuse(target + " はふつうのファイルではないので書きません（新しいファイルか、"
                               "いまあるファイルの名前を指定してください）");
    return Fail(target + " を書けません（" + EscapedForMessage(written.Message()) + "）");
}

Status WritePicture(const HoursRequest& request) {
    return PutPicture(request.picturePath, [&request]() { return RenderPicture(request); });
}

} // namespace tolmeri
