#include <errno.h>
#include <iconv.h>

#include "tools/jwhost/Encoding.h"

namespace JwHost {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv_open reports failure as (iconv_t)-1, not as a null pointer.
  bool Valid() const {
    return cd_ != reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr)
  }

  // Converts as much as it can. Stops at the first byte it cannot take and
  // returns how many input bytes it consumed.
  std::size_t Convert(std::string_view in, std::string& out) {
    std::string input(in); // iconv wants a mutable pointer
    char* src = input.data();
    std::size_t srcLeft = input.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, sizeof buffer - dstLeft);
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return input.size() - srcLeft;
  }

 private:
  iconv_t cd_;
};

} // namespace

bool Utf8ToCp932(std::string_view text, std::string& out) {
  out.clear();
  Converter conv("CP932", "UTF-8");
  if (!conv.Valid()) return false;
  return conv.Convert(text, out) == text.size();
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  Converter conv("UTF-8", "CP932");
  if (!conv.Valid()) return std::string(bytes);
  while (!bytes.empty()) {
    const std::size_t used = conv.Convert(bytes, out);
    bytes.remove_prefix(used);
    if (bytes.empty()) break;
    // One byte that does not start a valid character: show it as U+FFFD.
    out.append(Replacement);
    bytes.remove_prefix(1);
  }
  return out;
}

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(text); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.string(); }

} // namespace JwHost
