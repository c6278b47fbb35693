#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace veltrix::platform {
namespace {

// One converter per direction and thread; iconv_open is far too slow per call.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> convert(std::string_view in) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
        std::string out;
        out.resize(in.size() * 3 / 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t done = 0;
        while (true) {
            char* dst = out.data() + done;
            size_t dstLeft = out.size() - done;
            size_t rc = iconv(cd_, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1)) {
                if (srcLeft == 0) break;
                continue;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return std::nullopt;  // EILSEQ or EINVAL: invalid or truncated input
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
    thread_local Converter conv("UTF-8", "CP932");
    return conv.convert(bytes);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
    thread_local Converter conv("CP932", "UTF-8");
    return conv.convert(text);
}

}  // namespace veltrix::platform
