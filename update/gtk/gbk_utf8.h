// GBK (code page 936) <-> UTF-8, for the GTK boundary only: the program keeps its texts in GBK.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Each byte or pair that is not GBK becomes U+FFFD, and the conversion goes on after it.
std::string GbkToUtf8(std::string_view gbk);

// Each character GBK cannot hold, and each byte that is not UTF-8, becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace orvane
