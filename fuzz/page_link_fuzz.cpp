// libFuzzer target for the web edition's links: a query of any bytes read
// over the first-start place and date. Besides the sanitizers' own checks
// it aborts when
//  - the answer is not UTF-8, or a problem line is more than one line;
//  - the boxes afterwards hold anything 計算実行 would refuse;
//  - the link the page then writes, opened afresh, is not that same link
//    (a cited link always opens the view it names).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/main_boxes.h"
#include "core/utf8.h"
#include "web/page_dialog.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolmeri;
    const std::string_view query(reinterpret_cast<const char*>(data), size);
    CPageDialog dialog;
    dialog.Open("");
    const std::string answer = dialog.OpenLink(query);
    Check(IsWellFormedUtf8(answer));
    // Every problem is one JSON string; a raw newline would end it.
    Check(answer.find('\n') == std::string::npos);

    // The boxes as the link left them pass every check of 計算実行.
    Check(dialog.Calculate().starts_with("{\"messages\": [], "));
    const std::string link = dialog.LinkQuery();
    CPageDialog again;
    again.Open("");
    const std::string reopened = again.OpenLink(link);
    Check(reopened.find("\"problems\": []") != std::string::npos);
    Check(again.LinkQuery() == link);
    Check(again.ViewJson() == dialog.ViewJson());
    return 0;
}
