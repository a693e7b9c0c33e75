// Conversions between the UTF-8 of the description files and the Shift-JIS
// (code page 932) of every file the host and the tool exchange.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace JwHost {

// False when text is not valid UTF-8 or holds a character that code page
// 932 cannot represent; out is then unspecified.
bool Utf8ToCp932(std::string_view text, std::string& out);
// Bytes that are not valid Shift-JIS become U+FFFD, so that whatever the
// tool wrote can still be shown.
std::string Cp932ToUtf8(std::string_view bytes);

// Paths travel as UTF-8 inside the program; std::filesystem would read a
// narrow string in the ANSI code page on Windows.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

} // namespace JwHost
